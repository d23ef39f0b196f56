// The data-entry supervisor's operations on controls named by their component names, on a real form
// (under Wine inside Xvfb): clearing, popup menus, editable and visible, enabling by the focus, the
// Show operations and tags from the control-id table.
#include <gtest/gtest.h>

#include <windows.h>

#include <cfloat>

#include "tests/controls/supervisor/SpyFormPicture.h"
#include "tests/controls/supervisor/SpyTestForm.h"

namespace {
constexpr TColor WindowColour = 0x80000005, ButtonFaceColour = 0x8000000F;

// Every control but the named ones keeps its text.
void ExpectTexts(SpyForm &f, const char *name, const char *sum, const char *amount)
{
    EXPECT_EQ(name, f.name->Text());
    EXPECT_EQ(sum, f.sum->Text());
    EXPECT_EQ(amount, f.amount->Text());
}
}  // namespace

TEST(SpyEditNames, ClearAndPopupReachEveryNamedFieldAndSkipEmptyAndUnknownNames)
{
    SpyForm f;
    f.Bind();
    f.spy.ClearTextByNames("edName##edSum");
    ExpectTexts(f, "", "", "12");
    // A name no component carries is skipped; the names after it are still reached.
    f.spy.ClearTextByNames("#edNowhere#edAmount#");
    ExpectTexts(f, "", "", "");
    f.spy.ClearTextByNames("mmNote");
    EXPECT_EQ("", f.note->Text());
    // A text operation finds only edits and memos: a combo box of that name is left alone.
    f.combo->Items()->Add("один");
    f.combo->SetItemIndex(0);
    f.spy.ClearTextByNames("cbKind#btOk");
    EXPECT_EQ(0, f.combo->ItemIndex());
    EXPECT_EQ("Записать", f.ok->Caption());
    f.spy.ClearTextByNames("");

    TPopupMenu menu(nullptr);
    f.spy.SetPopupByNames("edName#mmNote#btOk", &menu);
    EXPECT_EQ(&menu, f.name->PopupMenu());
    EXPECT_EQ(&menu, f.note->PopupMenu());
    EXPECT_EQ(nullptr, f.ok->PopupMenu());
    EXPECT_EQ(nullptr, f.sum->PopupMenu());
    f.spy.SetPopupByNames("edName", nullptr);
    EXPECT_EQ(nullptr, f.name->PopupMenu());
}

TEST(SpyEditNames, EditableGivesReadOnlyTabStopAndColourOrEnabled)
{
    SpyForm f;
    f.Bind();
    f.combo->SetStyle(csDropDownList);
    const char *all = "edName#mmNote#cbKind#btOk#sbFind#chkPaid#rbCash#miSave#lbTitle";
    for (bool editable : {false, true, false}) {
        f.spy.SetEditableByNames(all, editable);
        const TColor colour = editable ? WindowColour : ButtonFaceColour;
        EXPECT_EQ(!editable, f.name->ReadOnly());
        EXPECT_EQ(editable, f.name->TabStop());
        EXPECT_EQ(colour, f.name->Color());
        EXPECT_EQ(!editable, f.note->ReadOnly());
        EXPECT_EQ(editable, f.note->TabStop());
        EXPECT_EQ(colour, f.note->Color());
        EXPECT_EQ(editable, f.combo->Enabled());
        EXPECT_EQ(editable, f.combo->TabStop());
        EXPECT_EQ(colour, f.combo->Color());
        EXPECT_EQ(csDropDownList, f.combo->Style());
        for (TControl *c : std::initializer_list<TControl *>{f.ok, f.speed, f.check, f.radio})
            EXPECT_EQ(editable, c->Enabled()) << c->Name();
        EXPECT_EQ(editable, f.menuItem->Enabled());
        // A label is only shown or hidden.
        EXPECT_TRUE(f.title->Enabled());
    }
    // Controls not named keep their state.
    EXPECT_FALSE(f.sum->ReadOnly());
    EXPECT_TRUE(f.sum->TabStop());
    EXPECT_TRUE(f.home->Enabled());
    EXPECT_TRUE(SaveFormPicture(f.host.form, "spyedit_fields_read_only"));

    // The second entry does the same; a read-only field cannot become current, an editable one can.
    f.spy.SetEnabledByNames("edName", true);
    EXPECT_FALSE(f.name->ReadOnly());
    EXPECT_EQ(WindowColour, f.name->Color());
    EXPECT_TRUE(f.spy.EnterField(IdName));
    f.spy.SetEnabledByNames("edName", false);
    EXPECT_FALSE(f.spy.EnterField(IdName));

    // The static forms work on their control alone, with the colour given.
    TSpyEdit_Bs::SetEditable(f.sum, false, clYellow);
    EXPECT_TRUE(f.sum->ReadOnly());
    EXPECT_FALSE(f.sum->TabStop());
    EXPECT_EQ(clYellow, f.sum->Color());
    TSpyEdit_Bs::SetReadOnly(nullptr, true, clYellow);
    TSpyEdit_Bs::SetComboEditable(nullptr, true, clYellow);
}

