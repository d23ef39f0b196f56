// The utilities that work on edits and memos, the clipboard and the icons of executables.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/input/fun_other.h"
#include "framework/windows/Buttons.h"
#include "framework/runtime/Classes.h"
#include "framework/windows/Clipbrd.h"
#include "framework/windows/Forms.h"
#include "framework/runtime/Kernel.h"
#include "framework/windows/StdCtrls.h"
#include "tests/support/ClipboardHeldElsewhere.h"
#include "tests/support/ClipboardTestLock.h"
#include "tests/support/FormHost.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WindowPicture.h"

namespace {

constexpr std::uint32_t CtrlV = 512 + 'V', ShiftInsert = 1024 + 0x2D;

AnsiString HelperWithTwoIcons()
{
    AnsiString name = QMT_HELPER_DIR;
    name += "\\twoicons.exe";
    return name;
}

}  // namespace

TEST(FilterSignedDecimalKey, OverAnEditsTextAndCaret)
{
    DecimalSeparator = ',';
    FormHost host;
    auto *edit = host.Add<TEdit>();
    edit->SetText("1,5");
    edit->SetSelStart(0);
    EXPECT_EQ(FilterSignedDecimalKey('-', *edit), '-');
    edit->SetSelStart(2);
    EXPECT_EQ(FilterSignedDecimalKey('-', *edit), 0);  // the caret is not at the start
    EXPECT_EQ(FilterSignedDecimalKey('.', *edit), 0);  // a second separator
    EXPECT_EQ(FilterSignedDecimalKey('7', *edit), '7');
    edit->SetText("15");
    EXPECT_EQ(FilterSignedDecimalKey('.', *edit), ',');
}

TEST(FilterPasteKey, RefusesThePasteKeysWhileTheClipboardTextDoesNotSuit)
{
    ClipboardTestLock clipboard;
    CopyTextToClipboard("12a");
    for (std::uint32_t paste : {CtrlV, ShiftInsert}) {
        EXPECT_EQ(FilterPasteKey(paste, 1), 0u) << paste;
        EXPECT_EQ(FilterPasteKey(paste, 2), 0u) << paste;
        EXPECT_EQ(FilterPasteKey(paste, 0), paste) << paste;  // any text without control characters
    }
    // Other keys pass, Ctrl+Insert (copy) and V with other modifiers among them.
    for (std::uint32_t other : {std::uint32_t('V'), 256u + 'V', 1024u + 'V', 512u + 0x2D, 512u + 1024 + 'V', 0u})
        EXPECT_EQ(FilterPasteKey(other, 1), other) << other;
    CopyTextToClipboard("-12");
    EXPECT_EQ(FilterPasteKey(CtrlV, 1), CtrlV);
    CopyTextToClipboard("a\r\nb");
    EXPECT_EQ(FilterPasteKey(ShiftInsert, 0), 0u);
    EXPECT_EQ(FilterPasteKey(ShiftInsert, 3), ShiftInsert);
    CopyTextToClipboard("");  // no text on the clipboard: nothing to refuse
    EXPECT_EQ(FilterPasteKey(CtrlV, 1), CtrlV);
}

TEST(Clipboard, CopiedTextIsReadBackByEveryReader)
{
    ClipboardTestLock clipboard;
    CopyTextToClipboard("Текст Її Єє №5");
    EXPECT_EQ(ReadClipboardText(), "Текст Її Єє №5");
    EXPECT_TRUE(Clipboard()->HasFormat(cfUnicodeText));
    EXPECT_TRUE(Clipboard()->HasFormat(cfText));
    EXPECT_TRUE(Clipboard()->HasFormat(cfLocale));
    ASSERT_TRUE(OpenClipboard(nullptr));  // a program reading the Unicode text sees the Cyrillic
    const auto *wide = static_cast<const wchar_t *>(GlobalLock(GetClipboardData(CF_UNICODETEXT)));
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide[0], 0x0422);  // Т
    EXPECT_EQ(wide[6], 0x0407);  // Ї
    GlobalUnlock(GetClipboardData(CF_UNICODETEXT));
    CloseClipboard();
    CopyTextToClipboard("");  // an empty text empties the clipboard
    EXPECT_TRUE(Clipboard()->Formats().empty());
    EXPECT_EQ(ReadClipboardText(), "");
}

