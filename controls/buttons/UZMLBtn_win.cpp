#include "controls/buttons/UZMLBtn.h"

#include <algorithm>

AnsiString TZMLButton::GetText() const
{
    AnsiString text = WindowText();
    std::replace(text.begin(), text.end(), '\n', '#');
    return text;
}

void TZMLButton::SetText(const AnsiString &text)
{
    if (text == GetText())
        return;
    AnsiString shown = text;
    if (shown.find('#') != AnsiString::npos) {
        SetMultiLine(true);
        std::replace(shown.begin(), shown.end(), '#', '\n');
    }
    TButton::SetText(shown);
}

void TZMLButton::SetMultiLine(bool multiLine)
{
    if (multiLine == multiLine_ || (!multiLine && GetText().find('#') != AnsiString::npos))
        return;
    multiLine_ = multiLine;
    // The button reads the style only when its window is made.
    RecreateWnd();
}

void TZMLButton::CreateParams(TCreateParams &params)
{
    TButton::CreateParams(params);
    if (multiLine_)
        params.Style |= BS_MULTILINE;
    else
        params.Style &= ~static_cast<unsigned long>(BS_MULTILINE);
}
