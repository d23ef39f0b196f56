// The in-cell editor form: made once with the table's first run-time screen, its controls, fonts and
// buttons, and the control of each edit kind shown while the form is shown.
#include <gtest/gtest.h>

#include <windows.h>

#include "base/input/fun_other.h"
#include "controls/RichEditEx.h"
#include "controls/dates/UXDateCombo.h"
#include "controls/buttons/UZButton.h"
#include "controls/messages/zText.h"
#include "framework/windows/ExtCtrls.h"
#include "framework/windows/StdCtrls.h"
#include "gridtable/editing/uxgridtabeditform.h"
#include "tests/gridtable/TableOnForm.h"
#include "tests/support/FormHost.h"
#include "tests/support/PromptSteps.h"

using namespace gridtest;

namespace {

// Two rows of editable cells written in font 0, a bold Times New Roman.
testdata::GridScreenBuilder TwoRows()
{
    testdata::GridScreenBuilder b(2, 3);
    testdata::ScreenFont font;
    font.name = "Times New Roman";
    font.size = 14;
    font.height = -19;
    font.style = 0x02;
    font.colour = 0x800000;
    b.fonts = {font};
    for (auto &cell : b.cells)
        Texts(cell, {Run(0, "12", 1)});
    return b;
}

const char *const ControlNames[] = {"pRE",          "pNumEdit", "pFractionPanel", "pEditUp",  "pEditDown",  "pShape",
                                    "pCB_Dt_Panel", "pData",    "pCB_Dt_Head",    "pBtnSave", "pBtnCancel", "pCBList",
                                    "pBtnPanel",    "BP_Text",  "BP_Btn1",        "BP_Btn2"};

}  // namespace

TEST(CellEditorForm, MadeOnceWithTheFirstRunTimeScreenWithItsSixteenControlsInFont0)
{
    StoredScreen stored(TwoRows());
    auto *form = new TTableForm(nullptr);
    TXGridTable *table = form->Table;
    TFEditForm *editor = table->CellEditorForm();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->Owner(), table);
    EXPECT_EQ(editor->BorderStyle(), bsNone);
    EXPECT_FALSE(editor->Scaled());
    EXPECT_EQ(editor->Color(), clBtnFace);
    EXPECT_EQ(editor->EditMode, EditKindNone);

    // The controls in their order, all sky blue; those on the form itself hidden until a mode shows
    // them.
    ASSERT_EQ(editor->ComponentCount(), 16);
    for (int i = 0; i < 16; ++i) {
        auto *control = dynamic_cast<TControl *>(editor->Components(i));
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->Name(), ControlNames[i]);
        EXPECT_EQ(control->Color(), clSkyBlue) << ControlNames[i];
        if (control->Parent() == editor) {
            EXPECT_FALSE(control->Visible()) << ControlNames[i];
        }
    }
    EXPECT_EQ(editor->pEditUp->Parent(), editor->pFractionPanel);
    EXPECT_EQ(editor->pShape->Parent(), editor->pFractionPanel);
    EXPECT_EQ(editor->pShape->Height(), 1);
    EXPECT_EQ(editor->pData->Parent(), editor->pCB_Dt_Panel);
    EXPECT_EQ(editor->pCBList->Parent(), editor->pCB_Dt_Panel);
    EXPECT_EQ(editor->pCBList->Style(), csDropDownList);
    EXPECT_EQ(editor->BP_Btn2->Parent(), editor->pBtnPanel);
    for (TControl *filling :
         {static_cast<TControl *>(editor->pRE), static_cast<TControl *>(editor->pNumEdit),
          static_cast<TControl *>(editor->pFractionPanel), static_cast<TControl *>(editor->pCB_Dt_Panel),
          static_cast<TControl *>(editor->pBtnPanel)})
        EXPECT_EQ(filling->Align(), alClient) << filling->Name();

    // The buttons' tags and images.
    EXPECT_EQ(editor->pBtnSave->Tag(), 1);
    EXPECT_EQ(editor->pBtnSave->ImageNo(), eil16x16_OK);
    EXPECT_EQ(editor->pBtnCancel->Tag(), 2);
    EXPECT_EQ(editor->pBtnCancel->ImageNo(), eil16x16_Cancel);
    EXPECT_EQ(editor->BP_Btn1->Tag(), 0);
    EXPECT_EQ(editor->BP_Btn2->Tag(), 1);
    EXPECT_EQ(table->GetCellEditorButton(0), editor->BP_Btn1);
    EXPECT_EQ(table->GetCellEditorButton(1), editor->BP_Btn2);
    EXPECT_EQ(table->GetCellEditorButton(2), nullptr);
    EXPECT_EQ(table->GetCellEditorButton(-1), nullptr);

    // The four text editors write in font 0.
    for (TWinControl *edit :
         {static_cast<TWinControl *>(editor->pRE), static_cast<TWinControl *>(editor->pNumEdit),
          static_cast<TWinControl *>(editor->pEditUp), static_cast<TWinControl *>(editor->pEditDown)}) {
        EXPECT_EQ(edit->Font()->Name(), "Times New Roman") << edit->Name();
        EXPECT_EQ(edit->Font()->Height(), -19) << edit->Name();
        EXPECT_EQ(edit->Font()->Color(), 0x800000) << edit->Name();
        EXPECT_TRUE(edit->Font()->Style() & fsBold) << edit->Name();
    }

    // Made once: asking again keeps the form.
    table->CreateCellEditor();
    EXPECT_EQ(table->CellEditorForm(), editor);
    form->Free();
}

