#include <windows.h>

#include <algorithm>

#include "framework/windows/Clipbrd.h"
#include "framework/windows/Mask.h"

TMaskEdit::TMaskEdit(TComponent *owner) : TCustomEdit(owner) {}

void TMaskEdit::SetEditMask(const AnsiString &mask)
{
    AnsiString shown = GetText();
    editMask_ = mask;
    mask_ = TEditMask(mask);
    SetMaxLength(mask_.Length());
    SetText(shown);
}

void TMaskEdit::SetText(const AnsiString &text) { TCustomEdit::SetText(mask_.Empty() ? text : mask_.Format(text)); }

void TMaskEdit::Show(const AnsiString &text, int caret)
{
    TCustomEdit::SetText(text);
    SetSelStart(caret);
}

AnsiString TMaskEdit::Cleared(int from, int to) const
{
    AnsiString text = mask_.Format(GetText());
    for (int pos = std::max(0, from); pos < std::min(to, mask_.Length()); ++pos)
        if (!mask_.IsLiteral(pos))
            text[static_cast<size_t>(pos)] = mask_.BlankChar();
    return text;
}

void TMaskEdit::KeyDown(uint16_t &key, TShiftState shift)
{
    TCustomEdit::KeyDown(key, shift);
    if (mask_.Empty() || key != VK_DELETE || ReadOnly())
        return;
    // Delete empties the selection, or the place at the caret; nothing moves.
    int start = SelStart(), length = SelLength();
    int end = length > 0 ? start + length : mask_.NextPlace(start) + 1;
    Show(Cleared(start, end), start);
    key = 0;
}

void TMaskEdit::KeyPress(char &key)
{
    TCustomEdit::KeyPress(key);
    if (mask_.Empty() || key == 0 || ReadOnly())
        return;
    int start = SelStart(), length = SelLength();
    if (key == '\b') {
        if (length > 0) {
            Show(Cleared(start, start + length), start);
        } else if (int pos = mask_.PrevPlace(start); pos >= 0) {
            Show(Cleared(pos, pos + 1), pos);
        }
        key = 0;
        return;
    }
    // Other control characters (the clipboard keys) are the edit's own.
    if (static_cast<unsigned char>(key) < ' ')
        return;
    int pos = mask_.NextPlace(start);
    if (pos < mask_.Length() && mask_.Accepts(pos, key)) {
        AnsiString text = length > 0 ? Cleared(start, start + length) : mask_.Format(GetText());
        text[static_cast<size_t>(pos)] = key;
        Show(text, std::min(mask_.NextPlace(pos + 1), mask_.Length()));
    } else {
        MessageBeep(MB_OK);
    }
    key = 0;
}

void TMaskEdit::PasteText(const AnsiString &pasted)
{
    // The clipboard's characters fill the places from the caret on; literals in it are passed over
    // where they match. A character that fits no place refuses the whole paste.
    AnsiString text = Cleared(SelStart(), SelStart() + SelLength());
    int pos = SelStart();
    for (char c : pasted) {
        if (mask_.IsLiteral(pos) && c == text[static_cast<size_t>(pos)]) {
            ++pos;
            continue;
        }
        pos = mask_.NextPlace(pos);
        if (pos >= mask_.Length() || !mask_.Accepts(pos, c)) {
            MessageBeep(MB_OK);
            return;
        }
        text[static_cast<size_t>(pos++)] = c;
    }
    Show(text, std::min(mask_.NextPlace(pos), mask_.Length()));
}

void TMaskEdit::WndProc(TMessage &m)
{
    if (!mask_.Empty() && !ReadOnly()) {
        switch (m.Msg) {
        case WM_PASTE: PasteText(Clipboard()->AsText()); return;
        case WM_CLEAR: Show(Cleared(SelStart(), SelStart() + SelLength()), SelStart()); return;
        case WM_CUT:
            Perform(WM_COPY);
            Show(Cleared(SelStart(), SelStart() + SelLength()), SelStart());
            return;
        default: break;
        }
    }
    TCustomEdit::WndProc(m);
}
