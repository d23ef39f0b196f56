// The data-entry supervisor and the clipboard on a real form (under Wine inside Xvfb): pasting checked
// against the current field and then accepted as on Enter, copying a field's selection or text.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "framework/windows/Clipbrd.h"
#include "framework/runtime/SysUtils.h"
#include "tests/controls/supervisor/SpyTestForm.h"
#include "tests/support/ClipboardHeldElsewhere.h"
#include "tests/support/ClipboardTestLock.h"
#include "tests/support/PointerInput.h"

namespace {
// The form with "," as the decimal separator and the field events recorded.
struct ClipForm : SpyForm {
    ClipForm()
    {
        savedSeparator = DecimalSeparator;
        DecimalSeparator = ',';
        spy.OnField = [this](uint8_t event) {
            events.push_back(event);
            return 0;
        };
        Bind();
    }
    ~ClipForm() { DecimalSeparator = savedSeparator; }
    ClipboardTestLock clipboard;
    char savedSeparator;
    std::vector<uint8_t> events;
};

// Puts blocks of the given formats on the clipboard, as another program would.
void PutOnClipboard(HWND owner, std::initializer_list<std::pair<UINT, std::string>> blocks)
{
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    for (const auto &[format, bytes] : blocks) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
        GlobalUnlock(block);
        SetClipboardData(format, block);
    }
    CloseClipboard();
}

std::string Wide(const wchar_t *text)
{
    return std::string(reinterpret_cast<const char *>(text), (wcslen(text) + 1) * 2);
}

const std::vector<uint8_t> CheckAndAccept = {TSpyEdit_Bs::FieldEventCheck, TSpyEdit_Bs::FieldEventAccepted};
}  // namespace

TEST(SpyEditClipboard, PastedNumberIsCheckedAndAcceptedAtOnce)
{
    ClipForm f;
    f.sum->SetText("0,25");
    ASSERT_TRUE(f.spy.EnterField(IdSum));
    ASSERT_TRUE(Clipboard()->SetAsText("1.5"));
    EXPECT_EQ("1,5", f.spy.ClipboardTextForField());
    f.spy.PasteIntoField();
    EXPECT_EQ("1,5", f.sum->Text());
    EXPECT_EQ(CheckAndAccept, f.events);
    EXPECT_TRUE(f.spy.Flags() & SpyFlag::Accepted);
    EXPECT_FALSE(f.spy.Modified());
    EXPECT_DOUBLE_EQ(1.5, f.spy.NewNumber());

    // A letter in an integer field: nothing is pasted, nothing checked.
    ASSERT_TRUE(f.spy.EnterField(IdAmount));
    f.events.clear();
    ASSERT_TRUE(Clipboard()->SetAsText("12a"));
    EXPECT_EQ("", f.spy.ClipboardTextForField());
    f.spy.PasteIntoField();
    EXPECT_EQ("12", f.amount->Text());
    EXPECT_TRUE(f.events.empty());
    EXPECT_FALSE(f.spy.Modified());
    // A whole number replaces the field's text.
    ASSERT_TRUE(Clipboard()->SetAsText("-305"));
    f.spy.PasteIntoField();
    EXPECT_EQ("-305", f.amount->Text());
    EXPECT_EQ(CheckAndAccept, f.events);
    EXPECT_EQ(-305, f.spy.NewInteger());

    // A number of the value the field was entered with is no change: nothing to check or accept.
    f.events.clear();
    ASSERT_TRUE(Clipboard()->SetAsText("012"));
    f.spy.PasteIntoField();
    EXPECT_EQ("012", f.amount->Text());
    EXPECT_TRUE(f.events.empty());
    EXPECT_FALSE(f.spy.Modified());

    // No current field: nothing, whatever the clipboard holds.
    f.spy.BindForm(f.host.form, Ids, f.descriptors.data());
    EXPECT_EQ("", f.spy.ClipboardTextForField());
    f.spy.PasteIntoField();
    EXPECT_EQ("012", f.amount->Text());
}