TEST(SpyEditNames, VisibleAndTheCallbacksControl)
{
    SpyForm f;
    f.ServeCodes();
    f.Bind();
    f.spy.SetVisibleByNames("lbTitle#edSum#mmNote#miSave#btOk#lbxCodes", false);
    EXPECT_FALSE(f.title->Visible());
    EXPECT_FALSE(f.sum->Visible());
    EXPECT_FALSE(f.note->Visible());
    EXPECT_FALSE(f.menuItem->Visible());
    EXPECT_FALSE(f.ok->Visible());
    EXPECT_TRUE(f.name->Visible());
    // The callback's control got the request itself: perform, the visible operation, kind 9.
    EXPECT_EQ(std::vector<uint8_t>{SpyOperation::SetVisible}, f.performed);
    EXPECT_TRUE(f.codes->Visible());
    f.spy.SetVisibleByNames("lbTitle#btOk", true);
    EXPECT_TRUE(f.title->Visible());
    EXPECT_TRUE(f.ok->Visible());

    // ApplyDescriptor refuses kind 0 and kinds above 10, and takes a pair that does nothing.
    SSpy_CBIterator r;
    r.operation = SpyOperation::Clear;
    r.component = f.ok;
    for (uint8_t kind : {uint8_t(0), uint8_t(11), uint8_t(255)}) {
        r.kind = kind;
        EXPECT_FALSE(f.spy.ApplyDescriptor(&r)) << int(kind);
    }
    r.kind = SpyKind::Button;
    EXPECT_TRUE(f.spy.ApplyDescriptor(&r));
    EXPECT_TRUE(f.ok->Visible());
    EXPECT_FALSE(f.spy.ApplyDescriptor(nullptr));
    // A kind a callback claimed for a component of another class changes nothing.
    r.kind = SpyKind::Edit;
    r.component = f.combo;
    r.operation = SpyOperation::SetVisible;
    r.visible = false;
    EXPECT_TRUE(f.spy.ApplyDescriptor(&r));
    EXPECT_TRUE(f.combo->Visible());
}

TEST(SpyEditNames, NamedButtonsAreEnabledOnlyWhileTheFocusedFieldIsModified)
{
    SpyForm f;
    f.spy.HomeControl = f.home;
    f.Bind();
    const char *saves = "btOk#miSave";
    auto expectEnabled = [&](bool on) {
        f.spy.UpdateEnabledByFocus(Screen, saves);
        EXPECT_EQ(on, f.ok->Enabled());
        EXPECT_EQ(on, f.menuItem->Enabled());
    };
    ASSERT_TRUE(f.home->Focused());
    expectEnabled(false);  // no current field

    ASSERT_TRUE(f.spy.EnterField(IdName));
    ASSERT_TRUE(f.name->Focused());
    expectEnabled(false);  // not modified
    f.spy.SetModified(true);
    expectEnabled(true);
    // The focus elsewhere: the current field is not the active control.
    f.sum->SetFocus();
    expectEnabled(false);
    f.name->SetFocus();
    expectEnabled(true);

    // A memo counts as well; a callback's control has no name to compare.
    ASSERT_TRUE(f.spy.EnterField(IdNote));
    f.spy.SetModified(true);
    expectEnabled(true);
    f.ServeCodes();
    ASSERT_TRUE(f.spy.EnterField(IdCodes));
    ASSERT_TRUE(f.codes->Focused());
    f.spy.SetModified(true);
    expectEnabled(false);
    f.spy.UpdateEnabledByFocus(nullptr, saves);  // no screen: nothing
    EXPECT_FALSE(f.ok->Enabled());
}

