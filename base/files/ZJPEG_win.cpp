// The JPEG lister's file side: the source is mapped for its split, lists are written through TSFile.
#include "base/files/FLBase.h"
#include "base/files/MMBase.h"
#include "base/files/ZJPEG.h"

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
    for (int i = 0; list != nullptr && i < list->Count(); ++i) {
        const auto *item = static_cast<const TZJPEGItem *>(list->Items(i));
        const AnsiString line = Description(item->kind);
        if (file.WriteLine(line) != line.size() + 2)
            return false;
    }
    return true;
}

int TZJPEG::DumpToText(const AnsiString &sourceName, const AnsiString &textName)
{
    if (SplitFile(sourceName) != 0)
        return 1;
    TSFile text;
    if (!text.Open(textName, TFLBase::fmWriteReplace))
        return 2;
    const bool written = DumpList(text, list_) && !text.HasError();
    text.Close();
    return written ? 0 : 2;
}
