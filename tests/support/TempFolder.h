#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it when the object
// goes away. Windows build only.
#include <map>
#include <string>

#include "framework/runtime/AnsiString.h"

class TempFolder {
public:
    TempFolder();
    // A fresh folder inside `base` (which must exist).
    explicit TempFolder(const AnsiString &base);
    ~TempFolder();
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    // The folder with a trailing backslash.
    const AnsiString &Path() const { return path_; }
    // Path() + name.
    AnsiString operator/(const AnsiString &name) const { return path_ + name; }

private:
    AnsiString path_;
};

// Removes a folder and everything under it, clearing read-only flags on the way.
void RemoveTree(const AnsiString &folder);
// Writes bytes to a file (created or replaced); throws on failure.
void WriteWholeFile(const AnsiString &fileName, const std::string &bytes);
// Reads a whole file; throws on failure.
std::string ReadWholeFile(const AnsiString &fileName);

// Everything under a folder (with trailing "\") by its path relative to the folder: a file with its
// bytes, a folder with a trailing "\" and no bytes.
std::map<AnsiString, std::string> ReadTree(const AnsiString &folder);
// Writes such a tree into a folder (with trailing "\"), making the folders it needs.
void WriteTree(const AnsiString &folder, const std::map<AnsiString, std::string> &tree);
