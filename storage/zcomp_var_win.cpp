// Loading the product environment from the product's folders.
#include <string_view>
#include <vector>

#include "base/files/AppPaths.h"
#include "base/files/PathParts.h"
#include "framework/windows/Dialogs.h"
#include "framework/runtime/SysUtils.h"
#include "storage/compound/drec.h"
#include "storage/compound/dwfile.h"
#include "storage/config/rdwr_cfg.h"
#include "storage/compound/sqmtver.h"
#include "storage/zcomp_var.h"

int LoadProductEnvironment(const AnsiString &root, uint8_t mode)
{
    const AnsiString exeFolder = root + "\\EXE\\";
    const AnsiString cfgFolder = root + "\\Cfg\\";
    CfgFolder = cfgFolder;
    SetPathRecord(ConfigFolderRecord, cfgFolder.c_str());
    if (mode != 1) {
        if (!FileExists(exeFolder + "alias.qmt")) {
            ShowMessage(MissingAliasFileMessage(exeFolder));
            return 1;
        }
        std::vector<AnsiString> missing;
        for (const char *name : EnvironmentCfgFiles)
            if (!FileExists(cfgFolder + name))
                missing.push_back(name);
        if (!missing.empty()) {
            ShowMessage(MissingCfgFilesMessage(cfgFolder, missing));
            return 1;
        }
    }
    LoadCfg(cfgFolder);
    // Parsed into a stamp of its own: the program's fourth number is not the record's to set.
    SQMTVER installed;
    SetProgramVersion(installed, Cfg->VersionText());
    // The whole file is read before the lists change, so a damaged alias file leaves them as they were.
    std::vector<AliasLine> lines;
    {
        WFile aliases(exeFolder + "alias.qmt", SimpleMode::Read);
        WRec record;
        while (aliases.ReadRecord(record))
            lines.push_back(
                ParseAliasLine(std::string_view(reinterpret_cast<const char *>(record.Data()), record.Length()), root));
    }
    ResetAliasLists();
    for (const AliasLine &line : lines)
        AddAliasLine(line);
    FinishAliasLists();
    return 0;
}

int CheckProductEnvironment(uint8_t mode)
{
    AnsiString appFolder;
    AppFolder(appFolder, nullptr, true);
    return LoadProductEnvironment(ProductRootOf(appFolder), mode);
}
