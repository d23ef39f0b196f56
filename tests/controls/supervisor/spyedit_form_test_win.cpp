// The data-entry supervisor on a real form (under Wine inside Xvfb): classifying and attaching its
// controls, entering a field, the close query and the memo's text and wrapping.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "tests/controls/supervisor/SpyFormPicture.h"
#include "tests/controls/supervisor/SpyTestForm.h"

namespace {
// The kind the supervisor gives the named component for an operation (0: not found).
uint8_t KindOf(TSpyEdit_Bs &spy, TForm *form, const char *name, uint8_t operation)
{
    for (int i = 0; i < form->ComponentCount(); ++i) {
        SSpy_CBIterator r;
        r.operation = operation;
        r.index = static_cast<uint32_t>(i);
        if (form->Components(i)->Name() == name)
            return spy.ClassifyControl(&r) ? r.kind : 0;
    }
    ADD_FAILURE() << name;
    return 0;
}

bool answer = false;
int asked = 0;
bool Ask(const AnsiString &text, int number)
{
    EXPECT_TRUE(text.empty());
    EXPECT_EQ(6, number);
    ++asked;
    return answer;
}
}  // namespace

TEST(SpyEditForm, BeforeBindingEverySearchFindsNothing)
{
    SpyForm f;
    int calls = 0;
    f.spy.ControlCallback = [&](SSpy_CBIterator *) { return ++calls, true; };
    EXPECT_FALSE(f.spy.FindControlId(IdName));
    EXPECT_FALSE(f.spy.FindControlIdByName("edName"));
    EXPECT_FALSE(f.spy.FindDescriptor(IdName));
    SSpy_CBIterator r;
    r.kind = 5;
    EXPECT_FALSE(f.spy.ClassifyControl(&r));
    EXPECT_EQ(SpyKind::None, r.kind);
    EXPECT_FALSE(f.spy.AttachControl(SpyOperation::AttachCurrent, "edName"));
    EXPECT_FALSE(f.spy.AttachControl(SpyOperation::AttachSecond, "edName"));
    EXPECT_FALSE(f.spy.SelectControl(IdName));
    EXPECT_FALSE(f.spy.EnterField(IdName));
    EXPECT_FALSE(f.spy.LoadCurrentText());
    EXPECT_FALSE(f.spy.ReadCurrentText());
    EXPECT_FALSE(f.spy.IsCurrentFocused());
    EXPECT_TRUE(f.spy.IsEditEmpty());
    EXPECT_TRUE(f.spy.IsMemoEmpty());
    EXPECT_EQ(nullptr, f.spy.CurrentIdRow());
    EXPECT_EQ(nullptr, f.spy.CurrentDescriptor());
    EXPECT_EQ(SpyKind::None, f.spy.CurrentKind());
    EXPECT_EQ(0u, f.spy.Flags());
    // Only the notices before each search reached the callback: nothing was classified.
    EXPECT_EQ(2, calls);

    // Bound with no tables: still nothing to find.
    f.spy.BindForm(f.host.form, nullptr, nullptr);
    EXPECT_FALSE(f.spy.FindControlId(IdName));
    EXPECT_FALSE(f.spy.FindDescriptor(IdName));
    EXPECT_FALSE(f.spy.EnterField(IdName));
    EXPECT_TRUE(f.spy.AttachControl(SpyOperation::AttachCurrent, "edName"));  // the form alone is searched
}

