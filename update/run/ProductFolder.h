#pragma once
// Where the product is, seen from the updater: the product folder, the journal beside it and the
// names of the mutexes that tell whether the product (or another updater) runs.
#include <functional>
#include <optional>

#include "framework/runtime/AnsiString.h"

// Asks whether a folder (with trailing "\") holds a subfolder named "exe" in any letter case.
using THasExeFolder = std::function<bool(const AnsiString &folder)>;

// The product folder (with trailing "\") for an updater in `updaterFolder` (with trailing "\"): the
// updater's folder when it holds an "exe" subfolder; its parent when the updater's folder itself is
// named "exe" (any case); otherwise none.
std::optional<AnsiString> ProductFolderOf(const AnsiString &updaterFolder, const THasExeFolder &hasExeFolder);

// The journal of an update to `newVersion`: product folder + "qmt_" + new version + ".txt".
AnsiString JournalPathFor(const AnsiString &productFolder, const AnsiString &newVersion);

// The mutex the product holds while it runs: its executable's path upper-cased with every "\"
// replaced by "_" (C:\PROD\EXE\QMT.EXE gives C:_PROD_EXE_QMT.EXE).
AnsiString ProductMutexName(const AnsiString &exePath);

// The mutex that keeps a second updater of the same file name from running.
AnsiString UpdaterMutexName(const AnsiString &updaterFileName);
