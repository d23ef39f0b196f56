#include "tests/e2e/controls_demo/DemoProduct.h"

#include <string>

#include "framework/runtime/Classes.h"
#include "framework/runtime/SysUtils.h"
#include "storage/config/rdwr_cfg.h"
#include "storage/zcomp_var.h"
#include "tests/support/AliasFileBuilder.h"
#include "tests/support/InstallationBuilder.h"

namespace {

void WriteBytes(const AnsiString &fileName, const testdata::Bytes &bytes)
{
    ForceDirectories(ExtractFilePath(fileName));
    TFileStream file(fileName, fmCreate);
    if (!bytes.empty())
        file.WriteBuffer(bytes.data(), static_cast<long>(bytes.size()));
}

}  // namespace

AnsiString DemoErrorsFile(const AnsiString &root) { return root + "Протокол помилок.txt"; }
AnsiString DemoMissingFile(const AnsiString &root) { return root + "Немає такого файлу.txt"; }

void WriteDemoProduct(const AnsiString &root)
{
    BuildInstallation(root);
    WriteBytes(root + "EXE\\alias.qmt", testdata::AliasFile(testdata::ProductAliases()));
    // Written as one logical file among several, as a product's screens file holds many.
    WriteBytes(root + "Cfg\\Riza.sfr", DemoScreen().File(DemoScreenNumber, 8));
    for (const char *name : {"klsstd.qmt", "klsuse.qmt"})
        WriteBytes(root + "Cfg\\" + name, testdata::CompoundFileBuilder::Created(1).Build());
    const std::string errors = "Рядок 3: значення поза межами\r\nРядок 7: порожня дата\r\n";
    WriteBytes(DemoErrorsFile(root), testdata::Bytes(errors.begin(), errors.end()));
}

bool LoadDemoEnvironment(const AnsiString &root)
{
    if (LoadProductEnvironment(ExcludeTrailingBackslash(root), 0) != 0)
        return false;
    // The table's marking colours, which a configured product keeps in its record.
    Cfg->SetU32(CfgField::MarkedFixedColour, 0xC8D0D4);
    Cfg->SetU32(CfgField::MarkedEditableColour, 0xE8FFE8);
    Cfg->SetU32(CfgField::SelectedCellColour, 0xA0FFFF);
    Cfg->SetU32(CfgField::RowSelectionColour, 0x90EE90);
    return true;
}