TEST(SpyEditForm, ClassificationByClassAndOperation)
{
    SpyForm f;
    f.Bind();
    TForm *form = f.host.form;
    EXPECT_EQ(SpyKind::Edit, KindOf(f.spy, form, "edName", SpyOperation::AttachCurrent));
    EXPECT_EQ(SpyKind::Edit, KindOf(f.spy, form, "edAmount", SpyOperation::AttachCurrent));
    EXPECT_EQ(SpyKind::Memo, KindOf(f.spy, form, "mmNote", SpyOperation::Clear));
    // The operations on text find only edits and memos...
    for (uint8_t op :
         {SpyOperation::Clear, SpyOperation::SetPopupMenu, SpyOperation::AttachCurrent, SpyOperation::AttachSecond}) {
        for (const char *n : {"cbKind", "miSave", "btOk", "sbFind", "rbCash", "chkPaid", "lbTitle", "lbxCodes"})
            EXPECT_EQ(0, KindOf(f.spy, form, n, op)) << n << " op " << int(op);
    }
    // ...the others every known class, and a label only for the editable and visible operations.
    for (uint8_t op : {SpyOperation::SetEditable, SpyOperation::SetVisible, SpyOperation::WriteText, uint8_t(0)}) {
        EXPECT_EQ(SpyKind::ComboBox, KindOf(f.spy, form, "cbKind", op));
        EXPECT_EQ(SpyKind::MenuItem, KindOf(f.spy, form, "miSave", op));
        EXPECT_EQ(SpyKind::Button, KindOf(f.spy, form, "btOk", op));
        EXPECT_EQ(SpyKind::SpeedButton, KindOf(f.spy, form, "sbFind", op));
        EXPECT_EQ(SpyKind::RadioButton, KindOf(f.spy, form, "rbCash", op));
        EXPECT_EQ(SpyKind::CheckBox, KindOf(f.spy, form, "chkPaid", op));
        const bool labelled = op == SpyOperation::SetEditable || op == SpyOperation::SetVisible;
        EXPECT_EQ(labelled ? SpyKind::Label : 0, KindOf(f.spy, form, "lbTitle", op)) << int(op);
        EXPECT_EQ(0, KindOf(f.spy, form, "lbxCodes", op));  // no callback: unknown
    }
    // An index beyond the form's components finds nothing.
    SSpy_CBIterator r;
    r.index = static_cast<uint32_t>(form->ComponentCount());
    EXPECT_FALSE(f.spy.ClassifyControl(&r));

    // The callback's control is kind 9 for every operation, and the name and component are taken.
    f.ServeCodes();
    EXPECT_EQ(SpyKind::Callback, KindOf(f.spy, form, "lbxCodes", SpyOperation::AttachCurrent));
    EXPECT_EQ(SpyKind::Callback, KindOf(f.spy, form, "lbxCodes", SpyOperation::SetVisible));
    // Edits and memos are decided before the callback is asked.
    f.requests.clear();
    EXPECT_EQ(SpyKind::Edit, KindOf(f.spy, form, "edName", 0));
    EXPECT_TRUE(f.requests.empty());
}

TEST(SpyEditForm, EnteringAFieldLoadsItsTextAndFocusesIt)
{
    SpyForm f;
    f.spy.HomeControl = f.home;
    f.Bind();
    EXPECT_TRUE(f.home->Focused());

    EXPECT_TRUE(f.spy.EnterField(IdName));
    EXPECT_EQ(SpyKind::Edit, f.spy.CurrentKind());
    EXPECT_EQ(f.name, f.spy.CurrentEdit());
    EXPECT_EQ(IdName, f.spy.CurrentIdRow()->id);
    EXPECT_NE(nullptr, f.spy.CurrentDescriptor());
    EXPECT_EQ("Иванов", f.spy.EntryText());
    EXPECT_EQ("Иванов", f.spy.CurrentText());
    EXPECT_TRUE(f.spy.Flags() & SpyFlag::FieldEntered);
    EXPECT_TRUE(f.name->Focused());
    EXPECT_TRUE(f.spy.IsCurrentFocused());
    EXPECT_FALSE(f.spy.IsFocusedAndModified());
    f.spy.SetModified(true);
    EXPECT_TRUE(f.spy.IsFocusedAndModified());
    EXPECT_FALSE(f.spy.IsEditEmpty());
    EXPECT_TRUE(f.spy.IsMemoEmpty());

    // The text as it stands now and the caret.
    f.name->SetText("Петров");
    f.name->SetSelStart(3);
    EXPECT_TRUE(f.spy.ReadCurrentText());
    EXPECT_EQ("Петров", f.spy.CurrentText());
    EXPECT_EQ("Иванов", f.spy.EntryText());
    EXPECT_EQ(3, f.spy.Caret());

    // Selecting another field resets the error code and the modified flag; its decimals come from
    // its descriptor and the ones before are kept.
    f.spy.SetErrorCode(9);
    EXPECT_TRUE(f.spy.EnterField(IdSum));
    EXPECT_EQ(0, f.spy.ErrorCode());
    EXPECT_FALSE(f.spy.Modified());
    EXPECT_EQ(2, f.spy.Decimals());
    EXPECT_EQ(0, f.spy.PreviousDecimals());
    EXPECT_TRUE(f.spy.EnterField(IdAmount));  // the descendant of TEdit
    EXPECT_EQ(f.amount, f.spy.CurrentEdit());
    EXPECT_EQ(2, f.spy.PreviousDecimals());
    EXPECT_TRUE(f.amount->Focused());

    // The memo's text is its lines joined with one blank.
    EXPECT_TRUE(f.spy.EnterField(IdNote));
    EXPECT_EQ(SpyKind::Memo, f.spy.CurrentKind());
    EXPECT_EQ(f.note, f.spy.CurrentMemo());
    EXPECT_EQ(nullptr, f.spy.CurrentEdit());
    EXPECT_EQ("первая строка вторая", f.spy.EntryText());
    EXPECT_TRUE(f.note->Focused());
    EXPECT_TRUE(f.spy.IsEditEmpty());
    EXPECT_FALSE(f.spy.IsMemoEmpty());
    EXPECT_TRUE(f.spy.ReadCurrentText());
    EXPECT_EQ(-1, f.spy.Caret());
    EXPECT_EQ("первая строка вторая", TSpyEdit_Bs::MemoText(f.note));
    f.note->Lines()->Clear();
    EXPECT_EQ("", TSpyEdit_Bs::MemoText(f.note));
    EXPECT_TRUE(f.spy.IsMemoEmpty());

    // A field found by name only: without a descriptor the field is not entered.
    EXPECT_TRUE(f.spy.FindControlIdByName("edFree"));
    EXPECT_EQ(IdNoDescriptor, f.spy.CurrentIdRow()->id);
    EXPECT_FALSE(f.spy.FindControlIdByName("edfree"));  // names match exactly
    EXPECT_EQ(nullptr, f.spy.CurrentIdRow());
    EXPECT_FALSE(f.spy.EnterField(IdNoDescriptor));
    EXPECT_EQ(nullptr, f.spy.CurrentDescriptor());
    // An id whose component is not on the form, and an unknown id.
    EXPECT_FALSE(f.spy.EnterField(IdMissing));
    EXPECT_EQ(SpyKind::None, f.spy.CurrentKind());
    EXPECT_FALSE(f.spy.EnterField(77));
    EXPECT_EQ(nullptr, f.spy.CurrentIdRow());
    // A combo box is no field: only edits, memos and the callback's controls can be entered.
    EXPECT_FALSE(f.spy.EnterField(IdCombo));

    EXPECT_TRUE(SaveFormPicture(f.host.form, "spyedit_entry_form"));
}

