// Loading and saving the configuration record through the simple file.
#include <vector>

#include "base/messages/zmsg.h"
#include "framework/runtime/SysUtils.h"
#include "storage/config/rdwr_cfg.h"
#include "storage/files/dsfile.h"

void LoadCfg(const AnsiString &folder)
{
    SFile file(folder.empty() ? AnsiString("CFG#cfg.qmt") : folder + "cfg.qmt", 1);
    std::vector<uint8_t> buffer(CfgStoredLimit);
    const uint32_t got = file.Read(buffer.data(), CfgStoredLimit);
    ParseCfg(buffer.data(), got, *Cfg, file.Name());
}

namespace {

void PutAll(SFile &file, const uint8_t *bytes, uint32_t n, const AnsiString &cfgName)
{
    if (n != 0 && file.Write(bytes, n) != n)
        throw ZError(cfgName, 5);
}

// The new configuration file beside the old one: the stored record, then whatever lay in the old file
// past the new record's length (a longer old record's tail, which loading ignores), through to the disk.
void WriteBeside(SFile &old, SFile &copy, const std::vector<uint8_t> &stored)
{
    PutAll(copy, stored.data(), static_cast<uint32_t>(stored.size()), old.Name());
    old.Seek(static_cast<uint32_t>(stored.size()));
    std::vector<uint8_t> tail(CfgStoredLimit);
    while (const uint32_t got = old.Read(tail.data(), static_cast<uint32_t>(tail.size())))
        PutAll(copy, tail.data(), got, old.Name());
    copy.Flush();
}

}  // namespace

void SaveCfg()
{
    // The old file is the only copy of the configuration: the new one is written whole beside it and
    // then takes its place in one step, so a failure (a full disk) leaves the old file byte for byte.
    AnsiString temp;
    try {
        AnsiString name;
        {
            SFile old("CFG#cfg.qmt", 1);
            name = old.Name();
            const std::vector<uint8_t> stored = StoreCfg(*Cfg, name);
            temp = name + "$";
            SFile copy(temp, 3);
            WriteBeside(old, copy, stored);
        }
        if (!ReplaceFileWith(name, temp))
            RaiseWindowsError(temp + "=>" + name);
    } catch (...) {
        if (!temp.empty())
            DeleteFile(temp);
        throw;
    }
}
