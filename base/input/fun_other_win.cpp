// The utilities that meet files.
#include "base/aliases/dPath.h"
#include "base/input/fun_other.h"
#include "base/messages/zmsg.h"
#include "framework/runtime/Kernel.h"
#include "framework/runtime/RawFile.h"

int CheckFileNameChars(const AnsiString &path, const AnsiString &root, int start)
{
    static const AnsiString forbidden = "_.?#\\,:;~@$%^&*=+{}[]<>/\"";
    if (start < 0)
        start = 0;
    if (static_cast<size_t>(start) >= forbidden.size())
        return 0;  // nothing left to check against
    const AnsiString folder = IncludeTrailingBackslash(root.empty() ? GetCurrentDir() : root);
    AnsiString name = path;
    if (name.size() >= folder.size() && AnsiSameText(name.substr(0, folder.size()), folder))
        name.erase(0, folder.size());
    name.resize(name.size() - ExtractFileExt(name).size());
    for (char c : name) {
        if (forbidden.find(c, static_cast<size_t>(start)) != AnsiString::npos) {
            ShowMessageNo(name + "|" + AnsiString(1, c), 714);
            return 1;
        }
    }
    return 0;
}

AnsiString UniqueFileName(const AnsiString &name, const AnsiString &extension)
{
    AnsiString candidate = name + "." + extension;
    for (int i = 1; i < INT32_MAX && (FileExists(candidate) || DirectoryExists(candidate)); ++i)
        candidate = name + "_" + IntToStr(i) + "." + extension;
    return candidate;
}

AnsiString MakeLogFileName(const AnsiString &name, const AnsiString &suffix, bool numbered)
{
    AnsiString file = ExtractFileName(ResolveAliasPath(name));
    const AnsiString extension = ExtractFileExt(file);
    if (!extension.empty())
        file[file.find(extension)] = '_';
    // Already a full path: resolving it again would take a "#" in the folder for an alias.
    AnsiString result = AliasFolder("LOG") + file;
    if (!suffix.empty())
        result += "_" + suffix;
    return numbered ? UniqueFileName(result, "Log") : result + ".txt";
}

AnsiString ExeBuildDateText(const AnsiString &fileName)
{
    const AnsiString name = fileName.empty() ? GetModuleFileName() : fileName;
    const AnsiString head = "ЦМТ Ворнеж\n\n";
    std::uint32_t stamp = 0;
    bool read = false;
    RawFileHandle file = RawFileOpen(name, RawFileAccess::Read, RawFileCreation::OpenExisting, false);
    if (file != InvalidRawFile) {
        read = ReadPeTimeStamp(
            [file](std::uint32_t offset, std::uint8_t *buffer, std::uint32_t n) {
                std::uint64_t position;
                std::uint32_t done;
                return RawFileSeek(file, offset, 0, position) && RawFileRead(file, buffer, n, done) && done == n;
            },
            stamp);
        RawFileClose(file);
    }
    if (!read)
        return head + "Не удается прочесть файл " + name;
    return head + FormatDateTime("dd MMMM yyyy hh:mm:ss", UtcToLocalDateTime(UnixTimeToDateTime(stamp)));
}