TEST(Clipboard, HeldByAnotherProgramNothingIsLost)
{
    ClipboardTestLock clipboard;
    CopyTextToClipboard("до");
    {
        ClipboardHeldElsewhere held;
        ASSERT_TRUE(held.Opened());
        CopyTextToClipboard("после");  // cannot be opened: nothing happens
        EXPECT_EQ(ReadClipboardText(), "");
        EXPECT_EQ(FilterPasteKey(CtrlV, 1), 0u);  // a text that cannot be read does not suit a number
    }
    EXPECT_EQ(ReadClipboardText(), "до");
    CopyTextToClipboard("");
}

TEST(MemoTexts, LinesToHashTextAndMemoLinesAsText)
{
    FormHost host;
    auto *memo = host.Add<TMemo>();
    memo->Lines()->Add("первая");
    memo->Lines()->Add("вторая строка");
    EXPECT_EQ(LinesToHashText(*memo, true), "первая#вторая строка#");
    EXPECT_EQ(LinesToHashText(*memo, false), "первая\r\nвторая строка\r\n");
    EXPECT_EQ(MemoLinesAsText(*memo), "первая вторая строка");
    memo->Lines()->Clear();
    EXPECT_EQ(LinesToHashText(*memo, true), "");
    EXPECT_EQ(MemoLinesAsText(*memo), "");
}

TEST(SetMemoMarkupText, ShowsTheScrollBarOnlyForATextHigherThanTheMemo)
{
    FormHost host;
    auto *memo = host.Add<TMemo>();
    memo->SetBounds(8, 8, 220, 90);
    TCanvas &canvas = *host.form->Canvas();
    canvas.Font()->SetName("Courier New");
    const int lineHeight = [&] {
        canvas.Font()->Assign(*memo->Font());
        const int h = canvas.TextHeight("Wg");
        canvas.Font()->SetName("Courier New");
        return h;
    }();

    EXPECT_EQ(SetMemoMarkupText("Короткий текст", *memo, canvas, 1), lineHeight);
    EXPECT_EQ(memo->ScrollBars(), ssNone);
    EXPECT_EQ(memo->Lines()->Count(), 1);
    EXPECT_EQ(canvas.Font()->Name(), "Courier New");  // the canvas keeps its font

    AnsiString tall;
    for (int i = 1; i <= 12; ++i)
        tall += "Строка номер " + IntToStr(i) + " достаточно длинная для переноса#";
    const int height = SetMemoMarkupText(tall, *memo, canvas, 1);
    EXPECT_EQ(memo->ScrollBars(), ssVertical);
    const int lines = memo->Lines()->Count();
    EXPECT_GT(lines, 12);  // long lines were broken
    EXPECT_EQ(height, lineHeight * lines);
    canvas.Font()->Assign(*memo->Font());
    for (int i = 0; i < lines; ++i)  // laid out narrower, beside the scroll bar
        EXPECT_LT(canvas.TextWidth((*memo->Lines())[i]), memo->Width() - 5 - 16 + 1) << (*memo->Lines())[i];

    host.form->Show();
    host.form->Repaint();
    EXPECT_TRUE(SaveScreenshot(host.form->Handle(), "fun_other_memo_markup_text_with_scroll_bar"));

    SetMemoMarkupText("Снова коротко", *memo, canvas, 1);  // the bar goes again
    EXPECT_EQ(memo->ScrollBars(), ssNone);
    memo->SetScrollBars(ssHorizontal);
    SetMemoMarkupText(tall, *memo, canvas, 3);
    EXPECT_EQ(memo->ScrollBars(), ssBoth);  // a horizontal bar stays
    EXPECT_EQ(SetMemoMarkupText("", *memo, canvas, 1), 0);
    EXPECT_EQ(memo->Lines()->Count(), 0);
}

