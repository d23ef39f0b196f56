// Applying and cancelling the in-cell editors on a shown table (under Wine inside Xvfb): the prompt
// seam answers for the modal editor, and each step types into the editor as it stands, the keys
// going to its controls as the window system delivers them.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <vector>

#include "base/input/fun_other.h"
#include "controls/RichEditEx.h"
#include "controls/dates/UXDateCombo.h"
#include "controls/buttons/UZButton.h"
#include "framework/runtime/Cp1251.h"
#include "framework/windows/ExtCtrls.h"
#include "framework/windows/Mask.h"
#include "framework/windows/StdCtrls.h"
#include "gridtable/editing/CellEditing.h"
#include "gridtable/editing/uxgridtabeditform.h"
#include "tests/gridtable/EditorKeys.h"
#include "tests/gridtable/TableOnForm.h"
#include "tests/support/ClipboardTestLock.h"
#include "tests/support/FakeClock.h"
#include "tests/support/PointerInput.h"
#include "tests/support/PromptSteps.h"
#include "tests/support/WindowPicture.h"

using namespace gridtest;

namespace {

// One editable cell of each kind that writes, in column 1 of rows 0..8 (kinds 1, 2, 3, 4, 5, 6, 8, 9,
// and an empty kind-3 cell), and a second column of notes that is not editable.
enum Row { RowUnsigned, RowSigned, RowWhole, RowRich, RowFraction, RowDate, RowList, RowButtons, RowEmpty, RowCount };
constexpr int RowKinds[RowCount] = {1, 2, 3, 4, 5, 6, 8, 9, 3};

testdata::GridScreenBuilder Cells()
{
    testdata::GridScreenBuilder b(RowCount, 2);
    b.widths = {150, 150};
    b.heights = std::vector<int>(RowCount, 24);
    b.fonts = ArialFonts();
    for (int r = 0; r < RowCount; ++r) {
        b.Cell(r, 1).editKind = static_cast<uint8_t>(RowKinds[r]);
        b.Cell(r, 1).flags = 0x41;
        b.Cell(r, 0).flags = 0x40;
        Texts(b.Cell(r, 0), {Run(0, "row " + std::to_string(r), 1)});
    }
    Texts(b.Cell(RowUnsigned, 1), {Run(0, "12", 1)});
    Texts(b.Cell(RowSigned, 1), {Run(0, "-3,5", 1), Run(0, " кг", 2)});
    Texts(b.Cell(RowWhole, 1), {Run(0, "7", 1)});
    Texts(b.Cell(RowRich, 1), {Run(0, "Примітка", 1), Run(0, " далі", 2)});
    Texts(b.Cell(RowFraction, 1), {Run(1, "1\n", 1), Run(0, "2", 2)});
    Texts(b.Cell(RowDate, 1), {Hidden(0, "Дата", 1)});
    Texts(b.Cell(RowList, 1),
          {Hidden(0, "Оберіть", 1), Hidden(0, "перший", 2), Run(0, "другий", 3), Hidden(0, "третій", 4)});
    Texts(b.Cell(RowButtons, 1), {Run(0, "Дія", 1)});
    return b;
}

// The table of Cells() shown, typing with the decimal comma.
struct ApplyTable : ShownTable {
    explicit ApplyTable(std::uint8_t messageLanguage = 1) : ShownTable(Cells(), 7, messageLanguage)
    {
        DecimalSeparator = ',';
    }
    ~ApplyTable() { DecimalSeparator = savedSeparator; }
    void DoubleClick(int row) { ShownTable::DoubleClick(row, 1); }
    S_XSGCell &Cell(int row) { return ShownTable::Cell(row, 1); }
    TRunList Runs(int row) { return ShownTable::Runs(row, 1); }
    std::vector<AnsiString> Texts(int row) { return ShownTable::Texts(row, 1); }

