#include "update/run/ProductFolder.h"

#include <algorithm>

#include "framework/runtime/SysUtils.h"

namespace {

bool IsExeName(const AnsiString &name) { return AnsiLowerCase(name) == "exe"; }

}  // namespace

std::optional<AnsiString> ProductFolderOf(const AnsiString &updaterFolder, const THasExeFolder &hasExeFolder)
{
    if (hasExeFolder(updaterFolder))
        return updaterFolder;
    // The last folder of the path, between the last two "\".
    AnsiString folder = updaterFolder;
    if (folder.empty() || folder.back() != '\\')
        return std::nullopt;
    folder.pop_back();
    size_t slash = folder.rfind('\\');
    if (slash == AnsiString::npos || !IsExeName(folder.substr(slash + 1)))
        return std::nullopt;
    return folder.substr(0, slash + 1);
}

AnsiString JournalPathFor(const AnsiString &productFolder, const AnsiString &newVersion)
{
    return productFolder + "qmt_" + newVersion + ".txt";
}

AnsiString ProductMutexName(const AnsiString &exePath)
{
    AnsiString name = AnsiUpperCase(exePath);
    std::replace(name.begin(), name.end(), '\\', '_');
    return name;
}

AnsiString UpdaterMutexName(const AnsiString &updaterFileName) { return "ZOZEVIZIROZUV_" + updaterFileName; }
