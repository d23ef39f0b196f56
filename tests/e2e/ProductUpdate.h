#pragma once
// An update of an installed version to the next: the installation before, the installation as the
// update must leave it, and the updater that carries it. A correction (3.1.1.2 to 3.1.1.5) is applied in
// place; a version step (3.1.0 to 3.1.1) to a copy of the installation.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tests/support/UpdaterRun.h"

struct ProductUpdate {
    FileTree Before;  // the installed version; its "EXE\qmt.exe" is the stand-in product
    FileTree After;   // the new one: files patched, replaced and added, the configuration marked as updated
    std::vector<uint8_t> Updater;
};

// Two data sections: a patched and a replaced data file and a patched one whose folder and name are
// Cyrillic ("Данные\отчёт.dat"), then replaced and new files in new folders and a new product executable (the stand-in with another build stamp). `bigSize` is the size of the large
// data files, so that a run lasts long enough to be interrupted inside its apply loop. The executable
// is replaced whole, or with `patchExe` patched (PE1DIFF, for the installation's first edition): the
// old one is then moved aside into the work folder.
ProductUpdate MakeProductUpdate(const AnsiString &base, const AnsiString &next, size_t bigSize, bool patchExe = false);