TEST(SpyEditNames, ShowRealWritesAnEditWithItsColourAndKeepsTheCurrentField)
{
    SpyForm f;
    f.Bind();
    f.spy.NormalColour = clBlack;
    f.spy.SecondColour = clRed;
    ASSERT_TRUE(f.spy.EnterField(IdName));

    f.spy.ShowRealByName("edSum", 2, false, 0, true, false, 1e-11);
    EXPECT_EQ("0", f.sum->Text());
    EXPECT_EQ(clBlack, f.sum->Font()->Color());
    f.spy.ShowRealByName("edSum", 2, false, 0, false, true, 1e-11);
    EXPECT_EQ("", f.sum->Text());
    EXPECT_EQ(clRed, f.sum->Font()->Color());
    // The mark colour goes before the second colour.
    f.spy.ShowRealByName("edSum", 2, true, 0, false, true, 2.5);
    EXPECT_EQ("2,50", f.sum->Text());
    EXPECT_EQ(clGreen, f.sum->Font()->Color());
    f.spy.ShowRealByName("edSum", 9, false, 9, false, false, DBL_MAX);
    EXPECT_EQ(319u, f.sum->Text().size());
    EXPECT_EQ(",000000000", f.sum->Text().substr(309));
    f.spy.ShowRealByName("edSum", 9, false, 9, false, false, -DBL_MAX);
    EXPECT_EQ(320u, f.sum->Text().size());
    EXPECT_EQ("-17976931348623157", f.sum->Text().substr(0, 18));

    // Decimals 99: those of the name's descriptor, read when the value is shown.
    f.spy.ShowRealByName("edSum", 99, false, 0, false, false, 3.14159);
    EXPECT_EQ("3,14", f.sum->Text());
    SetDescriptorValue(f.descriptors.data(), IdSum, 4);
    f.spy.ShowRealByName("edSum", 99, false, 0, false, false, 3.14159);
    EXPECT_EQ("3,1416", f.sum->Text());
    SetDescriptorValue(f.descriptors.data(), IdSum, static_cast<uint32_t>(-4));
    f.spy.ShowRealByName("edSum", 99, false, 0, false, false, 3.5);
    EXPECT_EQ("3,5", f.sum->Text());
    f.spy.ShowRealByName("edSum", 99, false, 2, false, false, 3.5);
    EXPECT_EQ("3,50", f.sum->Text());
    // An edit with no row in the control-id table gets nothing with decimals 99, its value otherwise.
    auto *extra = f.host.Add<TEdit>();
    extra->SetName("edExtra");
    extra->SetText("как было");
    f.spy.ShowRealByName("edExtra", 99, false, 0, false, false, 3.5);
    EXPECT_EQ("как было", extra->Text());
    f.spy.ShowRealByName("edExtra", 1, false, 0, false, false, 3.5);
    EXPECT_EQ("3,5", extra->Text());

    // Through all of it the current field stayed the name edit.
    EXPECT_EQ(SpyKind::Edit, f.spy.CurrentKind());
    EXPECT_EQ(f.name, f.spy.CurrentEdit());
    EXPECT_EQ(IdName, f.spy.CurrentIdRow()->id);
    EXPECT_EQ(extra, f.spy.SecondEdit());
}

TEST(SpyEditNames, ShowOnAMissingOrUnsuitableNameWritesNothing)
{
    SpyForm f;
    f.ServeCodes();
    f.Bind();
    f.spy.NormalColour = clNavy;
    ASSERT_TRUE(f.spy.EnterField(IdNote));
    f.requests.clear();
    const AnsiString noteBefore = f.note->Text();

    f.spy.ShowRealByName("edNowhere", 2, false, 0, true, false, 5);
    f.spy.ShowIntegerByName(5, "edNowhere", true, false);
    f.spy.ShowDateByName(0x3587, "edNowhere", false);
    f.spy.ShowTextByName("текст", "edNowhere");
    f.spy.ShowTextByName("текст", nullptr);
    // A button is no place for a value; numbers and dates go into edits only, not into a memo.
    f.spy.ShowTextByName("текст", "btOk");
    f.spy.ShowRealByName("mmNote", 2, false, 0, true, false, 5);
    f.spy.ShowIntegerByName(5, "mmNote", true, false);
    f.spy.ShowDateByName(0x3587, "mmNote", false);
    EXPECT_EQ("Записать", f.ok->Caption());
    EXPECT_EQ(noteBefore, f.note->Text());
    EXPECT_EQ(SpyKind::Memo, f.spy.CurrentKind());
    EXPECT_EQ(f.note, f.spy.CurrentMemo());
    EXPECT_EQ(IdNote, f.spy.CurrentIdRow()->id);
    // No text went to the callback either.
    for (uint8_t code : f.requests)
        EXPECT_NE(SpyRequest::ShowText, code);
}