TEST(SpyEditClipboard, TextEditsAndMemosPasteByThemselves)
{
    ClipForm f;
    ASSERT_TRUE(f.spy.EnterField(IdName));
    f.name->SetSelStart(0);
    f.name->SetSelLength(0);
    ASSERT_TRUE(Clipboard()->SetAsText("Ф. "));
    f.spy.PasteIntoField();
    EXPECT_EQ("Ф. Иванов", f.name->Text());
    EXPECT_EQ(CheckAndAccept, f.events);

    // The memo's pasted line breaks become blanks, the text wrapped anew.
    ASSERT_TRUE(f.spy.EnterField(IdNote));
    f.events.clear();
    f.note->SelectAll();
    ASSERT_TRUE(Clipboard()->SetAsText("новая\r\nстрока"));
    f.spy.PasteIntoField();
    EXPECT_EQ("новая строка", TSpyEdit_Bs::MemoText(f.note));
    EXPECT_EQ(CheckAndAccept, f.events);
    EXPECT_EQ("новая строка", f.spy.NewText());

    // A tab is a control character a memo does not take.
    f.events.clear();
    ASSERT_TRUE(Clipboard()->SetAsText("a\tb"));
    f.spy.PasteIntoField();
    EXPECT_EQ("новая строка", TSpyEdit_Bs::MemoText(f.note));
    EXPECT_TRUE(f.events.empty());
}

