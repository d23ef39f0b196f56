// The data-entry supervisor's key filters and Enter check on a real form (under Wine inside Xvfb).
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "controls/ControlsRun.h"
#include "controls/supervisor/SpyEdit.h"
#include "framework/windows/Forms.h"
#include "framework/windows/StdCtrls.h"
#include "framework/runtime/SysUtils.h"
#include "tests/controls/supervisor/SpyFormPicture.h"
#include "tests/support/FormHost.h"
#include "tests/support/PointerInput.h"

namespace {
enum : uint32_t { IdCount = 1, IdPrice, IdRate, IdShare, IdName, IdNote, IdSigned, IdCodes };

const SpyControlIdRow Ids[] = {
    {IdCount, "edCount"}, {IdPrice, "edPrice"},   {IdRate, "edRate"},    {IdShare, "edShare"}, {IdName, "edName"},
    {IdNote, "mmNote"},   {IdSigned, "edSigned"}, {IdCodes, "lbxCodes"}, {0, nullptr},
};

std::vector<int> firstShown, secondShown;
void ShowFirst(const AnsiString &, int number) { firstShown.push_back(number); }
void ShowSecond(const AnsiString &, int number) { secondShown.push_back(number); }

// A form of number and text fields with a supervisor bound to it; the decimal separator is ",".
struct KeyForm {
    KeyForm()
    {
        savedSeparator = DecimalSeparator;
        DecimalSeparator = ',';
        firstShown.clear();
        secondShown.clear();
        host.form->SetCaption("Клавиши");
        count = Add("edCount", 8, 8);
        price = Add("edPrice", 8, 36);
        rate = Add("edRate", 8, 64);
        share = Add("edShare", 8, 92);
        name = Add("edName", 8, 120);
        signedEdit = Add("edSigned", 8, 148);
        note = host.Add<TMemo>();
        note->SetName("mmNote");
        note->SetBounds(200, 8, 180, 80);
        home = host.Add<TButton>();
        home->SetName("btHome");
        home->SetCaption("Домой");
        home->SetBounds(200, 200, 90, 26);
        descriptors = PackDescriptorTable({
            {IdCount, SpyFieldInteger, 0, 0, 0},
            {IdPrice, SpyFieldShortDecimal, 2, 0, 0},
            {IdRate, SpyFieldLongDecimal, static_cast<uint32_t>(-3), 0, 0},
            {IdShare, SpyFieldLongDecimal, 2, 0, SpyFieldDecimalsFollowText},
            {IdName, 0, 0, 0, 0},
            {IdNote, 0, 0, 0, 0},
            {IdSigned, SpyFieldShortDecimal, 2, 0, SpyFieldSigned},
            {IdCodes, 0, 0, 0, 0},
        });
        spy.HomeControl = home;
        spy.MessageFunction = ShowFirst;
        spy.SecondMessageFunction = ShowSecond;
        spy.OnField = [this](uint8_t event) {
            events.push_back(event);
            return event == TSpyEdit_Bs::FieldEventCheck ? verdict : 0;
        };
        spy.OnAfterKey = [this] { ++afterKeys; };
        host.form->Show();
        spy.BindForm(host.form, Ids, descriptors.data());
    }
    ~KeyForm() { DecimalSeparator = savedSeparator; }

    TEdit *Add(const char *n, int x, int y)
    {
        auto *e = host.Add<TEdit>();
        e->SetName(n);
        e->SetBounds(x, y, 180, 22);
        return e;
    }
    // Enters the field with this text, then the user's text stands in it (the caret at its end) and
    // the field counts as typed into.
    void Edit(uint32_t id, TEdit *edit, const char *before, const char *after)
    {
        edit->SetText(before);
        ASSERT_TRUE(spy.EnterField(id));
        edit->SetText(after);
        edit->SetSelStart(static_cast<int>(edit->Text().size()));
        spy.SetModified(true);
        events.clear();
        afterKeys = 0;
    }
    uint32_t Value(uint32_t id) { return GetDescriptorValue(descriptors.data(), id); }

    TControlsRun run;  // the controls library runs while the form lives
    FormHost host;
    char savedSeparator;
    TEdit *count, *price, *rate, *share, *name, *signedEdit;
    TMemo *note;
    TButton *home;
    std::vector<uint8_t> descriptors;
    TSpyEdit_Bs spy;
    std::vector<uint8_t> events;
    int32_t verdict = 0;
    int afterKeys = 0;
};

// The character the filter keeps when typed at the caret position of the text.
char TypeAt(KeyForm &f, TEdit *edit, const char *text, int caret, char key)
{
    edit->SetText(text);
    edit->SetSelStart(caret);
    return f.spy.KeyPressFilter(key);
}
}  // namespace

