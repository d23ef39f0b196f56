#pragma once
// The warning that an update changes the costs of existing projects: continue, stop, or read about it
// on the maker's web site. Created at start-up with the other forms.
#include <cstdint>

#include "framework/windows/Forms.h"
#include "framework/windows/StdCtrls.h"

class TYesNo1 : public TForm {
public:
    explicit TYesNo1(TComponent *owner);

    TMemo *Memo1;
    TButton *Button2;  // "Продолжить"
    TButton *Button3;  // the page on the web site
    TButton *Button1;  // "Прекратить"

    void Button1Click(TObject *Sender);
    void Button2Click(TObject *Sender);
    void Button3Click(TObject *Sender);

    uint8_t Result = 0;  // 0 stop, 1 continue
};

extern TYesNo1 *YesNo1;
