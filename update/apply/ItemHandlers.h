#pragma once
// The parts of the item handlers that need no files: which folders a new file needs, and whether an
// item is meant for the installed edition.
#include <cstdint>
#include <functional>
#include <vector>

#include "framework/runtime/AnsiString.h"

// What the path of a new file (or of a folder, given with its trailing "\") lacks: the folders that are
// not there, outermost first (each must be made before the next), up to the first entry that is there.
// When that entry is not a folder (a file), it is named and the folders cannot be made. No folder is
// listed when the file's folder exists or the name has none. A drive's or a share's root is never
// among them, there or not.
struct TMissingFolders {
    std::vector<AnsiString> Folders;
    AnsiString FileInTheWay;  // "" when the path meets no file
};
// `attributes` gives an entry's attributes (the fa* bits), -1 when there is none.
TMissingFolders MissingFolders(const AnsiString &fileName,
                               const std::function<int(const AnsiString &name)> &attributes);

// The journal text of a folder the run creates: rollback removes it ("z<" + folder + twenty zeros).
AnsiString CreatedFolderCommandText(const AnsiString &folder);

// Whether an item of the given type applies to the installed edition (edition byte: 0 for edition 1,
// 1 for edition 2). PE1DIFF is for edition 1 only, PE2DIFF for every other; ADDREPM for the edition
// in its record's entry 5 (edition byte + 1); every other type applies to all.
bool ItemForEdition(uint8_t type, uint32_t editionEntry, uint8_t editionByte);

// An old file's size as the PE patch accepts it: within one byte of the recorded size.
bool PeOldSizeAccepted(uint64_t size, uint32_t recorded);
