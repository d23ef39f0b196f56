#pragma once
// The masked edit: a one-line edit whose text follows an edit mask (see EditMask.h). Literals stay in
// place, typed characters overwrite the places that accept them and others are refused; Text reads
// the text as shown, literals and blanks included.
#include "framework/windows/EditMask.h"
#include "framework/windows/StdCtrls.h"

class TMaskEdit : public TCustomEdit {
public:
    explicit TMaskEdit(TComponent *owner);
    const AnsiString &EditMask() const { return editMask_; }
    // Changing the mask lays the present text onto it.
    void SetEditMask(const AnsiString &mask);
    // A text set is laid onto the mask.
    void SetText(const AnsiString &text) override;

    void WndProc(TMessage &message) override;

protected:
    void KeyDown(uint16_t &key, TShiftState shift) override;
    void KeyPress(char &key) override;

private:
    // Shows the text and puts the caret at pos.
    void Show(const AnsiString &text, int caret);
    // Empties the places of [from, to).
    AnsiString Cleared(int from, int to) const;
    void PasteText(const AnsiString &text);

    AnsiString editMask_;
    TEditMask mask_;
};
