#include "controls/RichEditEx.h"

#include "framework/windows/Messages.h"

TRichEditEx::TRichEditEx(TComponent *owner) : TRichEdit(owner) {}

void TRichEditEx::WndProc(TMessage &message)
{
    if (message.Msg == WM_INPUTLANGCHANGE)
        WMInputLangChange(message);
    else
        TRichEdit::WndProc(message);
}

void TRichEditEx::WMInputLangChange(TMessage &message)
{
    message.Result = 1;  // handled
    if (OnLangChange)
        OnLangChange(this);
}
