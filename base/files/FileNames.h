#pragma once
// File-name helpers over AnsiString, folder and file listings and the read-only switch.
#include "framework/runtime/AnsiString.h"

class TStrings;

// Parts of a path ("" when the path has none).
AnsiString FileExtOf(const AnsiString &path);      // extension without the dot
AnsiString FileNameExtOf(const AnsiString &path);  // name with its extension
AnsiString FileFolderOf(const AnsiString &path);   // drive and folder
AnsiString FileNameOf(const AnsiString &path);     // bare name
// The path with its extension replaced (an empty extension removes it); "" for a path without a name.
AnsiString ChangeFileExtOf(const AnsiString &path, const AnsiString &newExt);

// The path with a final '\' (an empty path stays empty, where the framework's IncludeTrailingBackslash
// gives "\").
AnsiString AddTrailingBackslash(const AnsiString &path);
inline AnsiString AddTrailingBackslash2(const AnsiString &path) { return AddTrailingBackslash(path); }
// The path less one final '\': the framework's ExcludeTrailingBackslash.
AnsiString RemoveTrailingBackslash(const AnsiString &path);

// ---- asking the file system (Windows build) ----------------------------------------------------
bool FolderExists(const AnsiString &path);
bool IsExistingFile(const AnsiString &path);
// The current folder in upper case (by the system's rules, so it still names the same folder).
AnsiString CurrentFolderStr();

// Replaces the list's contents by the names of the subfolders of `folder` + `mask` ("." and ".."
// left out), as the system gives them; returns their count.
int ListSubfolders(const AnsiString &folder, const AnsiString &mask, TStrings &list);
// Adds the names of the files (not folders) of `folder` + `mask`, upper-cased by the code page 1251
// rules, to the list, emptied first when asked; returns the count added.
int ListFiles(const AnsiString &folder, const AnsiString &mask, TStrings &list, bool clearFirst);

// Makes a read-only file writable (its attributes become "archive"); true when the file is not
// read-only or is no longer.
bool ClearReadOnly(const char *name);
bool ClearReadOnly(const AnsiString &name);