    char savedSeparator = DecimalSeparator;
};

// A step that works on the editor form shown; its answer is the modal result the editor's handlers
// left (0 while the editor stays open).
template <class Act>
PromptSteps::Step OnEditor(Act act)
{
    return [act](const TPrompt &p) {
        auto *editor = dynamic_cast<TFEditForm *>(p.Form);
        EXPECT_NE(editor, nullptr);
        if (editor == nullptr)
            return TPromptAnswer{0, {}};
        editor->SetModalResult(mrNone);
        act(*editor);
        return TPromptAnswer{editor->ModalResult(), {}};
    };
}

}  // namespace

// ---- number editors ----------------------------------------------------------------------------------

TEST(CellEditorApply, NumberCellsStoreZeroForAnEmptyTextOrZerosAndAnEmptyListGetsRunOne)
{
    ApplyTable t;
    PromptSteps steps;
    steps.Then(OnEditor([](TFEditForm &e) {
        e.pNumEdit->SetText("");
        SendKey(*e.pNumEdit, VK_RETURN, 0, '\r');
        EXPECT_EQ(e.ModalResult(), mrOk);
    }));
    t.DoubleClick(RowUnsigned);
    EXPECT_EQ(t.Texts(RowUnsigned), std::vector<AnsiString>{"0"});

    steps.Then(OnEditor([](TFEditForm &e) {
        e.pNumEdit->SelectAll();
        Type(*e.pNumEdit, "000");
        EXPECT_EQ(e.pNumEdit->GetText(), "000");
        SendKey(*e.pNumEdit, VK_RETURN, 0, '\r');
    }));
    t.DoubleClick(RowSigned);
    EXPECT_EQ(t.Texts(RowSigned), (std::vector<AnsiString>{"0", " кг"}));

    // Typed keys go through the filter of the kind: letters and a comma stay out of a whole number.
    ASSERT_TRUE(t.Runs(RowEmpty).empty());
    steps.Then(OnEditor([](TFEditForm &e) {
        Type(*e.pNumEdit, "4a,5");
        SendKey(*e.pNumEdit, VK_RETURN, 0, '\r');
    }));
    t.DoubleClick(RowEmpty);
    const TRunList runs = t.Runs(RowEmpty);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].Number, 1);
    EXPECT_EQ(runs[0].Text, "45");
    EXPECT_EQ(steps.seen.size(), 3u);
    EXPECT_EQ(steps.unanswered, 0);
}