TEST(SpyEditClipboard, APasteMessageToTheCurrentFieldIsCheckedAsTheSupervisorsOwnPaste)
{
    ClipForm f;
    // A letter sent to the integer field as the system's paste: nothing is pasted, nothing checked.
    ASSERT_TRUE(f.spy.EnterField(IdAmount));
    f.amount->SelectAll();
    ASSERT_TRUE(Clipboard()->SetAsText("abc"));
    SendMessageW(f.amount->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ("12", f.amount->Text());
    EXPECT_TRUE(f.events.empty());
    // A number goes in whole and is accepted at once.
    ASSERT_TRUE(Clipboard()->SetAsText("345"));
    SendMessageW(f.amount->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ("345", f.amount->Text());
    EXPECT_EQ(CheckAndAccept, f.events);

    // A text field pastes by itself, once, and is checked.
    ASSERT_TRUE(f.spy.EnterField(IdName));
    f.events.clear();
    f.name->SetSelStart(0);
    f.name->SetSelLength(0);
    ASSERT_TRUE(Clipboard()->SetAsText("Ф. "));
    SendMessageW(f.name->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ("Ф. Иванов", f.name->Text());
    EXPECT_EQ(CheckAndAccept, f.events);

    // A field the supervisor has left is no longer watched: it pastes as any edit.
    ASSERT_TRUE(f.spy.EnterField(IdSum));
    f.amount->SelectAll();
    ASSERT_TRUE(Clipboard()->SetAsText("7"));
    SendMessageW(f.amount->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ("7", f.amount->Text());
}

TEST(SpyEditClipboard, TheEditsOwnMenuPastesNoLettersIntoANumberFieldThroughTheWindowSystem)
{
    ClipForm f;
    SetForegroundWindow(f.host.form->Handle());
    ASSERT_TRUE(f.spy.EnterField(IdAmount));
    ASSERT_TRUE(PumpUntil([&] { return f.amount->Focused(); }));
    f.amount->SelectAll();
    ASSERT_TRUE(Clipboard()->SetAsText("abc"));
    // The edit's own context menu, and its Paste item chosen by its key.
    PostMessageW(f.amount->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(f.amount->Handle()), MAKELPARAM(-1, -1));
    KeyStroke('P');
    PumpFor(300);
    EXPECT_EQ("12", f.amount->Text());
    EXPECT_TRUE(f.events.empty());
    // Enter on a number field whose text is no number (put there past the supervisor) refuses it and
    // brings the entry text back.
    f.amount->SetText("abc5");
    f.spy.SetModified(true);
    f.spy.HandleKey(VK_RETURN);
    EXPECT_EQ("12", f.amount->Text());
    EXPECT_TRUE(f.events.empty());
    EXPECT_FALSE(f.spy.Flags() & SpyFlag::Accepted);
}

TEST(SpyEditClipboard, CallbacksControlPastesAndCopiesThroughTheCallback)
{
    ClipForm f;
    f.ServeCodes();
    bool pasted = true;
    AnsiString offered;
    auto serve = f.spy.ControlCallback;
    f.spy.ControlCallback = [&](SSpy_CBIterator *r) {
        if (r->request == SpyRequest::Perform && r->operation == SpyOperation::Paste) {
            EXPECT_EQ(SpyKind::Callback, r->kind);
            offered = r->text;
            f.codes->Items()->SetString(0, r->text);
            return pasted;
        }
        return serve(r);
    };
    ASSERT_TRUE(f.spy.EnterField(IdCodes));
    ASSERT_TRUE(Clipboard()->SetAsText("Z9"));
    f.spy.PasteIntoField();
    EXPECT_EQ("Z9", offered);
    EXPECT_EQ(CheckAndAccept, f.events);

    // The callback did not paste: no check.
    f.events.clear();
    pasted = false;
    ASSERT_TRUE(Clipboard()->SetAsText("Y8"));
    f.spy.PasteIntoField();
    EXPECT_TRUE(f.events.empty());
    EXPECT_FALSE(f.spy.Modified());

    // Copying asks the callback for the text.
    f.spy.CopyFromField();
    EXPECT_EQ("Y8", Clipboard()->AsText());
}

TEST(SpyEditClipboard, ClipboardTextByFormat)
{
    ClipForm f;
    const HWND owner = f.host.form->Handle();
    PutOnClipboard(owner, {{CF_UNICODETEXT, Wide(L"\x0421\x0443\x043C\x043C\x0430 1")}});
    EXPECT_EQ("Сумма 1", TSpyEdit_Bs::PasteText());
    PutOnClipboard(owner, {{CF_TEXT, std::string("abc", 4)}});
    EXPECT_EQ("abc", TSpyEdit_Bs::PasteText());
    // Neither text format: nothing.
    const uint32_t russian = 0x0419;
    PutOnClipboard(owner, {{CF_LOCALE, std::string(reinterpret_cast<const char *>(&russian), 4)}});
    EXPECT_EQ("", TSpyEdit_Bs::PasteText());
    ASSERT_TRUE(Clipboard()->Clear());
    EXPECT_EQ("", TSpyEdit_Bs::PasteText());

    // An empty text leaves the clipboard as it was.
    TSpyEdit_Bs::CopyText("было");
    TSpyEdit_Bs::CopyText("");
    EXPECT_EQ("было", TSpyEdit_Bs::PasteText());
    EXPECT_TRUE(Clipboard()->HasFormat(cfUnicodeText));
    EXPECT_TRUE(Clipboard()->HasFormat(cfText));
    EXPECT_TRUE(Clipboard()->HasFormat(cfLocale));
}

TEST(SpyEditClipboard, CopyingTheSelectionOrTheWholeText)
{
    ClipForm f;
    ASSERT_TRUE(f.spy.EnterField(IdName));
    f.name->SetSelStart(1);
    f.name->SetSelLength(3);
    f.spy.CopyFromField();
    EXPECT_EQ("ван", Clipboard()->AsText());
    f.name->SetSelLength(0);
    f.spy.CopyFromField();
    EXPECT_EQ("Иванов", Clipboard()->AsText());

    // A memo selection across a line break: one blank where the break was.
    ASSERT_TRUE(f.spy.EnterField(IdNote));
    const AnsiString memoText = f.note->Text();
    const size_t from = memoText.find("строка");
    ASSERT_NE(AnsiString::npos, from);
    f.note->SetSelStart(static_cast<int>(from));
    f.note->SetSelLength(static_cast<int>(memoText.find("вто") + 3 - from));
    f.spy.CopyFromField();
    EXPECT_EQ("строка вто", Clipboard()->AsText());
    // Nothing selected: the memo's lines joined by blanks.
    f.note->SetSelLength(0);
    f.spy.CopyFromField();
    EXPECT_EQ("первая строка вторая", Clipboard()->AsText());

    // A long selection comes whole, each line break one blank.
    AnsiString longText, expected;
    for (int i = 0; i < 625; ++i) {
        longText += "абвгдежзийклмн\r\n";
        expected += "абвгдежзийклмн ";
    }
    f.note->SetText(longText);
    f.note->SelectAll();
    ASSERT_EQ(10000, f.note->SelLength());
    f.spy.CopyFromField();
    EXPECT_EQ(expected, Clipboard()->AsText());

    // An empty field copies nothing: the clipboard keeps its text.
    ASSERT_TRUE(f.spy.EnterField(IdName));
    f.name->SetText("");
    f.spy.CopyFromField();
    EXPECT_EQ(expected, Clipboard()->AsText());
}

TEST(SpyEditClipboard, AClipboardHeldByAnotherProgramChangesNothing)
{
    ClipForm f;
    ASSERT_TRUE(Clipboard()->SetAsText("7"));
    ASSERT_TRUE(f.spy.EnterField(IdAmount));
    {
        ClipboardHeldElsewhere held;
        ASSERT_TRUE(held.Opened());
        EXPECT_EQ("", TSpyEdit_Bs::PasteText());
        f.spy.PasteIntoField();
        EXPECT_EQ("12", f.amount->Text());
        EXPECT_TRUE(f.events.empty());
        f.spy.CopyFromField();
    }
    // The copy made while the clipboard was held was not made; the text is where it was.
    EXPECT_EQ("7", Clipboard()->AsText());
    EXPECT_EQ("12", f.amount->Text());
}
