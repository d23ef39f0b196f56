// The utilities that work on edits and memos, the clipboard and the icons of executables.
#include <memory>

#include "base/keys/KeyCodes.h"
#include "base/text/Markup.h"
#include "base/input/fun_other.h"
#include "framework/windows/Buttons.h"
#include "framework/runtime/Classes.h"
#include "framework/windows/Clipbrd.h"
#include "framework/windows/StdCtrls.h"

namespace {

constexpr std::uint32_t VirtualKeyV = 'V', VirtualKeyInsert = 0x2D;
constexpr std::uint32_t PasteKeyCtrlV = KeyCodeCtrl + VirtualKeyV;              // 598
constexpr std::uint32_t PasteKeyShiftInsert = KeyCodeShift + VirtualKeyInsert;  // 1069

bool ClipboardHasText() { return Clipboard()->HasFormat(cfUnicodeText) || Clipboard()->HasFormat(cfText); }

}  // namespace

char FilterSignedDecimalKey(char key, const TCustomEdit &edit)
{
    return FilterSignedDecimalKey(key, edit.Text(), edit.SelStart());
}

std::uint32_t FilterPasteKey(std::uint32_t keyCode, int kind)
{
    if (keyCode != PasteKeyCtrlV && keyCode != PasteKeyShiftInsert)
        return keyCode;
    if (ClipboardHasText() && !PasteTextSuits(Clipboard()->AsText(), kind))
        return 0;
    return keyCode;
}

AnsiString LinesToHashText(const TMemo &memo, bool hashBreaks)
{
    const AnsiString text = memo.Lines()->Text();
    return hashBreaks ? StringReplaceAll(text, "\r\n", "#") : text;
}

AnsiString MemoLinesAsText(const TMemo &memo)
{
    const TStrings &lines = *memo.Lines();
    if (lines.Count() == 0)
        return memo.Text();
    AnsiString text;
    for (int i = 0; i < lines.Count(); ++i) {
        if (i > 0)
            text += ' ';  // the lines' own breaks part words as a blank would
        text += lines[i];
    }
    for (char &c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text;
}

int SetMemoMarkupText(const AnsiString &text, TMemo &memo, TCanvas &canvas, int mode)
{
    if (text.empty()) {
        memo.Lines()->Clear();
        return 0;
    }
    const bool byWords = (mode & 1) != 0;
    const bool keepBreak = mode == 0 || mode == 1;
    TFont canvasFont;
    canvasFont.Assign(*canvas.Font());
    canvas.Font()->Assign(*memo.Font());
    auto layout = std::make_unique<MarkupLayout>();
    auto lay = [&](int width) {
        int tallest = 0, total = 0;
        const int count = byWords ? LayoutMarkupTextHash(text, width, canvas, tallest, total, keepBreak, *layout)
                                  : LayoutMarkupTextAltHash(text, width, canvas, tallest, total, keepBreak, *layout);
        return std::make_pair(count, total);
    };
    auto [count, total] = lay(memo.Width() - 5);
    const bool scroll = total > memo.Height() - 5;
    if (scroll)
        count = lay(memo.Width() - 5 - 16).first;  // room for the scroll bar
    const bool horizontal = memo.ScrollBars() == ssHorizontal || memo.ScrollBars() == ssBoth;
    memo.SetScrollBars(scroll ? (horizontal ? ssBoth : ssVertical) : (horizontal ? ssHorizontal : ssNone));
    TStringList lines;
    for (int i = 0; i < count; ++i)
        lines.Add(AnsiString(layout->LineText(text, i)));
    memo.Lines()->Assign(lines);
    const int height = canvas.TextHeight("Wg") * count;
    canvas.Font()->Assign(canvasFont);
    return height;
}

void CopyTextToClipboard(const AnsiString &text)
{
    if (Clipboard()->Clear() && !text.empty())
        Clipboard()->SetAsText(text);
}

AnsiString ReadClipboardText() { return Clipboard()->AsText(); }

int CountExeIcons(const AnsiString &fileName) { return ExecutableIconCount(fileName); }

bool SetButtonGlyphFromExe(const AnsiString &fileName, int index, TSpeedButton *button)
{
    if (button == nullptr)
        return false;
    const int count = ExecutableIconCount(fileName);
    if (count <= 0)
        return false;
    if (index < 0 || index >= count)
        index = 0;
    TIcon icon;
    if (!icon.LoadFromExecutable(fileName, index) || icon.Width() <= 0 || icon.Height() <= 0)
        return false;
    TBitmap *glyph = button->Glyph();
    glyph->SetSize(icon.Width(), icon.Height());
    // The glyph's bottom-left pixel is shown transparent: under an icon's see-through corner that is
    // the button's own face colour.
    glyph->Canvas()->Brush()->SetColor(clBtnFace);
    glyph->Canvas()->FillRect(Rect(0, 0, icon.Width(), icon.Height()));
    icon.Draw(*glyph->Canvas(), 0, 0);
    button->GlyphChanged();
    return true;
}