TEST(CellEditorApply, EscWritesNothingAndPastesDoubleClicksAndTheMenuApply)
{
    ClipboardTestLock clipboard;
    ApplyTable t;
    bool changed = true;
    t.table->OnAfterCellEdit = [&](TObject *, S_XSGCell *, EXSGEditValue &, bool c) { changed = c; };
    PromptSteps steps;
    steps.Then(OnEditor([](TFEditForm &e) {
        Type(*e.pNumEdit, "99");
        SendKey(*e.pNumEdit, VK_ESCAPE, 0, 27);
        EXPECT_EQ(e.ModalResult(), mrOk);
    }));
    t.DoubleClick(RowUnsigned);
    EXPECT_EQ(t.Texts(RowUnsigned), std::vector<AnsiString>{"12"});
    EXPECT_FALSE(changed);

    // Ctrl+V pastes the clipboard's text filtered; a double click in the editor applies it.
    steps.Then(OnEditor([](TFEditForm &e) {
        e.pNumEdit->SelectAll();
        CopyTextToClipboard("1.5\r\n");
        SendKey(*e.pNumEdit, 'V', ssCtrl, 22);
        EXPECT_EQ(e.pNumEdit->GetText(), "1,5");
        CopyTextToClipboard("2,5");  // a second comma: nothing
        SendKey(*e.pNumEdit, VK_INSERT, ssShift);
        EXPECT_EQ(e.pNumEdit->GetText(), "1,5");
        SendMessageW(e.pNumEdit->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
        EXPECT_EQ(e.ModalResult(), mrOk);
    }));
    t.DoubleClick(RowUnsigned);
    EXPECT_EQ(t.Texts(RowUnsigned), std::vector<AnsiString>{"1,5"});
    EXPECT_TRUE(changed);

    // The menu's apply and cancel.
    auto menu = [](TFEditForm &e, int tag) {
        TPopupMenu *popup = e.pNumEdit->PopupMenu();
        ASSERT_NE(popup, nullptr);
        popup->SetPopupComponent(e.pNumEdit);
        popup->OnPopup(popup);
        for (int i = 0; i < popup->Items()->Count(); ++i)
            if (popup->Items()->Items(i)->Tag() == tag)
                popup->Items()->Items(i)->Click();
    };
    steps.Then(OnEditor([&](TFEditForm &e) {
        e.pNumEdit->SelectAll();
        Type(*e.pNumEdit, "-8");
        menu(e, 3);
        EXPECT_EQ(e.ModalResult(), mrOk);
    }));
    t.DoubleClick(RowSigned);
    EXPECT_EQ(t.Texts(RowSigned), (std::vector<AnsiString>{"-3,5", " кг"}));
    steps.Then(OnEditor([&](TFEditForm &e) {
        e.pNumEdit->SelectAll();
        Type(*e.pNumEdit, "-8");
        menu(e, 2);
        EXPECT_EQ(e.ModalResult(), mrOk);
    }));
    t.DoubleClick(RowSigned);
    EXPECT_EQ(t.Texts(RowSigned), (std::vector<AnsiString>{"-8", " кг"}));
    EXPECT_EQ(steps.unanswered, 0);
    CopyTextToClipboard("");
}

// ---- fraction ----------------------------------------------------------------------------------------

TEST(CellEditorApply, FractionsArePaddedRoundedAndANonNumberKeepsTheEditorOpen)
{
    ApplyTable t;
    PromptSteps steps;
    // The parts' texts typed in, Enter pressed in one of them.
    auto fraction = [&](const char *up, const char *down, bool inDenominator) {
        steps.Then(OnEditor([=](TFEditForm &e) {
            e.pEditUp->SetText("");
            e.pEditDown->SetText("");
            Type(*e.pEditUp, up);
            Type(*e.pEditDown, down);
            SendKey(inDenominator ? *e.pEditDown : *e.pEditUp, VK_RETURN, 0, '\r');
            EXPECT_EQ(e.ModalResult(), mrOk);
        }));
        t.DoubleClick(RowFraction);
    };
    fraction("1,5", "", false);
    EXPECT_EQ(t.Texts(RowFraction), (std::vector<AnsiString>{"1,5\n", " 0 "}));
    fraction("1,25", "7", true);
    EXPECT_EQ(t.Texts(RowFraction), (std::vector<AnsiString>{"1,25\n", "  7 "}));
    fraction("0,1234567896", "3", false);
    EXPECT_EQ(t.Texts(RowFraction), (std::vector<AnsiString>{"0,12345679\n", "     3    "}));
    // The numerator keeps its underlined font, the denominator its own.
    const TRunList runs = t.Runs(RowFraction);
    EXPECT_TRUE(FindGridFontById(t.table->Model(), runs[0].Font)->Style & GridFontUnderline);
    EXPECT_FALSE(FindGridFontById(t.table->Model(), runs[1].Font)->Style & GridFontUnderline);

    // "," alone passes the key filter but is no number: nothing is written, the editor stays open
    // with the part selected, and Esc closes it.
    steps.Then(OnEditor([](TFEditForm &e) {
        e.pEditUp->SetText("");
        Type(*e.pEditUp, "2");
        e.pEditDown->SetText("");
        Type(*e.pEditDown, ",");
        EXPECT_EQ(e.pEditDown->GetText(), ",");
        SendKey(*e.pEditUp, VK_RETURN, 0, '\r');
        EXPECT_EQ(e.ModalResult(), mrNone);
        EXPECT_EQ(e.pEditDown->SelText(), ",");
        SendKey(*e.pEditDown, VK_ESCAPE, 0, 27);
        EXPECT_EQ(e.ModalResult(), mrOk);
    }));
    t.DoubleClick(RowFraction);
    EXPECT_EQ(t.Texts(RowFraction), (std::vector<AnsiString>{"0,12345679\n", "     3    "}));
    EXPECT_EQ(steps.unanswered, 0);
}

// ---- rich text ---------------------------------------------------------------------------------------

TEST(CellEditorApply, RichTextIsWrittenByCtrlEnterWhileEnterBreaksTheLineAndEscWritesNothing)
{
    ApplyTable t;
    PromptSteps steps;
    steps.Then(OnEditor([](TFEditForm &e) {
        e.pRE->SelectAll();
        Type(*e.pRE, "Новий");
        SendKey(*e.pRE, VK_RETURN, 0, '\r');
        EXPECT_EQ(e.ModalResult(), mrNone);
        Type(*e.pRE, "рядок");
        SendKey(*e.pRE, VK_ESCAPE, 0, 27);
        EXPECT_EQ(e.ModalResult(), mrOk);
    }));
    t.DoubleClick(RowRich);
    EXPECT_EQ(t.Texts(RowRich), (std::vector<AnsiString>{"Примітка", " далі"}));

    steps.Then(OnEditor([](TFEditForm &e) {
        e.pRE->SelectAll();
        Type(*e.pRE, "Новий");
        SendKey(*e.pRE, VK_RETURN, 0, '\r');
        Type(*e.pRE, "рядок");
        SendKey(*e.pRE, VK_RETURN, ssCtrl, '\n');
        EXPECT_EQ(e.ModalResult(), mrOk);
    }));
    t.DoubleClick(RowRich);
    EXPECT_EQ(t.Texts(RowRich), (std::vector<AnsiString>{"Новий\nрядок", " далі"}));

    // The menu's apply, as Ctrl+Enter.
    steps.Then(OnEditor([](TFEditForm &e) {
        e.pRE->SelectAll();
        Type(*e.pRE, "з меню");
        TPopupMenu *popup = e.pRE->PopupMenu();
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(popup->Tag(), 2);
        popup->SetPopupComponent(e.pRE);
        popup->OnPopup(popup);
        popup->Items()->Items(0)->Click();
        EXPECT_EQ(e.ModalResult(), mrOk);
    }));
    t.DoubleClick(RowRich);
    EXPECT_EQ(t.Texts(RowRich), (std::vector<AnsiString>{"з меню", " далі"}));
    EXPECT_EQ(steps.unanswered, 0);
}

// ---- date, list and buttons --------------------------------------------------------------------------

TEST(CellEditorApply, AnEmptyDateTakesTheControlsDateAndABadOneIsNotWritten)
{
    ApplyTable t;
    FakeClock clock(EncodeDate(2026, 12, 7) + EncodeTime(11, 0, 0, 0));
    TClockOverride useClock(clock);
    PromptSteps steps;
    steps.Then(OnEditor([](TFEditForm &e) {
        EXPECT_EQ(e.pData->GetsSelDate(), "07.12.2026");
        e.pData->Edit()->SetText("");
        SendKey(*e.pData->Edit(), VK_RETURN, 0, '\r');
        EXPECT_EQ(e.ModalResult(), mrOk);
    }));
    t.DoubleClick(RowDate);
    EXPECT_EQ(t.Texts(RowDate), (std::vector<AnsiString>{"Дата", "07.12.2026", "07.12.2026"}));

    // A date typed in and saved by the button.
    steps.Then(OnEditor([](TFEditForm &e) {
        e.pData->Edit()->SetText("05.01.2027");
        e.pBtnSave->Click();
        EXPECT_EQ(e.ModalResult(), mrOk);
    }));
    t.DoubleClick(RowDate);
    EXPECT_EQ(t.Texts(RowDate), (std::vector<AnsiString>{"Дата", "05.01.2027", "05.01.2027"}));

    // A text that names no date stays in the open editor; the cancel button closes it.
    steps.Then(OnEditor([](TFEditForm &e) {
        e.pData->Edit()->SetText("31.02.2027");
        SendKey(*e.pData->Edit(), VK_RETURN, 0, '\r');
        EXPECT_EQ(e.ModalResult(), mrNone);
        e.pBtnSave->Click();
        EXPECT_EQ(e.ModalResult(), mrNone);
        e.pBtnCancel->Click();
        EXPECT_EQ(e.ModalResult(), mrOk);
    }));
    t.DoubleClick(RowDate);
    EXPECT_EQ(t.Texts(RowDate), (std::vector<AnsiString>{"Дата", "05.01.2027", "05.01.2027"}));
    EXPECT_EQ(steps.unanswered, 0);
}

TEST(CellEditorApply, OnlyTheChosenListItemIsShownAndEscCancels)
{
    ApplyTable t;
    PromptSteps steps;
    steps.Then(OnEditor([](TFEditForm &e) {
        EXPECT_EQ(e.pCBList->GetText(), "другий");
        e.pCBList->SetItemIndex(2);
        SendKey(*e.pCBList, VK_ESCAPE, 0, 27);
        EXPECT_EQ(e.ModalResult(), mrOk);
    }));
    t.DoubleClick(RowList);
    EXPECT_EQ(GetCurrentCellText(t.table->Model(), t.Cell(RowList)), "другий");

    steps.Then(OnEditor([](TFEditForm &e) {
        e.pCBList->SetItemIndex(2);
        SendKey(*e.pCBList, VK_RETURN, 0, '\r');
        EXPECT_EQ(e.ModalResult(), mrOk);
    }));
    t.DoubleClick(RowList);
    const TRunList runs = t.Runs(RowList);
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_FALSE(runs[0].Shown());
    EXPECT_FALSE(runs[1].Shown());
    EXPECT_FALSE(runs[2].Shown());
    EXPECT_TRUE(runs[3].Shown());
    EXPECT_EQ(GetCurrentCellText(t.table->Model(), t.Cell(RowList)), "третій");
    EXPECT_EQ(steps.unanswered, 0);
}

TEST(CellEditorApply, TheCellsButtonsTellTheClickedButtonAndEscClosesWithoutAClick)
{
    ApplyTable t;
    std::vector<std::pair<TObject *, S_XSGCell *>> clicks;
    t.table->OnBtnClickInCell = [&](TObject *sender, S_XSGCell *cell) { clicks.emplace_back(sender, cell); };
    PromptSteps steps;
    steps.Then(OnEditor([](TFEditForm &e) {
        e.BP_Btn2->Click();
        EXPECT_EQ(e.ModalResult(), mrOk);
    }));
    t.DoubleClick(RowButtons);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].first, t.table->GetCellEditorButton(1));
    EXPECT_EQ(clicks[0].second, &t.Cell(RowButtons));

    steps.Then(OnEditor([](TFEditForm &e) {
        SendKey(*e.BP_Btn1, VK_ESCAPE, 0, 27);
        EXPECT_EQ(e.ModalResult(), mrOk);
        e.SetModalResult(mrNone);
        SendKey(*e.pBtnSave, VK_ESCAPE, 0, 27);
        EXPECT_EQ(e.ModalResult(), mrOk);
    }));
    t.DoubleClick(RowButtons);
    EXPECT_EQ(clicks.size(), 1u);
    EXPECT_EQ(steps.unanswered, 0);
}

