#include "base/files/FileNames.h"

#include <vector>

#include "base/files/PathParts.h"
#include "framework/runtime/SysUtils.h"

namespace {

using PartOf = int (*)(char *output, const char *text, int length);

// A part is never longer than its path, so path length + 1 bytes always hold it.
AnsiString Part(PartOf get, const AnsiString &path)
{
    if (path.empty())
        return AnsiString();
    std::vector<char> out(path.size() + 1);
    const int n = get(out.data(), path.data(), static_cast<int>(path.size()));
    return AnsiString(out.data(), static_cast<std::size_t>(n));
}

}  // namespace

AnsiString FileExtOf(const AnsiString &path) { return Part(GetExtOf, path); }
AnsiString FileNameExtOf(const AnsiString &path) { return Part(GetNameExtOf, path); }
AnsiString FileFolderOf(const AnsiString &path) { return Part(GetDriveFolderOf, path); }
AnsiString FileNameOf(const AnsiString &path) { return Part(GetNameOf, path); }

AnsiString ChangeFileExtOf(const AnsiString &path, const AnsiString &newExt)
{
    if (path.empty())
        return AnsiString();
    std::vector<char> out(path.size() + newExt.size() + 2);
    const int n = ChangeExtOf(out.data(), path.data(), newExt.c_str(), static_cast<int>(newExt.size()),
                              static_cast<int>(path.size()));
    return AnsiString(out.data(), static_cast<std::size_t>(n));
}

AnsiString AddTrailingBackslash(const AnsiString &path)
{
    if (path.empty() || path.back() == '\\')
        return path;
    return path + '\\';
}

AnsiString RemoveTrailingBackslash(const AnsiString &path) { return ExcludeTrailingBackslash(path); }