TEST(SpyEditKeys, TypedCharactersInNumberAndTextFields)
{
    KeyForm f;
    // Nothing current: everything is refused, Backspace too.
    EXPECT_EQ(0, f.spy.KeyPressFilter('1'));
    EXPECT_EQ(0, f.spy.KeyPressFilter('\b'));
    EXPECT_FALSE(f.spy.Modified());

    ASSERT_TRUE(f.spy.EnterField(IdCount));
    EXPECT_EQ(0, TypeAt(f, f.count, "12", 2, '.'));
    EXPECT_FALSE(f.spy.Modified());
    EXPECT_EQ(IdCount, f.spy.CheckedFieldId());
    for (int caret : {0, 4, 9})
        EXPECT_EQ(0, TypeAt(f, f.count, "123456789", caret, '5')) << caret;
    EXPECT_EQ('5', TypeAt(f, f.count, "12345678", 4, '5'));
    EXPECT_TRUE(f.spy.Modified());
    f.spy.SetModified(false);
    EXPECT_EQ('\b', f.spy.KeyPressFilter('\b'));
    EXPECT_TRUE(f.spy.Modified());
    EXPECT_EQ(0, TypeAt(f, f.count, "", 0, '-'));  // no sign without the flag

    ASSERT_TRUE(f.spy.EnterField(IdPrice));
    EXPECT_EQ(',', TypeAt(f, f.price, "12", 2, '.'));
    EXPECT_EQ(0, TypeAt(f, f.price, "1,5", 3, '.'));
    EXPECT_EQ(0, TypeAt(f, f.price, "1,5", 0, ','));
    EXPECT_EQ(0, TypeAt(f, f.price, "123,456", 7, '7'));
    EXPECT_EQ(0, TypeAt(f, f.price, "123456", 0, '7'));
    EXPECT_EQ('6', TypeAt(f, f.price, "12,34", 5, '6'));
    // The selected separator is replaced by the one typed.
    f.price->SetText("1,5");
    f.price->SetSelStart(1);
    f.price->SetSelLength(1);
    EXPECT_EQ(',', f.spy.KeyPressFilter('.'));

    ASSERT_TRUE(f.spy.EnterField(IdRate));
    EXPECT_EQ(',', TypeAt(f, f.rate, "123456789", 9, '.'));
    EXPECT_EQ(0, TypeAt(f, f.rate, "123456789,5", 3, '1'));
    EXPECT_EQ('1', TypeAt(f, f.rate, "123456789,5", 11, '1'));
    EXPECT_EQ(0, TypeAt(f, f.rate, "1,123456789", 11, '1'));

    ASSERT_TRUE(f.spy.EnterField(IdSigned));
    EXPECT_EQ('-', TypeAt(f, f.signedEdit, "", 0, '-'));
    EXPECT_EQ(0, TypeAt(f, f.signedEdit, "5", 0, '-'));

    // A text field refuses control characters and takes the rest.
    ASSERT_TRUE(f.spy.EnterField(IdName));
    EXPECT_EQ(0, f.spy.KeyPressFilter('\r'));
    EXPECT_EQ(0, f.spy.KeyPressFilter('\t'));
    EXPECT_EQ(0, f.spy.KeyPressFilter(22));
    EXPECT_EQ('.', f.spy.KeyPressFilter('.'));
    EXPECT_EQ('\xFF', f.spy.KeyPressFilter('\xFF'));  // "я"
}

TEST(SpyEditKeys, MemoRefusesEnterAndTabButNotTheClipboardCharacters)
{
    KeyForm f;
    ASSERT_TRUE(f.spy.EnterField(IdNote));
    EXPECT_EQ(0, f.spy.KeyPressFilter('\r'));
    EXPECT_EQ(0, f.spy.KeyPressFilter('\t'));
    EXPECT_EQ(0, f.spy.KeyPressFilter('\n'));
    EXPECT_FALSE(f.spy.Modified());
    for (char c : {char(3), char(22), char(24), 'a', '.', '\xE0'})
        EXPECT_EQ(c, f.spy.KeyPressFilter(c)) << int(c);
    EXPECT_TRUE(f.spy.Modified());
}