TEST(SpyEditForm, ReadOnlyEditIsNoCurrentFieldButCanBeShownIn)
{
    SpyForm f;
    f.spy.HomeControl = f.home;
    f.Bind();
    EXPECT_TRUE(f.spy.EnterField(IdName));
    EXPECT_FALSE(f.spy.EnterField(IdLocked));
    EXPECT_EQ(SpyKind::None, f.spy.CurrentKind());
    EXPECT_EQ(nullptr, f.spy.CurrentEdit());
    EXPECT_FALSE(f.spy.LoadCurrentText());
    EXPECT_FALSE(f.spy.IsCurrentFocused());
    EXPECT_FALSE(f.locked->Focused());

    EXPECT_FALSE(f.spy.AttachControl(SpyOperation::AttachCurrent, "edLocked"));
    EXPECT_EQ(SpyKind::None, f.spy.CurrentKind());
    EXPECT_TRUE(f.spy.AttachControl(SpyOperation::AttachSecond, "edLocked"));
    EXPECT_EQ(f.locked, f.spy.SecondEdit());
    EXPECT_EQ(SpyKind::Edit, f.spy.SecondKind());
    EXPECT_EQ(nullptr, f.spy.SecondMemo());

    // ReadOnly with TabStop on is attached and entered.
    EXPECT_TRUE(f.spy.EnterField(IdShown));
    EXPECT_EQ(f.shown, f.spy.CurrentEdit());
    EXPECT_EQ("только чтение", f.spy.EntryText());

    // A memo made read-only the same way is refused too.
    f.note->SetTabStop(false);
    EXPECT_FALSE(f.spy.EnterField(IdNote));
    EXPECT_EQ(nullptr, f.spy.CurrentMemo());
    EXPECT_TRUE(f.spy.AttachControl(SpyOperation::AttachSecond, "mmNote"));
    EXPECT_EQ(f.note, f.spy.SecondMemo());
    EXPECT_EQ(nullptr, f.spy.SecondEdit());
}

