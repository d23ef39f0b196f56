#pragma once
// TZCheckBox: the framework's check box with two-language caption and hint.
#include "controls/UZLangBox.h"
#include "framework/windows/StdCtrls.h"

class TZCheckBox : public TWithLangBoxes<TCheckBox> {
public:
    using TWithLangBoxes::TWithLangBoxes;
};