TEST(SpyEditKeys, KeyDownShortcutsEscapeAndExit)
{
    KeyForm f;
    int closes = 0;
    f.host.form->OnClose = [&](TObject *, TCloseAction &action) {
        ++closes;
        action = caNone;  // keep the form for the next key
    };
    EXPECT_EQ(0, f.spy.KeyDownFilter(VK_INSERT, ssCtrl, true));
    EXPECT_EQ(0, f.spy.KeyDownFilter(VK_INSERT, ssShift, true));
    EXPECT_EQ('C', f.spy.KeyDownFilter('C', ssCtrl, true));
    EXPECT_EQ('V', f.spy.KeyDownFilter('V', ssCtrl, true));
    EXPECT_EQ(VK_INSERT, f.spy.KeyDownFilter(VK_INSERT, 0, true));
    EXPECT_EQ('A', f.spy.KeyDownFilter('A', 0, true));
    EXPECT_EQ(0u, f.spy.Flags());
    EXPECT_EQ(0, closes);

    EXPECT_EQ(VK_ESCAPE, f.spy.KeyDownFilter(VK_ESCAPE, 0, false));
    EXPECT_TRUE(f.spy.Escaped());
    EXPECT_EQ(0, closes);
    EXPECT_EQ(VK_ESCAPE, f.spy.KeyDownFilter(VK_ESCAPE, 0, true));
    EXPECT_EQ(1, closes);

    EXPECT_EQ(VK_F12, f.spy.KeyDownFilter(VK_F12, 0, false));
    EXPECT_TRUE(f.spy.ExitKey());
    f.spy.SetExitKey(false);
    EXPECT_EQ(VK_F12, f.spy.KeyDownFilter(VK_F12, ssCtrl, true));
    EXPECT_TRUE(f.spy.ExitKey());
    EXPECT_EQ(2, closes);
    // The exit key makes the close query do nothing.
    bool canClose = true;
    EXPECT_FALSE(f.spy.CloseQueryCheck(canClose));

    // A real close: the form goes away.
    f.host.form->OnClose = nullptr;
    f.spy.KeyDownFilter(VK_ESCAPE, 0, true);
    EXPECT_FALSE(f.host.form->Visible());

    // Delete counts as typing in mode 1 (and reaches the owner as it is); in other modes it is a plain key.
    ASSERT_TRUE(f.spy.EnterField(IdName));
    EXPECT_EQ(VK_DELETE, f.spy.KeyDownFilter(VK_DELETE, 0, false));
    EXPECT_TRUE(f.spy.Modified());
    EXPECT_EQ(0, f.afterKeys);
    f.spy.SetModified(false);
    f.spy.SetMode(2);
    EXPECT_EQ(VK_DELETE, f.spy.KeyDownFilter(VK_DELETE, 0, false));
    EXPECT_FALSE(f.spy.Modified());
}

TEST(SpyEditKeys, EnterOnAnUnchangedOrChangedValue)
{
    KeyForm f;
    // 1,50 to 1,5 at two decimals is no change: the flag goes, the owner hears nothing.
    f.Edit(IdPrice, f.price, "1,50", "1,5");
    f.spy.HandleKey(VK_RETURN);
    EXPECT_FALSE(f.spy.Modified());
    EXPECT_TRUE(f.events.empty());
    EXPECT_FALSE(f.spy.Flags() & SpyFlag::Accepted);
    EXPECT_EQ(1, f.afterKeys);
    EXPECT_EQ(SpyFieldShortDecimal, f.spy.CheckedFieldType());
    EXPECT_EQ(IdPrice, f.spy.CheckedFieldId());
    EXPECT_DOUBLE_EQ(1.5, f.spy.NewNumber());
    EXPECT_DOUBLE_EQ(1.5, f.spy.OldNumber());
    EXPECT_EQ("1,5", f.spy.NewText());
    EXPECT_EQ("1,50", f.spy.OldText());

    // Rounded to the decimals, 1,234 and 1,23 are one value; a negative count counts by its magnitude.
    f.Edit(IdRate, f.rate, "1,2341", "1,234");
    EXPECT_FALSE(f.spy.IsValueChanged());

    // An empty text to 0 is a change: exactly one of the two is empty.
    f.Edit(IdPrice, f.price, "", "0");
    f.spy.HandleKey(VK_RETURN);
    EXPECT_EQ((std::vector<uint8_t>{2, 7}), f.events);
    EXPECT_TRUE(f.spy.Flags() & SpyFlag::Accepted);
    EXPECT_FALSE(f.spy.Modified());
    EXPECT_TRUE(f.spy.HasChanges());

    // An integer field compares the numbers: 007 is 7.
    f.Edit(IdCount, f.count, "7", "007");
    EXPECT_FALSE(f.spy.IsValueChanged());
    EXPECT_EQ(7, f.spy.NewInteger());
    f.Edit(IdCount, f.count, "7", "8");
    EXPECT_TRUE(f.spy.IsValueChanged());
    EXPECT_EQ(8, f.spy.NewInteger());
    EXPECT_EQ(7, f.spy.OldInteger());
    // A text field compares the texts.
    f.Edit(IdName, f.name, "Иванов", "Иванов");
    EXPECT_FALSE(f.spy.IsValueChanged());
    f.Edit(IdName, f.name, "Иванов", "Иванова");
    EXPECT_TRUE(f.spy.IsValueChanged());

    // Enter without the modified flag checks nothing but still calls the after-key event.
    f.Edit(IdName, f.name, "a", "b");
    f.spy.SetModified(false);
    f.spy.HandleKey(VK_RETURN);
    EXPECT_TRUE(f.events.empty());
    EXPECT_EQ(1, f.afterKeys);
    f.spy.HandleKey(VK_BACK);
    EXPECT_TRUE(f.spy.Modified());
    EXPECT_EQ(1, f.afterKeys);
}

