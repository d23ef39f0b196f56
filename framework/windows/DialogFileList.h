#pragma once
// The list of files a shown file dialog displays (the list view inside its shell view).
#include <functional>
#include <vector>

#include "framework/runtime/AnsiString.h"

// Walks the list of the file dialog window `dialog` (HWND) from its last item to its first and deletes
// every item whose shown text keep() refuses. Returns the number deleted; -1 when the dialog shows
// no such list.
int PruneDialogFileList(void *dialog, const std::function<bool(const AnsiString &itemText)> &keep);
// The shown texts of the dialog's list in order; empty when it has none.
std::vector<AnsiString> DialogFileListItems(void *dialog);
