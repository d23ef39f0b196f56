// The JPEG lister's file side: the source is mapped for its split, its segments are written through
// TSFile, and its text list replaces the text file in one step.
#include "base/files/FLBase.h"
#include "base/files/FileErrorReport.h"
#include "base/files/MMBase.h"
#include "base/files/ZJPEG.h"
#include "framework/runtime/ReplacingFileStream.h"
#include "framework/runtime/SysUtils.h"

int TZJPEG::SplitFile(const AnsiString &name)
{
    TMM_Base file;
    if (file.Open(name.c_str(), static_cast<int>(name.size())) != 0 || file.View() == nullptr) {
        Clear();
        sourceSize_ = 0;
        return 1;
    }
    return Split(static_cast<const std::uint8_t *>(file.View()), static_cast<std::size_t>(file.Size()));
}

std::uint32_t TZJPEG::WriteSegment(TSFile &file, const TZJPEGItem &item, std::span<const std::uint8_t> source)
{
    std::vector<std::uint8_t> bytes;
    if (AppendSegment(bytes, item, source) == 0)
        return 0;
    return file.TFLBase::Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

bool TZJPEG::DumpList(TSFile &file, const TList *list)
{
    const AnsiString text = DumpText(list);
    return text.empty() || file.Write(text) == text.size();
}

int TZJPEG::DumpToText(const AnsiString &sourceName, const AnsiString &textName)
{
    if (SplitFile(sourceName) != 0)
        return 1;
    // The text goes to a file beside the text file first: neither may be the picture.
    if (SameFile(sourceName, textName) || SameFile(sourceName, TReplacingFileStream::TemporaryName(textName)))
        return 2;
    const AnsiString text = DumpText(list_);
    if (const unsigned long error = SaveFileReplacing(textName, text.data(), text.size())) {
        ShowFileError(0, error, textName);
        return 2;
    }
    return 0;
}