TEST(SpyEditForm, CallbackControlSeesEachRequestInTurn)
{
    SpyForm f;
    f.ServeCodes();
    f.Bind();
    EXPECT_TRUE(f.spy.EnterField(IdCodes));
    EXPECT_EQ(SpyKind::Callback, f.spy.CurrentKind());
    EXPECT_EQ("A1", f.spy.EntryText());
    EXPECT_TRUE(f.spy.Flags() & SpyFlag::FieldEntered);
    // The list box has TabStop, so the supervisor asked for the focus through the callback.
    EXPECT_EQ((std::vector<uint8_t>{SpyOperation::AttachCurrent, SpyOperation::Focus}), f.performed);
    EXPECT_TRUE(f.spy.IsCurrentFocused());

    // Notice, classification (one request per component looked at), attach, read, focus question.
    std::vector<uint8_t> seen;
    for (uint8_t code : f.requests)
        if (seen.empty() || seen.back() != code)
            seen.push_back(code);
    EXPECT_EQ((std::vector<uint8_t>{SpyRequest::Notice, SpyRequest::Classify, SpyRequest::Perform, SpyRequest::ReadText,
                                    SpyRequest::Perform, SpyRequest::IsFocused}),
              seen);

    f.codes->Items()->SetString(0, "C3");
    EXPECT_TRUE(f.spy.ReadCurrentText());
    EXPECT_EQ("C3", f.spy.CurrentText());
    EXPECT_EQ(-1, f.spy.Caret());

    // A callback that cannot read the text: the field is not entered and the home control has the focus.
    f.spy.HomeControl = f.home;
    auto serve = f.spy.ControlCallback;
    f.spy.ControlCallback = [&](SSpy_CBIterator *r) { return r->request == SpyRequest::ReadText ? false : serve(r); };
    EXPECT_FALSE(f.spy.EnterField(IdCodes));
    EXPECT_TRUE(f.home->Focused());
    EXPECT_FALSE(f.spy.ReadCurrentText());
}

TEST(SpyEditForm, CloseQueryTurnsTheFlagsIntoTheModalResult)
{
    SpyForm f;
    f.Bind();
    int checks = 0;
    bool allow = true;
    f.spy.OnCloseCheck = [&] { return ++checks, allow; };
    f.spy.QuestionFunction = Ask;
    asked = 0;

    // After the exit key nothing happens.
    f.spy.SetExitKey(true);
    f.spy.SetAskAtClose(true);
    f.host.form->SetModalResult(mrNone);
    bool canClose = true;
    EXPECT_FALSE(f.spy.CloseQueryCheck(canClose));
    EXPECT_EQ(mrNone, f.host.form->ModalResult());
    EXPECT_EQ(0, asked);
    EXPECT_TRUE(canClose);
    f.spy.SetExitKey(false);

    // Asked and answered yes: confirmed, modal result 1, the close check consulted.
    answer = true;
    EXPECT_TRUE(f.spy.CloseQueryCheck(canClose));
    EXPECT_EQ(1, asked);
    EXPECT_EQ(mrOk, f.host.form->ModalResult());
    EXPECT_EQ(1, checks);
    EXPECT_TRUE(canClose);
    EXPECT_FALSE(f.spy.CloseConfirmed());
    EXPECT_TRUE(f.spy.Escaped());

    // The close check refuses: can-close becomes false, the result stays true.
    f.spy.SetEscaped(false);
    allow = false;
    EXPECT_TRUE(f.spy.CloseQueryCheck(canClose));
    EXPECT_FALSE(canClose);
    EXPECT_EQ(2, checks);

    // Answered no: modal result 2, no close check.
    f.spy.SetEscaped(false);
    answer = false;
    canClose = true;
    EXPECT_FALSE(f.spy.CloseQueryCheck(canClose));
    EXPECT_EQ(mrCancel, f.host.form->ModalResult());
    EXPECT_EQ(2, checks);
    EXPECT_TRUE(canClose);

    // After Esc the question is not asked; a confirmation given by the owner still counts.
    f.spy.SetEscaped(true);
    asked = 0;
    EXPECT_FALSE(f.spy.CloseQueryCheck(canClose));
    EXPECT_EQ(0, asked);
    f.spy.SetCloseConfirmed(true);
    EXPECT_TRUE(f.spy.CloseQueryCheck(canClose));
    EXPECT_EQ(0, asked);

    // No question function: nothing to ask.
    f.spy.QuestionFunction = nullptr;
    f.spy.SetEscaped(false);
    EXPECT_FALSE(f.spy.CloseQueryCheck(canClose));
    EXPECT_EQ(mrCancel, f.host.form->ModalResult());
}

