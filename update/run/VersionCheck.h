#pragma once
// Whether this update fits the installed product: the installed version (byte 38 of the configuration
// record) must be the update's base version, and the build stamp of the product's executable one of the
// builds the update accepts.
#include <cstdint>
#include <vector>

#include "framework/runtime/AnsiString.h"
#include "update/payload/ByteSource.h"
#include "update/run/RunLog.h"

class s_Cfg;

// The TimeDateStamp of the PE file in `source` (its file header's word at offset 8 of the NT headers
// that the DOS header's word at offset 60 points to). False when the headers are not all there.
bool GetPeTimeStamp(TByteSource &source, uint32_t &stamp);

// The versions of the update that the check compares with the installation.
struct TUpdateVersions {
    AnsiString NewVersion, BaseVersion, BaseVersionShort;
    bool Correction = false;
    std::vector<uint32_t> AcceptedBuilds;
};

// The window caption while the update runs: "Обновление ЦМТ-5 (base) -> ЦМТ-5 (new)", or for a
// correction "Исправление ЦМТ-5 (short base.X) -> ЦМТ-5 (new) ".
AnsiString VersionCheckCaption(const TUpdateVersions &versions);

// Compares the installed version and the product's build stamp with the update. A version mismatch
// logs what is installed and shows error 5013 naming the edition the update is for; a build not
// accepted logs protocol text 23 alone.
bool CheckInstalled(TRunLog &log, const s_Cfg &cfg, uint32_t stamp, const TUpdateVersions &versions);
