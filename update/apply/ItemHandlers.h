#pragma once
// The parts of the item handlers that need no files: which folders a new file needs, and whether an
// item is meant for the installed edition.
#include <cstdint>
#include <functional>
#include <vector>

#include "framework/runtime/AnsiString.h"

// The folders of `fileName`'s path that do not exist yet, outermost first (each must be made before
// the next). Empty when the file's folder exists or the name has no folder. A drive's or a share's
// root is never among them, there or not.
std::vector<AnsiString> MissingFolders(const AnsiString &fileName,
                                       const std::function<bool(const AnsiString &folder)> &exists);

// The journal text of a folder the run creates: rollback removes it ("z<" + folder + twenty zeros).
AnsiString CreatedFolderCommandText(const AnsiString &folder);

// Whether an item of the given type applies to the installed edition (edition byte: 0 for edition 1,
// 1 for edition 2). PE1DIFF is for edition 1 only, PE2DIFF for every other; ADDREPM for the edition
// in its record's entry 5 (edition byte + 1); every other type applies to all.
bool ItemForEdition(uint8_t type, uint32_t editionEntry, uint8_t editionByte);

// An old file's size as the PE patch accepts it: within one byte of the recorded size.
bool PeOldSizeAccepted(uint64_t size, uint32_t recorded);