namespace {
// Widths of the memo's font, measured as the supervisor does.
struct Widths {
    Widths(TForm *form, TMemo *memo)
    {
        TCanvas *canvas = form->Canvas();
        TFont saved;
        saved.Assign(*canvas->Font());
        canvas->Font()->Assign(*memo->Font());
        canvas->CharWidths(w);
        canvas->Font()->Assign(saved);
    }
    int Of(const AnsiString &text) const
    {
        int sum = 0;
        for (unsigned char c : text)
            sum += w[c];
        return sum;
    }
    int w[256];
};

void SetClientWidth(TMemo *memo, int width)
{
    memo->SetWidth(width + (memo->Width() - memo->ClientWidth()));
    ASSERT_EQ(width, memo->ClientWidth());
}

std::vector<AnsiString> LinesOf(TMemo *memo)
{
    std::vector<AnsiString> lines;
    for (int i = 0; i < memo->Lines()->Count(); ++i)
        lines.push_back(memo->Lines()->Strings(i));
    return lines;
}
}  // namespace

TEST(SpyEditForm, AutoSizeTextWrapsAtBlanksStopsAndCommas)
{
    SpyForm f;
    TMemo *memo = f.note;
    memo->Font()->SetHeight(-15);
    TCanvas *canvas = f.host.form->Canvas();
    const AnsiString canvasFont = canvas->Font()->Name();
    const int canvasHeight = canvas->Font()->Height();
    Widths widths(f.host.form, memo);

    // The line breaks before the last separator among the characters that fit; the separator begins
    // the next line, and nothing is lost.
    for (char sep : {' ', '.', ','}) {
        const AnsiString first = "абвгд", second = "ежзийклмнопрст";
        const AnsiString text = first + sep + second;
        SetClientWidth(memo, widths.Of(first + sep + "еж"));
        memo->SetSelStart(3);
        TSpyEdit_Bs::AutoSizeText(text, canvas, memo);
        std::vector<AnsiString> lines = LinesOf(memo);
        ASSERT_GE(lines.size(), 2u) << sep;
        EXPECT_EQ(first, lines[0]) << sep;
        EXPECT_EQ(sep, lines[1][0]);
        AnsiString joined;
        for (const AnsiString &l : lines) {
            EXPECT_LE(widths.Of(l), memo->ClientWidth()) << l;
            joined += l;
        }
        EXPECT_EQ(text, joined);
        EXPECT_EQ(0, memo->SelStart());
        EXPECT_EQ(0, memo->SelLength());
    }

    // Without a separator a line holds all that fits; a separator as the line's first character does
    // not break it.
    SetClientWidth(memo, widths.Of("абвг"));
    TSpyEdit_Bs::AutoSizeText("абвгаб", canvas, memo);
    EXPECT_EQ((std::vector<AnsiString>{"абвг", "аб"}), LinesOf(memo));
    SetClientWidth(memo, widths.Of(" абв"));
    TSpyEdit_Bs::AutoSizeText(" абвгд", canvas, memo);
    EXPECT_EQ(" абв", LinesOf(memo).at(0));

    // A text that fits is one line; an empty text leaves the memo empty.
    SetClientWidth(memo, widths.Of("абвгдежз") + 40);
    TSpyEdit_Bs::AutoSizeText("абв, где", canvas, memo);
    EXPECT_EQ((std::vector<AnsiString>{"абв, где"}), LinesOf(memo));
    TSpyEdit_Bs::AutoSizeText("", canvas, memo);
    EXPECT_EQ("", memo->Text());
    EXPECT_EQ(0, memo->Lines()->Count());

    // A memo narrower than one character takes one character per line.
    memo->SetWidth(4);
    ASSERT_LT(memo->ClientWidth(), widths.w[static_cast<unsigned char>('ж')]);
    TSpyEdit_Bs::AutoSizeText("жук", canvas, memo);
    EXPECT_EQ((std::vector<AnsiString>{"ж", "у", "к"}), LinesOf(memo));

    // The canvas keeps its own font.
    EXPECT_EQ(canvasFont, canvas->Font()->Name());
    EXPECT_EQ(canvasHeight, canvas->Font()->Height());
    memo->SetWidth(282);
    TSpyEdit_Bs::AutoSizeText("Сумма к оплате, включая налог. Итого за месяц", canvas, memo);
    EXPECT_TRUE(SaveFormPicture(f.host.form, "spyedit_wrapped_memo"));
}
