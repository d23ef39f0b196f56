// Loading and saving the configuration record through the simple file.
#include <vector>

#include "base/messages/zmsg.h"
#include "storage/files/dsfile.h"
#include "storage/config/rdwr_cfg.h"

void LoadCfg(const AnsiString &folder)
{
    SFile file(folder.empty() ? AnsiString("CFG#cfg.qmt") : folder + "cfg.qmt", 1);
    std::vector<uint8_t> buffer(CfgStoredLimit);
    const uint32_t got = file.Read(buffer.data(), CfgStoredLimit);
    ParseCfg(buffer.data(), got, *Cfg, file.Name());
}

void SaveCfg()
{
    SFile file("CFG#cfg.qmt", 4);
    const std::vector<uint8_t> stored = StoreCfg(*Cfg, file.Name());
    file.Seek(0);
    if (file.Write(stored.data(), static_cast<uint32_t>(stored.size())) != stored.size())
        throw ZError(file.Name(), 5);
}