TEST(SpyEditKeys, RejectionsReportAndRestore)
{
    KeyForm f;
    // An integer that overflows 32 bits: error 302, the old text back, the owner not asked.
    f.Edit(IdCount, f.count, "12", "99999999999");
    f.spy.HandleKey(VK_RETURN);
    EXPECT_EQ("12", f.count->Text());
    EXPECT_EQ(302, f.spy.ErrorCode());
    EXPECT_TRUE(f.spy.Flags() & SpyFlag::Error);
    EXPECT_EQ((std::vector<int>{302}), firstShown);
    EXPECT_TRUE(f.events.empty());
    EXPECT_FALSE(f.spy.Modified());
    EXPECT_FALSE(f.spy.Flags() & SpyFlag::FieldEntered);
    EXPECT_FALSE(f.spy.HasChanges());
    EXPECT_TRUE(f.count->Focused());

    // The owner's error codes: below 1000 to the message function, from 1000 on unchanged to the second.
    f.verdict = 5;
    f.Edit(IdName, f.name, "Иванов", "Петров");
    f.spy.HandleKey(VK_RETURN);
    EXPECT_EQ((std::vector<uint8_t>{2}), f.events);
    EXPECT_EQ("Иванов", f.name->Text());
    EXPECT_EQ(5, f.spy.ErrorCode());
    EXPECT_EQ((std::vector<int>{302, 5}), firstShown);
    f.verdict = 1005;
    f.Edit(IdName, f.name, "Иванов", "Петров");
    f.spy.HandleKey(VK_RETURN);
    EXPECT_EQ((std::vector<int>{1005}), secondShown);
    EXPECT_EQ(1005, f.spy.ErrorCode());
    EXPECT_EQ("Иванов", f.name->Text());

    // A negative code restores without a report and without storing the code.
    f.verdict = -1;
    f.Edit(IdName, f.name, "Иванов", "Петров");
    f.spy.HandleKey(VK_RETURN);
    EXPECT_EQ("Иванов", f.name->Text());
    EXPECT_EQ(0, f.spy.ErrorCode());
    EXPECT_EQ(2u, firstShown.size());
    EXPECT_EQ(1u, secondShown.size());
    EXPECT_FALSE(f.spy.Modified());

    // A memo is restored too, wrapped to its width.
    f.verdict = 9;
    f.note->SetText("старый текст");
    ASSERT_TRUE(f.spy.EnterField(IdNote));
    f.note->SetText("новый");
    f.spy.SetModified(true);
    f.spy.HandleKey(VK_RETURN);
    EXPECT_EQ("старый текст", TSpyEdit_Bs::MemoText(f.note));
    EXPECT_FALSE(f.spy.Modified());

    // Nothing current: nothing to reject.
    f.spy.SelectControl(999);
    f.spy.RejectEntry(7);
    EXPECT_EQ(0, f.spy.ErrorCode());
}

