#include "tests/support/InstallationBuilder.h"

#include <filesystem>
#include <vector>

#include "framework/runtime/Classes.h"
#include "framework/runtime/SysUtils.h"
#include "storage/config/rdwr_cfg.h"
#include "tests/support/PeImageWriter.h"

namespace {

void WriteBytes(const AnsiString &fileName, const std::vector<uint8_t> &bytes)
{
    TFileStream file(fileName, fmCreate);
    if (!bytes.empty())
        file.WriteBuffer(bytes.data(), static_cast<long>(bytes.size()));
}

}  // namespace

void BuildInstallation(const AnsiString &folder, const TestInstallation &installation)
{
    AnsiString exeFolder = folder + installation.ExeFolderName + "\\";
    ForceDirectories(exeFolder);
    TestPeImage image;
    image.TimeStamp = installation.TimeStamp;
    WriteBytes(exeFolder + installation.ExeName, WritePeImage(image));

    s_Cfg cfg;
    for (size_t i = 0; i < installation.VersionText.size() && CfgField::VersionText + i + 1 < CfgField::VersionEnd; ++i)
        cfg.SetByte(static_cast<uint32_t>(CfgField::VersionText + i),
                    static_cast<uint8_t>(installation.VersionText[i]));
    cfg.SetByte(CfgField::Edition, installation.Edition);
    std::vector<uint8_t> stored = StoreCfg(cfg, "CFG.QMT");
    stored.resize(installation.CfgLength);
    ForceDirectories(folder + "Cfg\\");
    WriteBytes(folder + "Cfg\\CFG.QMT", stored);
}

AnsiString MakeTestFolder(const char *name)
{
    std::filesystem::path path = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    return IncludeTrailingBackslash(path.string());
}

void RemoveTestFolder(const AnsiString &folder)
{
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(folder), ignored);
}
