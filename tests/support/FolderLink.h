#pragma once
// Folder links (reparse points) for tests of removals that must not follow them. Windows build only.
#include <string>

// Makes `link` a folder link to the folder `target`: a symbolic link where the system makes one; under
// Wine, whose call only pretends to, a Unix symbolic link, which Wine shows as a folder link. False
// when none is there afterwards.
bool MakeFolderLink(const std::wstring &link, const std::wstring &target);
// Removes a folder link MakeFolderLink made, if it is still there, and leaves what it leads to.
void RemoveFolderLink(const std::wstring &link);