TEST(SpyEditKeys, DecimalsFollowingTheTextAreKeptOnlyForAcceptedValues)
{
    KeyForm f;
    // Rejected: the descriptor keeps the decimals it had before the check.
    f.verdict = 11;
    f.Edit(IdShare, f.share, "1,25", "1,125");
    f.spy.HandleKey(VK_RETURN);
    EXPECT_EQ((std::vector<uint8_t>{2}), f.events);
    EXPECT_EQ(2u, f.Value(IdShare));
    EXPECT_EQ(2, f.spy.Decimals());
    EXPECT_EQ("1,25", f.share->Text());

    // Accepted: the text's three decimals are written into the descriptor.
    f.verdict = 0;
    f.Edit(IdShare, f.share, "1,25", "1,125");
    f.spy.HandleKey(VK_RETURN);
    EXPECT_EQ((std::vector<uint8_t>{2, 7}), f.events);
    EXPECT_EQ(3u, f.Value(IdShare));
    EXPECT_EQ(3, f.spy.Decimals());

    // Equal values shown with other decimals are a change: 1,125 to 1,1250 keeps three, 1,10 has two.
    f.Edit(IdShare, f.share, "1,125", "1,1250");
    EXPECT_FALSE(f.spy.IsValueChanged());
    f.Edit(IdShare, f.share, "1,1", "1,10");
    EXPECT_TRUE(f.spy.IsValueChanged());
    EXPECT_EQ(2u, f.Value(IdShare));
    // Another field's check leaves this descriptor alone.
    f.Edit(IdPrice, f.price, "1", "2");
    f.verdict = 4;
    f.spy.HandleKey(VK_RETURN);
    EXPECT_EQ(2u, f.Value(IdShare));
    EXPECT_EQ(2u, f.Value(IdPrice));
}

TEST(SpyEditKeys, CallbackControlIsRestoredThroughItsRequests)
{
    KeyForm f;
    auto *codes = f.host.Add<TListBox>();
    codes->SetName("lbxCodes");
    codes->SetBounds(200, 100, 90, 60);
    codes->Items()->Add("A1");
    using Requests = std::vector<std::pair<uint8_t, uint8_t>>;
    Requests asked;
    bool writes = true;
    f.spy.ControlCallback = [&](SSpy_CBIterator *r) {
        asked.emplace_back(r->request, r->operation);
        if (r->request == SpyRequest::Classify) {
            if (r->component != codes)
                return false;
            r->kind = SpyKind::Callback;
            r->name = codes->Name();
            return true;
        }
        if (r->request == SpyRequest::ReadText) {
            r->text = codes->Items()->Strings(0);
            return true;
        }
        if (r->request == SpyRequest::Perform && r->operation == SpyOperation::WriteText) {
            EXPECT_EQ(SpyKind::Callback, r->kind);
            if (!writes)
                return false;
            codes->Items()->SetString(0, r->text);
        }
        return true;
    };
    // Typed characters: control characters refused but the clipboard ones; the text compared as text.
    ASSERT_TRUE(f.spy.EnterField(IdCodes));
    EXPECT_EQ(0, f.spy.KeyPressFilter('\r'));
    EXPECT_EQ(22, f.spy.KeyPressFilter(22));
    codes->Items()->SetString(0, "B2");
    f.verdict = 3;
    asked.clear();
    f.spy.HandleKey(VK_RETURN);
    EXPECT_EQ("A1", codes->Items()->Strings(0));
    EXPECT_FALSE(f.spy.Modified());
    const Requests restore = {{SpyRequest::Perform, SpyOperation::WriteText},
                              {SpyRequest::Perform, SpyOperation::Focus}};
    ASSERT_GE(asked.size(), 2u);
    EXPECT_EQ(restore, Requests(asked.end() - 2, asked.end()));
    // A callback that cannot write the text leaves the field modified and is not asked for the focus.
    writes = false;
    f.spy.SetModified(true);
    asked.clear();
    f.spy.RestoreText();
    EXPECT_TRUE(f.spy.Modified());
    EXPECT_EQ((Requests{{SpyRequest::Perform, SpyOperation::WriteText}}), asked);
}

