#include "update/run/VersionCheck.h"

#include <algorithm>

#include "storage/config/rdwr_cfg.h"
#include "update/journal/JournalLine.h"
#include "update/payload/Payload.h"

namespace {

constexpr uint32_t DosHeaderLength = 64;
constexpr uint32_t NewHeaderPointer = 60;
constexpr uint32_t NtHeadersLength = 248;
constexpr uint32_t TimeStampOffset = 8;

}  // namespace

bool GetPeTimeStamp(TByteSource &source, uint32_t &stamp)
{
    uint8_t dos[DosHeaderLength];
    uint8_t nt[NtHeadersLength];
    if (!source.ReadAt(0, dos, sizeof dos))
        return false;
    if (!source.ReadAt(LoadU32(dos + NewHeaderPointer), nt, sizeof nt))
        return false;
    stamp = LoadU32(nt + TimeStampOffset);
    return true;
}

AnsiString VersionCheckCaption(const TUpdateVersions &versions)
{
    if (versions.Correction)
        return "Исправление ЦМТ-5 (" + versions.BaseVersionShort + ".X" + ") -> " + "ЦМТ-5 (" + versions.NewVersion +
               ") ";
    return "Обновление ЦМТ-5 (" + versions.BaseVersion + ") -> " + "ЦМТ-5 (" + versions.NewVersion + ")";
}

bool CheckInstalled(TRunLog &log, const s_Cfg &cfg, uint32_t stamp, const TUpdateVersions &versions)
{
    // Versions are compared as bytes.
    AnsiString installed = CutVersion(cfg.VersionNumbers());
    if (installed != versions.BaseVersionShort) {
        if (versions.Correction) {
            log.Log(ept_WrongEdition, " У Вас установлена ЦМТ-" + installed + ".X", true);
            log.ShowRunError(5013, {"ЦМТ 5 " + versions.BaseVersionShort + ".X"});
        } else {
            log.Log(ept_WrongEdition, " У Вас установлена ЦМТ-" + cfg.VersionText(), true);
            log.ShowRunError(5013, {"ЦМТ 5 " + versions.BaseVersion});
        }
        return false;
    }
    const std::vector<uint32_t> &builds = versions.AcceptedBuilds;
    if (std::find(builds.begin(), builds.end(), stamp) == builds.end()) {
        log.Log(ept_WrongEdition, AnsiString(), true);
        return false;
    }
    return true;
}