// ---- menus -------------------------------------------------------------------------------------------

TEST(CellEditorApply, TheEditorsMenusComeInTheMessageLanguageOfTheirMaking)
{
    ApplyTable t;
    TFEditForm *e = t.table->CellEditorForm();
    ASSERT_NE(e, nullptr);
    TPopupMenu *single = e->pNumEdit->PopupMenu();
    TPopupMenu *fraction = e->pEditUp->PopupMenu();
    TPopupMenu *rich = e->pRE->PopupMenu();
    ASSERT_NE(single, nullptr);
    ASSERT_NE(fraction, nullptr);
    ASSERT_NE(rich, nullptr);
    EXPECT_EQ(e->pEditDown->PopupMenu(), fraction);
    EXPECT_EQ(single->Tag(), 1);
    EXPECT_EQ(fraction->Tag(), 1);
    EXPECT_EQ(rich->Tag(), 2);
    auto captions = [](TPopupMenu *menu) {
        std::vector<AnsiString> texts;
        for (int i = 0; i < menu->Items()->Count(); ++i)
            texts.push_back(menu->Items()->Items(i)->Caption() + "/" + std::to_string(menu->Items()->Items(i)->Tag()));
        return texts;
    };
    const std::vector<AnsiString> russian = {"Применить/2", "Отмена/3",  "-/0", "Вырезать/4",    "Копировать/5",
                                             "Вставить/6",  "Удалить/7", "-/0", "Выделить все/8"};
    EXPECT_EQ(captions(single), russian);
    EXPECT_EQ(captions(rich)[0], "Применить/1");
    // A shortcut shows once the menu pops up over its editor, which the table's menu object serves.
    fraction->SetPopupComponent(e->pEditDown);
    fraction->OnPopup(fraction);
    EXPECT_EQ(ShortCutToText(fraction->Items()->Items(0)->ShortCut()), "Enter");
    EXPECT_EQ(t.table->ServePopupMenu()->Edit, e->pEditDown);
}

