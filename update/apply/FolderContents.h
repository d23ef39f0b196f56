#pragma once
// What a folder holds, as the engine asks before it removes a folder it made: only an empty one goes,
// and what is left in one is named in the protocol.
#include <cstddef>
#include <vector>

#include "framework/runtime/AnsiString.h"

// The names of at most `limit` entries of a folder, hidden and system ones too ("." and ".." left
// out), in the system's order; none when the folder cannot be read.
std::vector<AnsiString> FolderEntryNames(const AnsiString &folder, size_t limit);

// True when the folder holds no entry at all (hidden and system entries count).
bool FolderIsEmpty(const AnsiString &folder);
