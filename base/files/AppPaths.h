#pragma once
// Path helpers that ask the system: existence tests, the current folder, the application folder
// and the search for a named folder in the application folder or its nearest ancestor.
#include "base/files/PathParts.h"
#include "framework/runtime/AnsiString.h"

// The path exists and is a folder / exists and is not a folder.
bool IsDirectory(const AnsiString &path);
bool IsFile(const AnsiString &path);

// The process's current folder (at most 260 characters) in upper case by the system's rules (і
// becomes І, so the text still names the same folder), copied without a terminating NUL when an
// output is given; returns the count.
int CurrentFolderUpper(char *output);

// The running program's folder, cut after a text and without its trailing backslash on request
// (see CutAppFolder); returns the length.
int AppFolder(AnsiString &output, const char *cutAfter, bool withoutBackslash);

// Looks for the folder `folderName` in the application folder, then in each ancestor up to the
// drive root. Found: `output` is that folder with a trailing backslash and the length returned
// leaves the backslash out. Not found: 0, `output` holding the last candidate. Without a name the
// output is the application folder with its trailing backslash.
int FindFolderUpwards(AnsiString &output, const char *folderName);

// Points the record's drive and folder at `folderName` found by FindFolderUpwards (n bytes, 0 = up
// to the NUL), or clears the record when there is none. Without a name the record stays and the
// result is 0; otherwise the result is the record's drive-and-folder length.
int SetFolderFromAppTree(PathRecord &record, const char *folderName, int length);