TEST(CellEditorForm, MadeForAMissingScreenInTheComponentsOwnFont)
{
    StoredScreen stored(TwoRows());
    auto *form = new TTableForm(nullptr, 3);  // the file holds no screen 3
    TXGridTable *table = form->Table;
    EXPECT_TRUE(table->Model().Rows.empty());
    ASSERT_NE(table->CellEditorForm(), nullptr);
    for (TWinControl *edit : {static_cast<TWinControl *>(table->CellEditorForm()->pRE),
                              static_cast<TWinControl *>(table->CellEditorForm()->pEditDown)}) {
        EXPECT_EQ(edit->Font()->Name(), table->Font()->Name());
        EXPECT_EQ(edit->Font()->Height(), table->Font()->Height());
    }
    form->Free();
}

TEST(CellEditorForm, DesignedTableHasNoEditor)
{
    FormHost host;
    host.form->SetDesigning(true);
    auto *table = host.Add<TXGridTable>();
    table->CreateCellEditor();
    EXPECT_EQ(table->CellEditorForm(), nullptr);
    EXPECT_EQ(table->GetCellEditorButton(0), nullptr);
}

TEST(CellEditorForm, EachModeShowsItsControlWhileShownAndHidesItAfter)
{
    StoredScreen stored(TwoRows());
    auto *form = new TTableForm(nullptr);
    TFEditForm *editor = form->Table->CellEditorForm();
    ASSERT_NE(editor, nullptr);
    struct Expect {
        std::uint8_t mode;
        TWinControl *shown;
    };
    const Expect modes[] = {{1, editor->pNumEdit},
                            {2, editor->pNumEdit},
                            {3, editor->pNumEdit},
                            {4, editor->pRE},
                            {5, editor->pFractionPanel},
                            {6, editor->pCB_Dt_Panel},
                            {8, editor->pCB_Dt_Panel},
                            {9, editor->pBtnPanel},
                            {0, nullptr},
                            {7, nullptr}};
    TWinControl *all[] = {editor->pRE, editor->pNumEdit, editor->pFractionPanel, editor->pCB_Dt_Panel,
                          editor->pBtnPanel};
    for (const Expect &e : modes) {
        editor->EditMode = e.mode;
        PromptSteps steps;
        steps.Then([&](const TPrompt &p) {
            EXPECT_EQ(p.Kind, TPromptKind::ModalForm);
            EXPECT_EQ(p.Form, editor);
            for (TWinControl *c : all)
                EXPECT_EQ(c->Visible(), c == e.shown) << "mode " << int(e.mode) << " " << c->Name();
            if (e.mode == 6 || e.mode == 8) {
                EXPECT_EQ(editor->pData->Visible(), e.mode == 6);
                EXPECT_EQ(editor->pCBList->Visible(), e.mode == 8);
            }
            return TPromptAnswer{1, {}};
        });
        EXPECT_EQ(editor->ShowEditor(), 1);
        EXPECT_EQ(steps.seen.size(), 1u);
        for (TWinControl *c : all)
            EXPECT_FALSE(c->Visible()) << "mode " << int(e.mode) << " " << c->Name();
    }
    form->Free();
}

