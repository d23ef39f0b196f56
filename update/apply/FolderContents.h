#pragma once
// Whether a folder holds anything, as the engine asks before it removes a folder it made or copies into
// a folder the user chose.
#include "framework/runtime/AnsiString.h"

// True when the folder holds no entry at all (hidden and system entries count).
bool FolderIsEmpty(const AnsiString &folder);

// True when the folder is a folder link (a junction, a symbolic link or another reparse point): what it
// leads to lies outside the tree it stands in, so a removal takes the link itself and never enters it.
bool IsFolderLink(const AnsiString &folder);
