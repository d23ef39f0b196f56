#pragma once
// Whether a folder holds anything, as the engine asks before it removes a folder it made or copies into
// a folder the user chose.
#include "framework/runtime/AnsiString.h"

// True when the folder holds no entry at all (hidden and system entries count).
bool FolderIsEmpty(const AnsiString &folder);
