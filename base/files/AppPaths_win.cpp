#include "base/files/AppPaths.h"

#include <cstring>

#include "framework/runtime/Kernel.h"
#include "framework/runtime/SysUtils.h"

namespace {

bool ProbeDirectory(const AnsiString &path, void *) { return IsDirectory(path); }

}  // namespace

bool IsDirectory(const AnsiString &path)
{
    int attr = FileGetAttr(path);
    return attr != -1 && (attr & faDirectory) != 0;
}

bool IsFile(const AnsiString &path)
{
    int attr = FileGetAttr(path);
    return attr != -1 && (attr & faDirectory) == 0;
}

int CurrentFolderUpper(char *output)
{
    AnsiString folder = GetCurrentDir();
    if (folder.size() > static_cast<std::size_t>(MaxPathText))
        folder.resize(static_cast<std::size_t>(MaxPathText));
    folder = AnsiUpperCase(folder);
    if (output != nullptr && !folder.empty())
        std::memcpy(output, folder.data(), folder.size());
    return static_cast<int>(folder.size());
}

int AppFolder(AnsiString &output, const char *cutAfter, bool withoutBackslash)
{
    output = CutAppFolder(ExtractFilePath(GetModuleFileName()), cutAfter, withoutBackslash);
    return static_cast<int>(output.size());
}

int FindFolderUpwards(AnsiString &output, const char *folderName)
{
    AnsiString app;
    AppFolder(app, nullptr, false);
    return FindFolderUpwardsFrom(output, app, folderName, ProbeDirectory, nullptr);
}

int SetFolderFromAppTree(PathRecord &record, const char *folderName, int length)
{
    if (folderName == nullptr || length < 0 || (length == 0 && *folderName == 0))
        return 0;
    AnsiString name(folderName, length == 0 ? std::strlen(folderName) : static_cast<std::size_t>(length));
    AnsiString found;
    if (FindFolderUpwards(found, name.c_str()) != 0)
        SetPathDriveFolder(record, found.c_str(), static_cast<int>(found.size()));
    else
        ClearPathRecord(record);
    return GetPathDriveFolder(record, nullptr);
}
