#pragma once
// TZRadioButton: the framework's radio button with two-language caption and hint.
#include <memory>

#include "controls/UZLangBox.h"
#include "framework/StdCtrls.h"

class TZRadioButton : public TRadioButton {
public:
    explicit TZRadioButton(TComponent *owner);
    ~TZRadioButton() override;

    TZLangBox *CaptionL() const { return captionL_.get(); }
    TZLangBox *HintL() const { return hintL_.get(); }

    TLangChangeEvent OnLangChange;

private:
    std::unique_ptr<TZLangBox> captionL_, hintL_;
};
