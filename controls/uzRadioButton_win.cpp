#include "controls/uzRadioButton.h"

TZRadioButton::TZRadioButton(TComponent *owner) : TRadioButton(owner)
{
    captionL_ = std::make_unique<TZLangBox>(this, "Caption", &OnLangChange);
    hintL_ = std::make_unique<TZLangBox>(this, "Hint", &OnLangChange);
}

TZRadioButton::~TZRadioButton() = default;
