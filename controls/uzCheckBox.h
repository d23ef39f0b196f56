#pragma once
// TZCheckBox: the framework's check box with two-language caption and hint.
#include <memory>

#include "controls/UZLangBox.h"
#include "framework/StdCtrls.h"

class TZCheckBox : public TCheckBox {
public:
    explicit TZCheckBox(TComponent *owner);
    ~TZCheckBox() override;

    TZLangBox *CaptionL() const { return captionL_.get(); }
    TZLangBox *HintL() const { return hintL_.get(); }

    TLangChangeEvent OnLangChange;

private:
    std::unique_ptr<TZLangBox> captionL_, hintL_;
};