TEST(SpyEditNames, ShowIntegerDateAndText)
{
    SpyForm f;
    f.Bind();
    f.spy.NormalColour = clBlack;
    f.spy.SecondColour = clMaroon;
    f.spy.ShowIntegerByName(0, "edAmount", true, false);
    EXPECT_EQ("0", f.amount->Text());
    f.spy.ShowIntegerByName(0, "edAmount", false, true);
    EXPECT_EQ("", f.amount->Text());
    EXPECT_EQ(clMaroon, f.amount->Font()->Color());
    f.spy.ShowIntegerByName(-2147483647 - 1, "edAmount", false, false);
    EXPECT_EQ("-2147483648", f.amount->Text());
    EXPECT_EQ(clBlack, f.amount->Font()->Color());

    const uint16_t date = static_cast<uint16_t>((26 << 9) | (12 << 5) | 7);
    f.spy.ShowDateByName(date, "edName", true);
    EXPECT_EQ("07.12.2026", f.name->Text());
    EXPECT_EQ(clMaroon, f.name->Font()->Color());
    f.spy.ShowDateByName(0, "edName", false);
    EXPECT_EQ("", f.name->Text());

    f.spy.ShowTextByName("Петров", "edName");
    EXPECT_EQ("Петров", f.name->Text());
    EXPECT_EQ(clBlack, f.name->Font()->Color());
    // A memo gets its text wrapped to its width, in the normal colour.
    f.spy.NormalColour = clNavy;
    f.spy.ShowTextByName("Сумма к оплате, включая налог. Итого за месяц и за год", "mmNote");
    EXPECT_GT(f.note->Lines()->Count(), 1);
    AnsiString joined;
    for (int i = 0; i < f.note->Lines()->Count(); ++i)
        joined += f.note->Lines()->Strings(i);
    EXPECT_EQ("Сумма к оплате, включая налог. Итого за месяц и за год", joined);
    EXPECT_EQ(clNavy, f.note->Font()->Color());
    EXPECT_TRUE(SaveFormPicture(f.host.form, "spyedit_shown_values"));

    // The callback's control is sent the text with its kind and the colour.
    f.ServeCodes();
    SSpy_CBIterator shown;
    auto serve = f.spy.ControlCallback;
    f.spy.ControlCallback = [&](SSpy_CBIterator *r) {
        if (r->request == SpyRequest::ShowText)
            shown = *r;
        return serve(r);
    };
    f.spy.ShowTextByName("B2", "lbxCodes");
    EXPECT_EQ(SpyRequest::ShowText, shown.request);
    EXPECT_EQ(SpyKind::Callback, shown.kind);
    EXPECT_EQ("B2", shown.text);
    EXPECT_EQ("lbxCodes", shown.name);
    EXPECT_EQ(clNavy, shown.colour);
}

TEST(SpyEditNames, TagsFromTheFirstMatchingRow)
{
    SpyForm f;
    const SpyControlIdRow table[] = {
        {21, "edSum"}, {22, "btOk"}, {23, "edSum"}, {24, "miSave"}, {25, nullptr}, {26, "lbTitle"}, {0, nullptr},
    };
    f.name->SetTag(-5);
    TSpyEdit_Bs::AssignTagsByName(f.host.form, table);
    EXPECT_EQ(21, f.sum->Tag());
    EXPECT_EQ(22, f.ok->Tag());
    EXPECT_EQ(26, f.title->Tag());
    EXPECT_EQ(-5, f.name->Tag());     // no row: left as it was
    EXPECT_EQ(0, f.menuItem->Tag());  // no windowed control
    TSpyEdit_Bs::AssignTagsByName(f.host.form, nullptr);
    TSpyEdit_Bs::AssignTagsByName(nullptr, table);
    EXPECT_EQ(21, f.sum->Tag());
}
