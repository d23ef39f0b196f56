#pragma once
// What a test under Wine does on the Unix side of the system: Wine's Unix path of a Windows path, and
// a Unix command run as it is. Windows build only.
#include <string>

// Whether the program runs under Wine.
bool UnderWine();

// The Unix path of a Windows path (no trailing "/"); empty outside Wine or when there is none.
std::string WineUnixPath(const std::wstring &windowsPath);

// Runs a Unix command (Wine starts a Unix program as it is) and waits for it; false when it could not
// be started.
bool RunUnix(const std::string &commandLine);

// Makes `link` a folder link (a reparse point) to the folder `target`: a symbolic link where the system
// makes one; under Wine, whose call only pretends to, a Unix symbolic link, which Wine shows as a
// folder link. False when none is there afterwards.
bool MakeFolderLink(const std::wstring &link, const std::wstring &target);
// Removes a folder link MakeFolderLink made, if it is still there, and leaves what it leads to.
void RemoveFolderLink(const std::wstring &link);
