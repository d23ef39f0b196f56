#pragma once
// Whole-file reading and writing of alias files.
#include "base/aliases/AliasFileForms.h"
#include "framework/runtime/AnsiString.h"

// False when the file cannot be opened or read whole.
bool ReadAliasFile(const AnsiString &name, AliasFileImage &bytes);
// Writes the file beside its final name first and puts it in place only when it is complete, so a
// failed write (full disk, no such folder) leaves an existing file as it was. On Windows the file
// beside is held by this save alone: a save of the same file that meets it is refused, and the file
// always holds the whole list of a save that succeeded. False on failure.
bool WriteAliasFile(const AnsiString &name, const AliasFileImage &bytes);

// The folder of the running program, without its trailing backslash; empty when the system does not
// tell.
AnsiString ProgramFolderOfAliases();

// The name the new file is written under before it replaces the old one.
inline AnsiString AliasFileTempName(const AnsiString &name) { return name + ".new"; }