TEST(SetMemoMarkupText, ModesChooseTheBreakingAndWhetherTheHashStays)
{
    FormHost host;
    auto *memo = host.Add<TMemo>();
    memo->SetBounds(8, 8, 300, 120);
    TCanvas &canvas = *host.form->Canvas();
    auto linesOf = [&](int mode) {
        SetMemoMarkupText("один#два три", *memo, canvas, mode);
        return memo->Lines()->Text();
    };
    EXPECT_EQ(linesOf(1), "один#\r\nдва три\r\n");                     // by words, the "#" kept
    EXPECT_EQ(linesOf(3), "один\r\nдва три\r\n");                      // by words, the "#" dropped
    EXPECT_EQ(linesOf(0), "один#два три\r\n");                         // by characters, "#" kept as a character
    EXPECT_EQ(linesOf(2), "один\r\nдва три\r\n");                      // by characters, "#" breaks
    SetMemoMarkupText("\x01Ж\x01Жирный заголовок", *memo, canvas, 1);  // format blocks are not shown
    EXPECT_EQ(memo->Lines()->Text(), "Жирный заголовок\r\n");
}

TEST(ExeIcons, CountAndGlyphOfAnIndex)
{
    const AnsiString helper = HelperWithTwoIcons();
    ASSERT_TRUE(FileExists(helper)) << helper;
    EXPECT_EQ(CountExeIcons(helper), 2);
    FormHost host;
    host.form->SetCaption("Значки программы");
    auto *red = host.Add<TSpeedButton>();
    red->SetBounds(8, 8, 120, 44);
    red->SetCaption("Первый");
    auto *blue = host.Add<TSpeedButton>();
    blue->SetBounds(136, 8, 120, 44);
    blue->SetCaption("Второй");
    ASSERT_TRUE(SetButtonGlyphFromExe(helper, 0, red));
    ASSERT_TRUE(SetButtonGlyphFromExe(helper, 1, blue));
    TBitmap *glyph = blue->Glyph();
    ASSERT_GE(glyph->Width(), 16);
    EXPECT_EQ(glyph->Width(), glyph->Height());
    const int middle = glyph->Width() / 2;
    EXPECT_EQ(glyph->Canvas()->Pixel(middle, middle), clBlue);
    EXPECT_EQ(red->Glyph()->Canvas()->Pixel(middle, middle), clRed);
    // The icon's see-through border shows the button's face.
    EXPECT_EQ(static_cast<uint32_t>(glyph->Canvas()->Pixel(0, glyph->Height() - 1)), ColorToRGB(clBtnFace));
    host.form->Show();
    host.form->Repaint();
    EXPECT_TRUE(SaveScreenshot(host.form->Handle(), "fun_other_buttons_with_exe_icons"));

    // An index out of range takes the first icon.
    for (int index : {2, 99, -1}) {
        ASSERT_TRUE(SetButtonGlyphFromExe(helper, index, blue)) << index;
        EXPECT_EQ(blue->Glyph()->Canvas()->Pixel(middle, middle), clRed) << index;
    }
    EXPECT_FALSE(SetButtonGlyphFromExe(helper, 0, nullptr));
}

TEST(ExeIcons, AFileWithoutIconsLeavesTheGlyphAsItWas)
{
    TempFolder folder;
    const AnsiString text = folder / "не программа.exe";
    WriteWholeFile(text, "MZ no image");
    const AnsiString missing = folder / "нет такой.exe";
    EXPECT_EQ(CountExeIcons(text), 0);
    EXPECT_EQ(CountExeIcons(missing), 0);
    EXPECT_EQ(CountExeIcons(GetModuleFileName()), 0);  // a program without icons
    FormHost host;
    auto *button = host.Add<TSpeedButton>();
    button->Glyph()->SetSize(16, 16);
    button->Glyph()->Canvas()->Brush()->SetColor(clLime);
    button->Glyph()->Canvas()->FillRect(Rect(0, 0, 16, 16));
    for (const AnsiString &name : {text, missing}) {
        EXPECT_FALSE(SetButtonGlyphFromExe(name, 0, button)) << name;
        EXPECT_EQ(button->Glyph()->Width(), 16);
        EXPECT_EQ(button->Glyph()->Canvas()->Pixel(8, 8), clLime);
    }
}