namespace {

// The base library's screen values and the screen's pixels per inch, restored at the end.
struct ScreenValues {
    int design = DesignDensity, screen = ScreenDensity, scaling = FormScaling;
    ScreenValues(int pixelsPerInch, int designDensity, int screenDensity, int formScaling)
    {
        Screen->SetPixelsPerInch(pixelsPerInch);
        DesignDensity = designDensity;
        ScreenDensity = screenDensity;
        FormScaling = formScaling;
    }
    ~ScreenValues()
    {
        DesignDensity = design;
        ScreenDensity = screen;
        FormScaling = scaling;
        Screen->SetPixelsPerInch(0);
    }
};

// Three columns of 64 and rows of 20 in one font of size 10.
testdata::GridScreenBuilder SizeTen()
{
    testdata::GridScreenBuilder b(3, 3);
    testdata::ScreenFont font;
    font.size = font.firstSize = 10;
    font.height = -13;
    b.fonts = {font};
    for (auto &cell : b.cells)
        Texts(cell, {Run(0, "текст", 1)});
    return b;
}

}  // namespace

TEST(GridTableScaling, DensitiesScaleSizesKeepFontSizesAndTheFractionBar)
{
    StoredScreen stored(SizeTen());
    auto *form = new TTableForm(nullptr);
    TXGridTable *table = form->Table;
    TFEditForm *editor = table->CellEditorForm();
    ASSERT_NE(editor, nullptr);
    const TRect editorBefore = editor->BoundsRect();
    {
        ScreenValues values(120, 800, 1000, 1);
        ScaleGridTablesForDpi(form);
        // 10 x 1000 / 800 = 12, then MulDiv(12, 1440 / 120, 15) = 10; its height at 120 pixels per inch.
        const S_SGFont *font = FindGridFontById(table->Model(), 0);
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(font->Size, 10);
        EXPECT_EQ(font->Height, 17);
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(table->GetGridColWidth(c), 80) << c;
        for (int r = 0; r < 3; ++r) {
            EXPECT_EQ(table->GetGridRowHeight(r), 25) << r;
            EXPECT_EQ(table->Model().RowDescriptions.Rows[r].Height, 25u) << r;
        }
        // The editor form grew with the screen; its bar stays one pixel; the editors write in font 0.
        EXPECT_EQ(editor->Width(), MulDivRound(editorBefore.Width(), 1000, 800));
        EXPECT_EQ(editor->pShape->Height(), 1);
        EXPECT_EQ(editor->pNumEdit->Font()->Size(), 10);
        EXPECT_EQ(editor->pEditDown->Font()->Size(), 10);
        // Every cell laid out again in its new width.
        for (const S_XSGRow &row : table->Model().Rows)
            for (const S_XSGCell &cell : row)
                EXPECT_GT(cell.TextHeight, 0);
    }
    form->Free();
}

TEST(GridTableScaling, NothingChangesWithoutScalingOrAtTheDesignDensity)
{
    StoredScreen stored(SizeTen());
    auto *form = new TTableForm(nullptr);
    TXGridTable *table = form->Table;
    for (auto [scaling, screenDensity] : {std::pair{0, 1000}, std::pair{1, 800}}) {
        ScreenValues values(120, 800, screenDensity, scaling);
        ScaleGridTablesForDpi(form);
        EXPECT_EQ(table->GetGridColWidth(0), 64);
        EXPECT_EQ(table->GetGridRowHeight(0), 20);
        EXPECT_EQ(FindGridFontById(table->Model(), 0)->Height, -13);
    }
    form->Free();
}

TEST(GridTableScaling, ATableWithoutEditorAndAStretchedOneAreScaledToo)
{
    FormHost host;
    // A table that never loaded a screen has no editor form: it is passed over safely.
    auto *bare = host.Add<TXGridTable>();
    ASSERT_EQ(bare->CellEditorForm(), nullptr);
    StoredScreen stored(SizeTen());
    auto *form = new TTableForm(nullptr);
    form->Table->SetGridStretchType(egstWidth);
    {
        ScreenValues values(96, 800, 1000, 1);
        ScaleGridTablesForDpi(host.form);
        ScaleGridTablesForDpi(form);
        ScaleGridTablesForDpi(nullptr);
    }
    // A table that fills its width fills it again after scaling.
    EXPECT_EQ(TotalGridWidth(form->Table->Model()), form->Table->ClientWidth());
    EXPECT_EQ(form->Table->GetGridRowHeight(1), 25);
    form->Free();
}
