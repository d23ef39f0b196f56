#pragma once
// A picture of a test form once every control has painted itself. Windows build only.
#include <windows.h>

#include "framework/windows/Forms.h"
#include "tests/support/WindowPicture.h"

inline bool SaveFormPicture(TForm *form, const AnsiString &name)
{
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    for (int i = 0; i < 20; ++i) {
        Application->ProcessMessages();
        Sleep(5);
    }
    return SaveScreenshot(form->Handle(), name);
}
