#pragma once
// TZRadioButton: the framework's radio button with two-language caption and hint.
#include "controls/UZLangBox.h"
#include "framework/windows/StdCtrls.h"

class TZRadioButton : public TWithLangBoxes<TRadioButton> {
public:
    using TWithLangBoxes::TWithLangBoxes;
};