TEST(CellEditorApply, AUkrainianMessageLanguageCaptionsTheMenusInUkrainian)
{
    ApplyTable t(0);
    TFEditForm *e = t.table->CellEditorForm();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->pNumEdit->PopupMenu()->Items()->Items(0)->Caption(), "Застосувати");
    EXPECT_EQ(e->pRE->PopupMenu()->Items()->Items(8)->Caption(), "Виділити все");
}

// ---- the real modal editor ---------------------------------------------------------------------------

namespace {
// Keys posted to a control as the keyboard's messages, taken through the modal editor's message loop
// (where a menu could claim them as shortcuts) and turned into characters there.
void PostKeys(TWinControl &control, std::initializer_list<UINT> keys)
{
    for (UINT key : keys) {
        PostMessageW(control.Handle(), WM_KEYDOWN, key, 1);
        PostMessageW(control.Handle(), WM_KEYUP, key, 0xC0000001);
    }
}
}  // namespace

TEST(CellEditorApply, TheRealModalEditorTakesTypedKeysAndKeepsARefusedFractionOpen)
{
    ApplyTable t;
    TPromptHandler previous = SetPromptHandler(nullptr);
    TFEditForm *editor = t.table->CellEditorForm();
    ASSERT_NE(editor, nullptr);
    TTimer timer(nullptr);
    timer.SetInterval(50);

    // The number editor: "5", "a", "." and "2" typed over the selected text, then Enter.
    int phase = 0;
    // The characters the keys make are posted in their turn: Enter goes in once they have arrived.
    timer.OnTimer = [&](TObject *) {
        if (++phase == 1) {
            PostKeys(*editor->pNumEdit, {'5', 'A', VK_OEM_PERIOD, '2'});
            return;
        }
        timer.SetEnabled(false);
        EXPECT_EQ(editor->pNumEdit->GetText(), "5,2");
        PostKeys(*editor->pNumEdit, {VK_RETURN});
    };
    t.DoubleClick(RowUnsigned);
    EXPECT_EQ(phase, 2);
    EXPECT_EQ(t.Texts(RowUnsigned), std::vector<AnsiString>{"5,2"});
    EXPECT_FALSE(editor->Visible());

    // The fraction: "," alone below the bar is refused; the editor stays, its denominator selected,
    // until Esc closes it.
    phase = 0;
    bool openAfterEnter = false;
    timer.OnTimer = [&](TObject *) {
        switch (++phase) {
        case 1:
            editor->pEditDown->SetText("");
            PostKeys(*editor->pEditUp, {'3'});
            PostKeys(*editor->pEditDown, {VK_OEM_COMMA});
            return;
        case 2:
            EXPECT_EQ(editor->pEditUp->GetText(), "31");
            EXPECT_EQ(editor->pEditDown->GetText(), ",");
            PostKeys(*editor->pEditUp, {VK_RETURN});
            return;
        default:
            timer.SetEnabled(false);
            openAfterEnter = editor->Visible() && editor->ModalResult() == mrNone;
            EXPECT_EQ(editor->pEditDown->SelText(), ",");
            EXPECT_EQ(Screen->ActiveControl(), editor->pEditDown);
            t.form->Repaint();
            editor->Repaint();
            Pump();
            EXPECT_TRUE(SaveScreenshot(t.form->Handle(), "cell_editor_fraction_refused"));
            PostKeys(*editor->pEditDown, {VK_ESCAPE});
        }
    };
    timer.SetEnabled(true);
    t.DoubleClick(RowFraction);
    EXPECT_EQ(phase, 3);
    EXPECT_TRUE(openAfterEnter);
    EXPECT_EQ(t.Texts(RowFraction), (std::vector<AnsiString>{"1\n", "2"}));
    EXPECT_FALSE(editor->Visible());
    SetPromptHandler(previous);
}

