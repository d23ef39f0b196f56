// Editing controls on real windows: the edit's clipboard and margins, closing a combo box's list, the
// masked edit, the rich edit and the up-down (run under Wine inside Xvfb).
#include <gtest/gtest.h>

#include <windows.h>

#include "framework/windows/Clipbrd.h"
#include "framework/windows/ComCtrls.h"
#include "framework/runtime/Cp1251.h"
#include "framework/windows/Forms.h"
#include "framework/windows/Mask.h"
#include "framework/windows/StdCtrls.h"
#include "tests/support/ClipboardTestLock.h"
#include "tests/support/FormHost.h"
#include "tests/support/TempFolder.h"

namespace {
using Host = FormHost;

void Type(TWinControl *control, const char *keys)
{
    for (const char *k = keys; *k; ++k)
        SendMessageW(control->Handle(), WM_CHAR, static_cast<unsigned char>(*k), 1);
}

// A rich edit that counts the keyboard-layout changes it is told of.
struct LangRichEdit : TRichEdit {
    using TRichEdit::TRichEdit;
    void WndProc(TMessage &m) override
    {
        if (m.Msg == WM_INPUTLANGCHANGE) {
            ++changes;
            return;
        }
        TRichEdit::WndProc(m);
    }
    int changes = 0;
};
}  // namespace

TEST(EditControls, EditCutCopyPasteClearAndMargins)
{
    ClipboardTestLock clipboard;
    Host host;
    auto *edit = host.Add<TEdit>();
    edit->SetText("Привет, мир");
    host.form->Show();
    edit->SetSelStart(0);
    edit->SetSelLength(6);
    edit->CutToClipboard();
    EXPECT_EQ(", мир", edit->Text());
    EXPECT_EQ("Привет", Clipboard()->AsText());
    edit->SetSelStart(static_cast<int>(edit->Text().size()));
    edit->PasteFromClipboard();
    EXPECT_EQ(", мирПривет", edit->Text());
    edit->SelectAll();
    edit->CopyToClipboard();
    EXPECT_EQ(", мирПривет", Clipboard()->AsText());
    edit->SetSelStart(0);
    edit->SetSelLength(2);
    edit->ClearSelection();
    EXPECT_EQ("мирПривет", edit->Text());

    // Margins hold across a change of font (which resets the box's own).
    edit->SetMargins(20, 30);
    edit->Font()->SetHeight(-16);
    LRESULT margins = SendMessageW(edit->Handle(), EM_GETMARGINS, 0, 0);
    EXPECT_EQ(20, LOWORD(margins));
    EXPECT_EQ(30, HIWORD(margins));
}

TEST(EditControls, ComboBoxDropDownClosesOnRequest)
{
    Host host;
    auto *combo = host.Add<TComboBox>();
    combo->Items()->Add("Январь");
    combo->Items()->Add("Февраль");
    EXPECT_FALSE(combo->DroppedDown());
    combo->SetDroppedDown(false);  // without a window: nothing to close, nothing made
    EXPECT_FALSE(combo->HandleAllocated());
    host.form->Show();
    combo->SetDroppedDown(true);
    EXPECT_TRUE(combo->DroppedDown());
    combo->SetDroppedDown(false);
    EXPECT_FALSE(combo->DroppedDown());
}

TEST(EditControls, MaskEditKeepsItsLiteralsAndRefusesLetters)
{
    ClipboardTestLock clipboard;
    Host host;
    auto *edit = host.Add<TMaskEdit>();
    edit->SetEditMask("!99/99/9999;0; ");
    EXPECT_EQ("  .  .    ", edit->Text());
    int changes = 0;
    edit->OnChange = [&](TObject *) { ++changes; };
    host.form->Show();
    edit->SetFocus();
    edit->SetSelStart(0);
    Type(edit, "31");
    EXPECT_EQ("31.  .    ", edit->Text());
    EXPECT_EQ(3, edit->SelStart());  // the caret passed the dot
    Type(edit, "xЖ");                // letters are refused
    EXPECT_EQ("31.  .    ", edit->Text());
    Type(edit, "12.2026");  // a typed dot is no digit either; the places go on after it
    EXPECT_EQ("31.12.2026", edit->Text());
    Type(edit, "7");  // no place left
    EXPECT_EQ("31.12.2026", edit->Text());
    EXPECT_GT(changes, 0);

    // Backspace empties the place before the caret, passing over the dot; Delete the place at it.
    edit->SetSelStart(3);
    Type(edit, "\b");
    EXPECT_EQ("3 .12.2026", edit->Text());
    EXPECT_EQ(1, edit->SelStart());
    edit->SetSelStart(6);
    SendMessageW(edit->Handle(), WM_KEYDOWN, VK_DELETE, 1);
    EXPECT_EQ("3 .12. 026", edit->Text());

    // A text given is laid onto the mask; a pasted one fills the places or is refused whole.
    edit->SetText("01022003");
    EXPECT_EQ("01.02.2003", edit->Text());
    ASSERT_TRUE(Clipboard()->SetAsText("15.06"));
    edit->SetSelStart(0);
    edit->PasteFromClipboard();
    EXPECT_EQ("15.06.2003", edit->Text());
    ASSERT_TRUE(Clipboard()->SetAsText("1a"));
    edit->SetSelStart(0);
    edit->PasteFromClipboard();
    EXPECT_EQ("15.06.2003", edit->Text());
    edit->SetSelStart(0);
    edit->SetSelLength(5);
    edit->CutToClipboard();
    EXPECT_EQ("  .  .2003", edit->Text());
    EXPECT_EQ("15.06", Clipboard()->AsText());
}

