#pragma once
// A correction of an installed 3.1.1.2 to 3.1.1.5, which the updater applies in place: the installation
// before, the installation as the correction must leave it, and the updater that carries it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tests/e2e/UpdaterRun.h"

struct CorrectionUpdate {
    FileTree Before;  // the installed 3.1.1.2; its "EXE\qmt.exe" is the stand-in product
    FileTree After;   // 3.1.1.5: files patched, replaced and added, the configuration marked as updated
    std::vector<uint8_t> Updater;
};

// Two data sections: a patched and a replaced data file, then replaced and new files in new folders and
// a new product executable (the stand-in with another build stamp). `bigSize` is the size of the large
// data files, so that a run lasts long enough to be interrupted inside its apply loop.
CorrectionUpdate MakeCorrection(size_t bigSize);