TEST(CellEditorApply, TheKeyboardIsBackOnTheTableHoweverTheEditorClosedThroughTheWindowSystem)
{
    ApplyTable t;
    TPromptHandler previous = SetPromptHandler(nullptr);
    TFEditForm *editor = t.table->CellEditorForm();
    ASSERT_NE(editor, nullptr);
    SetForegroundWindow(t.form->Handle());
    auto menuCommand = [](TFEditForm &e, int tag) {
        TPopupMenu *popup = e.pNumEdit->PopupMenu();
        popup->SetPopupComponent(e.pNumEdit);
        popup->OnPopup(popup);
        for (int i = 0; i < popup->Items()->Count(); ++i)
            if (popup->Items()->Items(i)->Tag() == tag)
                popup->Items()->Items(i)->Click();
    };
    struct Case {
        int row;
        const char *how;
        std::function<void(TFEditForm &)> close;
    };
    const Case cases[] = {
        {RowUnsigned, "Enter", [](TFEditForm &) { KeyStroke(VK_RETURN); }},
        {RowRich, "Ctrl+Enter", [](TFEditForm &) { KeyStroke(VK_RETURN, ssCtrl); }},
        {RowWhole, "Esc", [](TFEditForm &) { KeyStroke(VK_ESCAPE); }},
        {RowDate, "the accept button", [](TFEditForm &e) { e.pBtnSave->Click(); }},
        {RowList, "the cancel button", [](TFEditForm &e) { e.pBtnCancel->Click(); }},
        {RowButtons, "a cell button", [](TFEditForm &e) { e.BP_Btn1->Click(); }},
        {RowSigned, "the menu's apply", [&](TFEditForm &e) { menuCommand(e, 2); }},
        {RowUnsigned, "the menu's cancel", [&](TFEditForm &e) { menuCommand(e, 3); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.how);
        bool closed = false;
        TTimer timer(nullptr);
        timer.SetInterval(50);
        timer.OnTimer = [&](TObject *) {
            // The editor's own control has the keyboard once it is up.
            TWinControl *focused = Screen->ActiveControl();
            if (!editor->Visible() || focused == nullptr || focused->GetParentForm() != editor)
                return;
            timer.SetEnabled(false);
            closed = true;
            c.close(*editor);
        };
        t.table->SetFocus();
        t.DoubleClick(c.row);
        EXPECT_TRUE(closed);
        EXPECT_FALSE(editor->Visible());
        EXPECT_TRUE(PumpUntil([&] { return t.table->Focused(); }, 2000));
        // An arrow typed now moves in the table.
        const int row = t.table->Row();
        KeyStroke(c.row == RowCount - 1 ? VK_UP : VK_DOWN);
        EXPECT_TRUE(PumpUntil([&] { return t.table->Row() != row; }, 2000));
    }
    SetPromptHandler(previous);
}