TEST(EditControls, RichEditLoadsACyrillicFileAndHearsLayoutChanges)
{
    ClipboardTestLock clipboard;
    TempFolder folder;
    AnsiString file = folder / "протокол.txt";
    WriteWholeFile(file, "Первая строка\r\nВторая строка — Ёё Її Єє\r\n");
    Host host;
    auto *rich = host.Add<LangRichEdit>();
    rich->SetBounds(0, 0, 300, 150);
    rich->SetPlainText(true);
    rich->SetReadOnly(true);
    rich->SetScrollBars(ssBoth);
    host.form->Show();
    wchar_t cls[64];
    GetClassNameW(rich->Handle(), cls, 64);
    // Class names compare without letter case.
    EXPECT_TRUE(_wcsicmp(cls, L"RICHEDIT50W") == 0 || _wcsicmp(cls, L"RichEdit20W") == 0) << WideToCp1251(cls);

    rich->Lines()->LoadFromFile(file);
    rich->Lines()->Insert(0, "Просмотр файла протокол.txt");
    ASSERT_EQ(3, rich->Lines()->Count());
    EXPECT_EQ("Просмотр файла протокол.txt", rich->Lines()->Strings(0));
    EXPECT_EQ("Первая строка", rich->Lines()->Strings(1));
    EXPECT_EQ("Вторая строка — Ёё Її Єє", rich->Lines()->Strings(2));
    rich->SetSelStart(0);
    rich->ScrollToCaret();
    EXPECT_EQ(0, rich->SelStart());
    rich->SetSelLength(8);
    EXPECT_EQ("Просмотр", rich->SelText());
    rich->CopyToClipboard();
    EXPECT_EQ("Просмотр", Clipboard()->AsText());
    EXPECT_THROW(rich->Lines()->LoadFromFile(folder / "нет.txt"), EFOpenError);

    // A layout change reaches the subclass's WndProc; activating a layout goes to the system.
    rich->SetFocus();
    SendMessageW(rich->Handle(), WM_INPUTLANGCHANGE, 0, 0x04190419);
    EXPECT_EQ(1, rich->changes);
    unsigned short before = ActiveKeyboardLanguage();
    if (ActivateKeyboardLayoutOf(0x0419)) {
        EXPECT_EQ(0x0419, ActiveKeyboardLanguage());
    }
    ActivateKeyboardLayoutOf(before);
}

TEST(EditControls, UpDownStepsItsAssociatedEdit)
{
    Host host;
    auto *edit = host.Add<TEdit>();
    edit->SetBounds(10, 10, 80, 21);
    auto *updown = host.Add<TUpDown>();
    updown->SetMin(1900);
    updown->SetMax(2222);
    updown->SetThousands(false);
    updown->SetAssociate(edit);
    updown->SetPosition(2026);
    host.form->Show();
    EXPECT_EQ("2026", edit->Text());
    int clicks = 0;
    updown->OnClick = [&](TObject *) { ++clicks; };
    SendMessageW(updown->Handle(), WM_KEYDOWN, VK_UP, 1);
    EXPECT_EQ(2027, updown->Position());
    EXPECT_EQ("2027", edit->Text());
    EXPECT_EQ(1, clicks);
    updown->SetPosition(5000);
    EXPECT_EQ(2222, updown->Position());
    // The associated edit may go first.
    edit->Free();
    EXPECT_EQ(nullptr, updown->Associate());
}
