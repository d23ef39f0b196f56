#pragma once
// Shell links (.lnk files) through the system's shell-link object.
#include "framework/runtime/AnsiString.h"

// Saves a link to `target` as `linkFile` with the description, working folder and show state of
// the started program (Kernel.h's sw* values). COM is started and ended around the call. True only
// when the link file was saved.
bool SaveShellLinkFile(const AnsiString &target, const AnsiString &linkFile, const AnsiString &description,
                       const AnsiString &workingFolder, int showState);
// Asks the desktop window to repaint, so that a new icon on it appears at once.
void RefreshDesktopWindow();
