#include "controls/uzCheckBox.h"

TZCheckBox::TZCheckBox(TComponent *owner) : TCheckBox(owner)
{
    captionL_ = std::make_unique<TZLangBox>(this, "Caption", &OnLangChange);
    hintL_ = std::make_unique<TZLangBox>(this, "Hint", &OnLangChange);
}

TZCheckBox::~TZCheckBox() = default;
