#pragma once
// The product environment: the product's folders, its configuration record and the alias lists
// loaded from "alias.qmt" of its EXE folder.
#include <cstdint>
#include <string_view>
#include <vector>

#include "framework/runtime/AnsiString.h"

// The product root: the folder that holds the EXE folder. `appFolder` is the program's folder
// without its trailing backslash; when that folder is itself named EXE (any case) its parent is the
// root, otherwise the folder is taken as it stands.
AnsiString ProductRootOf(const AnsiString &appFolder);

// One line of "alias.qmt": name "#" folder ["#" second folder], each folder optionally led by "@"
// for the product root. The name and the folder texts are trimmed and upper-cased; two folders
// make the two-language folder text 0x04 + first + 0x05 + second. The line ends at its first NUL.
struct AliasLine {
    AnsiString name;
    AnsiString folder;
};
AliasLine ParseAliasLine(std::string_view line, const AnsiString &root);

// Creates both alias lists when they do not exist, otherwise empties them.
void ResetAliasLists();
// Adds one parsed line; its folder's index in the folder list is the name's object.
void AddAliasLine(const AliasLine &line);
// Sorts the name list for the lookups (each name keeps its folder index).
void FinishAliasLists();
// Deletes both alias lists and clears their pointers.
void FreeAliasLists();

// The files the configuration folder must hold, in the order the message names them.
extern const char *const EnvironmentCfgFiles[4];
// The message shown when "alias.qmt" is missing from the EXE folder.
AnsiString MissingAliasFileMessage(const AnsiString &exeFolder);
// The message shown when configuration files are missing (names in EnvironmentCfgFiles order).
AnsiString MissingCfgFilesMessage(const AnsiString &cfgFolder, const std::vector<AnsiString> &missing);

// Loads the environment of the product whose root folder (without a trailing backslash) is given:
// 0 when loaded, 1 when files are missing (reported to the user in a message box; the record and the
// alias lists stay as they were). Mode 1 skips the existence checks. Errors of the files pass on.
int LoadProductEnvironment(const AnsiString &root, uint8_t mode);
// The same for the product this program belongs to (ProductRootOf the program's folder).
int CheckProductEnvironment(uint8_t mode);
