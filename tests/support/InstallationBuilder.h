#pragma once
// Builds a product installation on disk for the run's tests: the executable folder with "qmt.exe" (a
// minimal PE image with a chosen build stamp) and "Cfg\CFG.QMT" with a chosen version and edition.
#include <cstdint>

#include "framework/runtime/AnsiString.h"

struct TestInstallation {
    AnsiString ExeFolderName = "EXE";
    AnsiString ExeName = "qmt.exe";
    uint32_t TimeStamp = 0x5F000000;
    AnsiString VersionText = "5-3.1.0";  // at byte 36; the numbers after "5-" are at byte 38
    uint8_t Edition = 0;
    // Bytes of CFG.QMT written (the 1375-byte fixed part and eight empty texts by default).
    uint32_t CfgLength = 1375 + 16;
};

// Writes the installation into `folder` (with trailing "\"), creating folders as needed.
void BuildInstallation(const AnsiString &folder, const TestInstallation &installation = TestInstallation{});

// A fresh empty folder for one test under the temporary folder (with trailing "\"), and its removal.
AnsiString MakeTestFolder(const char *name);
void RemoveTestFolder(const AnsiString &folder);
