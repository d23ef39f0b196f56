#pragma once
// The whole-run benchmark's data: an installation of about SIZE_MB (files of 8 KB to 1.5 MB in product
// folders, scrambled databases of 4 MB among them) and, in it, an updater whose update touches about a
// tenth of it: patched files, patched databases, replaced files and new files.
//   OUT/inst/             the installation (version 3.1.1.2)
//   OUT/inst/qmtupdt.exe  the updater (to 3.1.1.5)
// Written by the native generator for tools/bench and by the Windows benchmark program for the CI's
// slowdown guard alike.
#include <cstdint>
#include <filesystem>

struct TBenchData {
    uint64_t files = 0;  // in the installation
    uint64_t installationBytes = 0;
    uint64_t items = 0;         // of the update
    uint64_t touchedBytes = 0;  // of the installation, and the new files
    uint64_t packedBytes = 0;   // the items as packed in the updater
};

// Writes the data into OUT, removing what was there; throws std::runtime_error when a file cannot be
// written or an item packed.
TBenchData WriteBenchData(const std::filesystem::path &out, uint64_t sizeMB);
