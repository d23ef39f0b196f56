#pragma once
// TZMLButton: the framework's button with two-language caption and hint, showing captions of more
// than one line. A "#" in the caption starts a new line: the window holds a line feed there, and the
// caption reads back with the "#".
#include "controls/UZLangBox.h"
#include "framework/windows/StdCtrls.h"

class TZMLButton : public TWithLangBoxes<TButton> {
public:
    using TWithLangBoxes::TWithLangBoxes;

    // The caption ("Caption" by name too): a "#" sets MultiLine and becomes a line break.
    AnsiString GetText() const override;
    void SetText(const AnsiString &text) override;

    // Whether the caption may wrap onto several lines; off is refused while the caption has a "#".
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool multiLine);

protected:
    void CreateParams(TCreateParams &params) override;

private:
    bool multiLine_ = false;
};
