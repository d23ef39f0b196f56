#include "tests/e2e/ProductUpdate.h"

#include "tests/support/InstallationBuilder.h"
#include "tests/support/PayloadBuilder.h"
#include "update/apply/ApplyPlan.h"
#include "update/payload/ByteSource.h"
#include "update/payload/PartNfo.h"
#include "update/run/VersionCheck.h"

namespace {

std::vector<uint8_t> Bytes(const AnsiString &text) { return std::vector<uint8_t>(text.begin(), text.end()); }

// The data file's next version: a stretch rewritten, bytes inserted and others dropped, as a new
// release of a table changes it.
std::vector<uint8_t> Revised(const std::vector<uint8_t> &old)
{
    const size_t third = old.size() / 3;
    std::vector<uint8_t> revised(old.begin(), old.begin() + third);
    std::vector<uint8_t> inserted = PatternBytes(3000, 31);
    revised.insert(revised.end(), inserted.begin(), inserted.end());
    revised.insert(revised.end(), old.begin() + third + 700, old.end());
    for (size_t i = revised.size() / 2; i < revised.size(); i += 4099)
        revised[i] ^= 0x55;
    return revised;
}

// The stand-in product as the new release's executable: another build stamp and some more bytes.
std::vector<uint8_t> NewProductExe(std::vector<uint8_t> exe, uint32_t stamp)
{
    StoreU32(exe.data() + LoadU32(exe.data() + 60) + 8, stamp + 1);
    std::vector<uint8_t> overlay = PatternBytes(4096, 41);
    exe.insert(exe.end(), overlay.begin(), overlay.end());
    return exe;
}

uint32_t PeStamp(const std::vector<uint8_t> &exe)
{
    TMemorySource source(exe);
    uint32_t stamp = 0;
    GetPeTimeStamp(source, stamp);
    return stamp;
}

// The configuration file as the update's configuration change leaves it.
std::vector<uint8_t> UpdatedCfg(std::vector<uint8_t> cfg, const AnsiString &newVersion)
{
    std::vector<uint8_t> head(cfg.begin(), cfg.begin() + std::min<size_t>(cfg.size(), ConfigChangeSpan));
    head.resize(ConfigChangeSpan, 0);
    for (const TCfgEdit &edit : ConfigChangeEdits(head, newVersion))
        std::copy(edit.Bytes.begin(), edit.Bytes.end(), cfg.begin() + edit.Offset);
    return cfg;
}

}  // namespace

ProductUpdate MakeProductUpdate(const AnsiString &base, const AnsiString &next, size_t bigSize, bool patchExe)
{
    ProductUpdate update;
    {
        AnsiString scratch = MakeTestFolder("qmt_e2e_update_base");
        TestInstallation installed;
        installed.VersionText = "5-" + base;
        BuildInstallation(scratch, installed);
        update.Before = ReadInstallation(scratch);
        RemoveTestFolder(scratch);
    }
    FileTree &before = update.Before;
    before["EXE\\qmt.exe"] = ReadFileBytes(QMT_HELPER_DIR "\\standin_product.exe");
    before["Help\\readme.txt"] = Bytes("Справка ЦМТ-5, версия " + base + "\r\n");
    before["Data\\tables.dat"] = PatternBytes(bigSize, 21);
    before["Data\\forms.dat"] = PatternBytes(bigSize * 2 / 3, 22);
    before["Data\\kept.dat"] = PatternBytes(5000, 23);
    before["Данные\\отчёт.dat"] = PatternBytes(4000, 24);

    FileTree &after = update.After;
    after = before;
    after["Cfg\\CFG.QMT"] = UpdatedCfg(before["Cfg\\CFG.QMT"], next);
    after["Data\\tables.dat"] = Revised(before["Data\\tables.dat"]);
    after["Данные\\отчёт.dat"] = Revised(before["Данные\\отчёт.dat"]);
    after["Data\\forms.dat"] = PatternBytes(bigSize * 2 / 3 + 1000, 32);
    after["Help\\readme.txt"] = Bytes("Справка ЦМТ-5, версия " + next + "\r\nИсправлены ошибки печати.\r\n");
    after["Help\\changes.txt"] = Bytes(next + ": исправлена печать отчётов.\r\n");
    after["Reports\\2026\\monthly.frm"] = PatternBytes(bigSize / 2, 33);
    const uint32_t stamp = PeStamp(before["EXE\\qmt.exe"]);
    after["EXE\\qmt.exe"] = NewProductExe(before["EXE\\qmt.exe"], stamp);

    TestPayloadBuilder payload;
    payload.BaseVersion = base;
    payload.NewVersion = next;
    payload.Builds = {stamp};
    payload.TempBytes = uint32_t(bigSize * 4);
    payload.Growth = uint32_t(bigSize);
    payload.AddSection();
    payload.AddPatch("Data\\tables.dat", before["Data\\tables.dat"], after["Data\\tables.dat"]);
    payload.AddFile(ADDREPL, "Data\\forms.dat", after["Data\\forms.dat"]);
    payload.AddPatch("Данные\\отчёт.dat", before["Данные\\отчёт.dat"], after["Данные\\отчёт.dat"]);
    payload.AddSection();
    payload.AddFile(ADDREPL, "Help\\readme.txt", after["Help\\readme.txt"]);
    payload.AddFile(ADDREPL, "Help\\changes.txt", after["Help\\changes.txt"]);
    payload.AddFile(ADDREPL, "Reports\\2026\\monthly.frm", after["Reports\\2026\\monthly.frm"]);
    if (patchExe)
        payload.AddPatch("EXE\\qmt.exe", before["EXE\\qmt.exe"], after["EXE\\qmt.exe"], PE1DIFF);
    else
        payload.AddFile(ADDREPL, "EXE\\qmt.exe", after["EXE\\qmt.exe"]);
    update.Updater = UpdaterWith(payload);
    return update;
}