TEST(SpyEditKeys, EnterModes)
{
    KeyForm f;
    // Mode 1: accepted or rejected, Enter on an edit hands the focus home and leaves no field current.
    for (int32_t verdict : {0, 6}) {
        f.verdict = verdict;
        f.Edit(IdName, f.name, "a", "b");
        EXPECT_EQ(VK_RETURN, f.spy.KeyDownFilter(VK_RETURN, 0, false));
        EXPECT_EQ(verdict ? "a" : "b", f.name->Text());
        EXPECT_TRUE(f.home->Focused()) << verdict;
        EXPECT_EQ(SpyKind::None, f.spy.CurrentKind());
        EXPECT_EQ(nullptr, f.spy.CurrentDescriptor());
        EXPECT_EQ(1, f.afterKeys);
    }
    // On a memo Enter checks nothing.
    f.verdict = 0;
    ASSERT_TRUE(f.spy.EnterField(IdNote));
    f.spy.SetModified(true);
    f.events.clear();
    EXPECT_EQ(VK_RETURN, f.spy.ShortcutFilter(VK_RETURN, false));
    EXPECT_TRUE(f.events.empty());
    EXPECT_EQ(SpyKind::Memo, f.spy.CurrentKind());

    // Mode 2: the Enter handler's answer is the modified flag.
    f.spy.SetMode(2);
    bool handlerSays = true;
    f.spy.OnEnter = [&] { return handlerSays; };
    f.spy.SetModified(false);
    EXPECT_EQ(VK_RETURN, f.spy.ShortcutFilter(VK_RETURN, false));
    EXPECT_TRUE(f.spy.Modified());
    handlerSays = false;
    f.spy.ShortcutFilter(VK_RETURN, false);
    EXPECT_FALSE(f.spy.Modified());
    // Other modes: Enter passes untouched.
    f.spy.SetMode(3);
    f.Edit(IdName, f.name, "a", "b");
    EXPECT_EQ(VK_RETURN, f.spy.ShortcutFilter(VK_RETURN, false));
    EXPECT_TRUE(f.spy.Modified());
    EXPECT_TRUE(f.events.empty());
}

TEST(SpyEditKeys, CommitPendingResetsTheErrorCode)
{
    KeyForm f;
    f.Edit(IdName, f.name, "a", "b");
    EXPECT_TRUE(f.spy.CommitPending());
    EXPECT_EQ((std::vector<uint8_t>{2, 7}), f.events);
    f.verdict = 8;
    f.Edit(IdName, f.name, "a", "c");
    EXPECT_FALSE(f.spy.CommitPending());
    EXPECT_EQ(0, f.spy.ErrorCode());
    EXPECT_TRUE(f.spy.Flags() & SpyFlag::Error);  // the flag stays until the next SetErrorCode
    // Nothing typed: nothing to commit.
    f.events.clear();
    EXPECT_TRUE(f.spy.CommitPending());
    EXPECT_TRUE(f.events.empty());
}

namespace {
void Pump()
{
    for (int i = 0; i < 20; ++i) {
        Application->ProcessMessages();
        Sleep(5);
    }
}
}  // namespace

TEST(SpyEditKeys, KeysTypedThroughTheWindowSystem)
{
    KeyForm f;
    // The form's handlers pass their events to the supervisor, as a data-entry screen does.
    for (TEdit *e : {f.price, f.count}) {
        e->OnKeyPress = [&f](TObject *, char &key) { key = f.spy.KeyPressFilter(key); };
        e->OnKeyDown = [&f](TObject *, uint16_t &key, TShiftState shift) {
            key = f.spy.KeyDownFilter(key, shift, false);
        };
        e->OnEnter = [&f, e](TObject *) { f.spy.EnterField(e == f.price ? IdPrice : IdCount); };
    }
    f.price->SetText("");
    SetForegroundWindow(f.host.form->Handle());
    f.price->SetFocus();
    Pump();
    ASSERT_EQ(SpyKind::Edit, f.spy.CurrentKind());
    for (WORD key : {WORD('1'), WORD('2'), WORD(VK_OEM_PERIOD), WORD('5'), WORD(VK_OEM_PERIOD), WORD('A'), WORD('7')})
        KeyStroke(key);
    Pump();
    EXPECT_EQ("12,57", f.price->Text());
    EXPECT_TRUE(f.spy.Modified());
    EXPECT_TRUE(SaveFormPicture(f.host.form, "spyedit_typed_price"));

    KeyStroke(VK_RETURN);
    Pump();
    EXPECT_EQ((std::vector<uint8_t>{2, 7}), f.events);
    EXPECT_TRUE(f.home->Focused());
    EXPECT_EQ(SpyKind::None, f.spy.CurrentKind());

    // The integer field: "." refused, a tenth digit refused.
    f.count->SetText("12345678");
    f.count->SetFocus();
    Pump();
    f.count->SetSelStart(8);
    for (WORD key : {WORD(VK_OEM_PERIOD), WORD('9'), WORD('0')})
        KeyStroke(key);
    Pump();
    EXPECT_EQ("123456789", f.count->Text());
}
