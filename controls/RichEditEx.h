#pragma once
// The framework's rich edit that also reports keyboard-layout changes: a plain notification, for an
// editor that follows the language being typed. Windows build only.
#include "framework/windows/ComCtrls.h"

class TRichEditEx : public TRichEdit {
public:
    explicit TRichEditEx(TComponent *owner);

    // Fired once for each layout change the window is told of (WM_INPUTLANGCHANGE).
    TNotifyEvent OnLangChange;

    void WndProc(TMessage &message) override;

protected:
    // The change is taken here and not passed on.
    virtual void WMInputLangChange(TMessage &message);
};
