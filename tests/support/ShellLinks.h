#pragma once
// Shell links read back as the shell reads them: what a test checks of a link the engine saved.
// Windows build only.
#include "framework/runtime/AnsiString.h"

struct TShellLinkInfo {
    AnsiString Target, WorkingFolder, Description;  // code page 1251
    int ShowCmd = -1;
};

// Reads a link file through the shell-link object; false when it cannot be loaded.
bool ReadShellLink(const AnsiString &linkFile, TShellLinkInfo &info);
