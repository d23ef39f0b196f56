// The utilities that work on forms: rescaling for the screen's density, placement, menus by item name.
#include <gtest/gtest.h>

#include "base/input/fun_other.h"
#include "framework/runtime/Classes.h"
#include "framework/windows/ExtCtrls.h"
#include "framework/windows/Forms.h"
#include "framework/windows/Menus.h"
#include "framework/windows/StdCtrls.h"
#include "tests/support/FormHost.h"
#include "tests/support/WindowPicture.h"

namespace {

// The screen values a test changes, put back when it ends.
struct ScopedScreen {
    explicit ScopedScreen(std::int32_t density, int pixelsPerInch = 0)
    {
        ScreenDensity = density;
        Screen->SetPixelsPerInch(pixelsPerInch);
    }
    ~ScopedScreen()
    {
        ScreenDensity = 800;
        Screen->SetPixelsPerInch(0);
    }
    ScopedScreen(const ScopedScreen &) = delete;
    ScopedScreen &operator=(const ScopedScreen &) = delete;
};

// A control that rescales its fonts itself (as a control with several fonts of its own does).
struct OwnFontsPanel : TPanel {
    using TPanel::TPanel;
    bool RescaleFonts(int m, int d) override
    {
        asked = {m, d};
        return true;
    }
    std::pair<int, int> asked{0, 0};
};

// A form of 400 x 300 at (10, 20) with an edit on its font, a panel with a font of its own and an
// edit inside the panel with another.
struct SampleForm {
    SampleForm()
    {
        host.form->SetBounds(10, 20, 400, 300);
        host.form->Font()->SetHeight(-11);
        edit = host.Add<TEdit>();
        edit->SetBounds(8, 8, 100, 21);
        panel = host.Add<TPanel>();
        panel->SetBounds(8, 40, 200, 100);
        panel->Font()->SetHeight(-12);
        inner = new TEdit(host.form);
        inner->SetParent(panel);
        inner->SetBounds(4, 4, 120, 24);
        inner->Font()->SetHeight(-16);
    }
    FormHost host;
    TEdit *edit;
    TPanel *panel;
    TEdit *inner;
};

}  // namespace

TEST(ScaleFontToArial, ScalesTheSizeByTheDensitiesAndMakesItArial)
{
    TFont font;
    font.SetSize(8);
    {
        ScopedScreen screen(1000);
        ScaleFontToArial(font);
        EXPECT_EQ(font.Name(), "Arial");
        EXPECT_EQ(font.Size(), 10);
        font.SetSize(9);
        ScaleFontToArial(font);
        EXPECT_EQ(font.Size(), 11);  // 11.25 rounded
    }
    font.SetName("Tahoma");
    ScaleFontToArial(font);  // the design density: only the name changes
    EXPECT_EQ(font.Name(), "Arial");
    EXPECT_EQ(font.Size(), 11);
}

TEST(ScaleFormToScreen, AtAHigherDensityRescalesBoundsAndFontsButKeepsThePlace)
{
    SampleForm f;
    TForm *form = f.host.form;
    form->SetScaled(false);
    form->SetAutoScroll(true);
    const int clientWidth = form->ClientWidth(), clientHeight = form->ClientHeight();
    ScopedScreen screen(1000);
    ScaleFormToScreen(form);
    EXPECT_EQ(form->Left(), 10);
    EXPECT_EQ(form->Top(), 20);
    EXPECT_EQ(form->ClientWidth(), MulDivRound(clientWidth, 1000, 800));
    EXPECT_EQ(form->ClientHeight(), MulDivRound(clientHeight, 1000, 800));
    EXPECT_EQ(f.edit->BoundsRect(), Bounds(10, 10, 125, 26));
    EXPECT_EQ(f.panel->BoundsRect(), Bounds(10, 50, 250, 125));
    EXPECT_EQ(f.inner->BoundsRect(), Bounds(5, 5, 150, 30));
    // At the design's pixels per inch the fonts follow the density alone, and all become Arial.
    EXPECT_EQ(form->Font()->Name(), "Arial");
    EXPECT_EQ(form->Font()->Height(), -14);  // -13.75
    EXPECT_EQ(f.edit->Font()->Name(), "Arial");
    EXPECT_EQ(f.edit->Font()->Height(), -14);  // the form's
    EXPECT_EQ(f.panel->Font()->Name(), "Arial");
    EXPECT_EQ(f.panel->Font()->Height(), -15);
    EXPECT_EQ(f.inner->Font()->Name(), "Arial");
    EXPECT_EQ(f.inner->Font()->Height(), -20);
    // The form's own settings are as they were.
    EXPECT_FALSE(form->Scaled());
    EXPECT_TRUE(form->AutoScroll());
}

TEST(ScaleFormToScreen, OnAScreenOfOtherPixelsPerInchTheFontsFollowThePixelsPerInch)
{
    SampleForm f;
    ScopedScreen screen(1000, 144);  // fonts: x 1000 / 800 by the density, then x 800 x 144 / (1000 x 96)
    ScaleFormToScreen(f.host.form);
    EXPECT_EQ(f.host.form->Font()->Height(), -17);  // -14 x 1.2 = -16.8
    EXPECT_EQ(f.edit->Font()->Height(), -17);
    EXPECT_EQ(f.panel->Font()->Height(), -18);
    EXPECT_EQ(f.inner->Font()->Height(), -24);
    EXPECT_EQ(f.edit->BoundsRect(), Bounds(10, 10, 125, 26));  // sizes follow the density alone
}

TEST(ScaleFormToScreen, AtTheDesignDensityChangesNothing)
{
    SampleForm f;
    TForm *form = f.host.form;
    const TRect bounds = form->BoundsRect();
    ScopedScreen screen(800, 144);
    ScaleFormToScreen(form);
    EXPECT_EQ(form->BoundsRect(), bounds);
    EXPECT_EQ(f.edit->BoundsRect(), Bounds(8, 8, 100, 21));
    EXPECT_EQ(f.inner->BoundsRect(), Bounds(4, 4, 120, 24));
    EXPECT_EQ(form->Font()->Name(), "Tahoma");
    EXPECT_EQ(form->Font()->Height(), -11);
    EXPECT_EQ(f.panel->Font()->Name(), "Tahoma");
    EXPECT_EQ(f.inner->Font()->Height(), -16);
    ScaleFormToScreen(nullptr);
}

TEST(RescaleChildFonts, LeavesControlsWithTheirOwnRescalingAndFormsAlone)
{
    SampleForm f;
    auto *own = f.host.Add<OwnFontsPanel>();
    auto *ownChild = new TEdit(f.host.form);
    ownChild->SetParent(own);
    ownChild->Font()->SetHeight(-13);
    auto *nested = new TForm(f.host.form);  // a form inside a panel keeps its font
    nested->SetParent(f.panel);
    nested->Font()->SetHeight(-13);
    ScopedScreen screen(1000, 120);
    RescaleChildFonts(f.host.form);
    EXPECT_EQ(own->asked, std::make_pair(1000, 800));
    EXPECT_EQ(ownChild->Font()->Name(), "Tahoma");
    EXPECT_EQ(ownChild->Font()->Height(), -13);
    EXPECT_EQ(nested->Font()->Name(), "Tahoma");
    EXPECT_EQ(nested->Font()->Height(), -13);
    // The plain controls with fonts of their own: Arial, and x 800 x 120 / (1000 x 96) = x 1.
    EXPECT_EQ(f.panel->Font()->Name(), "Arial");
    EXPECT_EQ(f.inner->Font()->Name(), "Arial");
    EXPECT_EQ(f.inner->Font()->Height(), -16);
    // One on its parent's font follows the parent's (here unchanged) font.
    EXPECT_EQ(f.edit->Font()->Name(), "Tahoma");
    nested->SetParent(nullptr);
    RescaleChildFonts(nullptr);
}

TEST(ScaleFormToScreen, PictureOfAFormScaledToAHigherDensity)
{
    SampleForm f;
    f.host.form->SetCaption("1000");
    f.edit->SetText("Масштаб 1000");
    f.inner->SetText("Свой шрифт");
    auto *label = f.host.Add<TLabel>();
    label->SetBounds(8, 150, 300, 20);
    label->SetCaption("Надпись на шрифте формы");
    ScopedScreen screen(1000);
    ScaleFormToScreen(f.host.form);
    f.host.form->Show();
    f.host.form->Repaint();
    EXPECT_TRUE(SaveScreenshot(f.host.form->Handle(), "fun_other_form_scaled_to_1000"));
}

namespace {

// A form with a main menu File (Open Ctrl+O, Save Ctrl+S, Export > Pdf, Text) and Help, a popup
// menu with Copy, and an item the form owns outside any menu.
struct MenuForm {
    MenuForm()
    {
        menu = new TMainMenu(host.form);
        file = Item(menu->Items(), "miFile");
        open = Item(file, "miOpen", ShortCut('O', ssCtrl));
        save = Item(file, "miSave", ShortCut('S', ssCtrl));
        exportItem = Item(file, "miExport");
        pdf = Item(exportItem, "miPdf", ShortCut(KeyF5, 0));
        text = Item(exportItem, "miText");
        help = Item(menu->Items(), "miHelp");
        host.form->SetMenu(menu);
        popup = new TPopupMenu(host.form);
        copy = Item(popup->Items(), "miCopy", ShortCut('C', ssCtrl));
        loose = new TMenuItem(host.form);
        loose->SetName("miLoose");
    }
    TMenuItem *Item(TMenuItem *parent, const char *name, TShortCut shortCut = 0)
    {
        auto *item = new TMenuItem(host.form);
        item->SetName(name);
        item->SetCaption(name + 2);
        item->SetShortCut(shortCut);
        parent->Add(item);
        return item;
    }
    static constexpr uint16_t KeyF5 = 0x74;
    FormHost host;
    TMainMenu *menu;
    TPopupMenu *popup;
    TMenuItem *file, *open, *save, *exportItem, *pdf, *text, *help, *copy, *loose;
};

}  // namespace

TEST(EnableMenuItemsByName, DisablingTwiceKeepsTheShortcutAndEnablingPutsItBack)
{
    MenuForm m;
    const TShortCut ctrlS = ShortCut('S', ssCtrl);
    EnableMenuItemsByName(m.host.form, "miSave#miHelp", false);
    EXPECT_FALSE(m.save->Enabled());
    EXPECT_FALSE(m.help->Enabled());
    EXPECT_EQ(m.save->ShortCut(), 0);  // a disabled item's key does nothing
    EXPECT_TRUE(m.open->Enabled());
    EXPECT_EQ(m.open->ShortCut(), ShortCut('O', ssCtrl));
    EnableMenuItemsByName(m.host.form, "miSave#miHelp", false);
    EXPECT_EQ(m.save->ShortCut(), 0);
    EnableMenuItemsByName(m.host.form, "miSave#miHelp", true);
    EXPECT_TRUE(m.save->Enabled());
    EXPECT_TRUE(m.help->Enabled());
    EXPECT_EQ(m.save->ShortCut(), ctrlS);
    EXPECT_EQ(m.help->ShortCut(), 0);  // had none, gets none
    // Enabling an enabled item leaves its shortcut; nested, popup and loose items are found too.
    EnableMenuItemsByName(m.host.form, "miSave", true);
    EXPECT_EQ(m.save->ShortCut(), ctrlS);
    EnableMenuItemsByName(m.host.form, "miPdf#miCopy#miLoose#miNothing#", false);
    EXPECT_FALSE(m.pdf->Enabled());
    EXPECT_FALSE(m.copy->Enabled());
    EXPECT_FALSE(m.loose->Enabled());
    EXPECT_EQ(m.copy->ShortCut(), 0);
    EnableMenuItemsByName(m.host.form, "miPdf#miCopy", true);
    EXPECT_EQ(m.pdf->ShortCut(), ShortCut(MenuForm::KeyF5, 0));
    EXPECT_EQ(m.copy->ShortCut(), ShortCut('C', ssCtrl));
    EnableMenuItemsByName(nullptr, "miSave", false);
}

TEST(ShowMenuItemsByName, OverANestedMenu)
{
    MenuForm m;
    ShowMenuItemsByName(m.host.form, "miText#miExport#miHelp", false);
    EXPECT_FALSE(m.text->Visible());
    EXPECT_FALSE(m.exportItem->Visible());
    EXPECT_FALSE(m.help->Visible());
    EXPECT_TRUE(m.pdf->Visible());  // only the items named
    EXPECT_TRUE(m.file->Visible());
    EXPECT_TRUE(m.save->Visible());
    EXPECT_EQ(m.pdf->ShortCut(), ShortCut(MenuForm::KeyF5, 0));
    ShowMenuItemsByName(m.host.form, "miText", true);
    EXPECT_TRUE(m.text->Visible());
    EXPECT_FALSE(m.exportItem->Visible());
    // The menu bar of a form on the screen takes the change.
    m.host.form->Show();
    ShowMenuItemsByName(m.host.form, "miHelp", true);
    EXPECT_TRUE(m.help->Visible());
}

TEST(SetMenuItemsEnabled, EverySubItemAtEveryDepthButNotTheItem)
{
    MenuForm m;
    SetMenuItemsEnabled(m.file, false);
    EXPECT_TRUE(m.file->Enabled());
    for (TMenuItem *item : {m.open, m.save, m.exportItem, m.pdf, m.text})
        EXPECT_FALSE(item->Enabled()) << item->Name();
    EXPECT_TRUE(m.help->Enabled());
    SetMenuItemsEnabled(m.host.form, false);  // the whole main menu
    EXPECT_FALSE(m.file->Enabled());
    EXPECT_FALSE(m.help->Enabled());
    EXPECT_TRUE(m.copy->Enabled());  // the popup menu is not the main menu
    SetMenuItemsEnabled(m.host.form, true);
    for (TMenuItem *item : {m.file, m.open, m.save, m.exportItem, m.pdf, m.text, m.help})
        EXPECT_TRUE(item->Enabled()) << item->Name();
    SetMenuItemsEnabled(static_cast<TMenuItem *>(nullptr), true);
    FormHost bare;
    SetMenuItemsEnabled(bare.form, false);  // no main menu: nothing
}

TEST(ClampFormToScreen, AtEachEdgeOfTheWorkArea)
{
    FormHost host;
    TForm *form = host.form;
    form->SetBounds(0, 0, 300, 200);
    const TRect area = Rect(40, 20, 1000, 700);
    ClampFormToScreen(area, form, 100, 100);
    EXPECT_EQ(form->BoundsRect(), Bounds(100, 100, 300, 200));
    ClampFormToScreen(area, form, 0, 100);  // left
    EXPECT_EQ(form->BoundsRect(), Bounds(40, 100, 300, 200));
    ClampFormToScreen(area, form, 100, 0);  // top
    EXPECT_EQ(form->BoundsRect(), Bounds(100, 20, 300, 200));
    ClampFormToScreen(area, form, 900, 100);  // right
    EXPECT_EQ(form->BoundsRect(), Bounds(700, 100, 300, 200));
    ClampFormToScreen(area, form, 100, 650);  // bottom
    EXPECT_EQ(form->BoundsRect(), Bounds(100, 500, 300, 200));
    form->SetBounds(0, 0, 1200, 800);  // larger than the area: its top-left corner stays in
    ClampFormToScreen(area, form, 300, 300);
    EXPECT_EQ(form->BoundsRect(), Bounds(40, 20, 1200, 800));
    ClampFormToScreen(area, nullptr, 0, 0);
}

namespace {
struct TFWait : TForm {
    using TForm::TForm;
};
}  // namespace

TEST(CascadeFormOverWait, PlacedOverTheWaitWindowOrTheMainForm)
{
    const TRect area = Screen->WorkArea();
    FormHost mainHost, placed;
    TForm *savedMain = Application->MainForm();
    Application->SetMainForm(mainHost.form);
    mainHost.form->SetBounds(area.Left + 50, area.Top + 60, 300, 200);
    placed.form->SetBounds(0, 0, 200, 100);
    EXPECT_TRUE(CascadeFormOverWait(placed.form));  // no wait window: over the main form
    EXPECT_EQ(placed.form->Left(), area.Left + 54);
    EXPECT_EQ(placed.form->Top(), area.Top + 64);

    auto *hiddenWait = new TFWait(nullptr);  // a wait window that is not shown does not count
    hiddenWait->SetBounds(area.Left + 300, area.Top + 300, 200, 80);
    EXPECT_TRUE(CascadeFormOverWait(placed.form));
    EXPECT_EQ(placed.form->Left(), area.Left + 54);
    auto *wait = new TFWait(nullptr);
    wait->SetBounds(area.Left + 100, area.Top + 120, 200, 80);
    wait->Show();
    EXPECT_TRUE(CascadeFormOverWait(placed.form));
    EXPECT_EQ(placed.form->Left(), area.Left + 104);
    EXPECT_EQ(placed.form->Top(), area.Top + 124);
    // Near the work area's corner the form is kept inside it.
    wait->SetBounds(area.Right - 50, area.Bottom - 30, 200, 80);
    EXPECT_TRUE(CascadeFormOverWait(placed.form));
    EXPECT_EQ(placed.form->BoundsRect(), Bounds(area.Right - 200, area.Bottom - 100, 200, 100));

    // Forms that place themselves stay where they are.
    placed.form->SetBounds(5, 5, 200, 100);
    placed.form->SetPosition(poScreenCenter);
    EXPECT_FALSE(CascadeFormOverWait(placed.form));
    placed.form->SetPosition(poOwnerFormCenter);
    EXPECT_FALSE(CascadeFormOverWait(placed.form));
    placed.form->SetPosition(poDesigned);
    placed.form->SetBorderStyle(bsNone);
    EXPECT_FALSE(CascadeFormOverWait(placed.form));
    placed.form->SetBorderStyle(bsSizeable);
    placed.form->SetWindowState(wsMaximized);
    EXPECT_FALSE(CascadeFormOverWait(placed.form));
    placed.form->SetWindowState(wsNormal);
    EXPECT_EQ(placed.form->BoundsRect(), Bounds(5, 5, 200, 100));
    EXPECT_FALSE(CascadeFormOverWait(nullptr));

    wait->Free();
    hiddenWait->Free();
    Application->SetMainForm(nullptr);  // nothing to cascade over
    EXPECT_FALSE(CascadeFormOverWait(placed.form));
    Application->SetMainForm(mainHost.form);  // the main form itself has nothing to cascade over
    EXPECT_FALSE(CascadeFormOverWait(mainHost.form));
    Application->SetMainForm(savedMain);
}

TEST(FreeFormList, FreesEachFormWithItsOnDestroy)
{
    int destroyed = 0;
    TList *list = new TList;
    for (int i = 0; i < 2; ++i) {
        auto *form = new TForm(nullptr);
        form->OnDestroy = [&destroyed](TObject *) { ++destroyed; };
        list->Add(form);
    }
    list->Add(nullptr);
    FreeFormList(list, false);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(destroyed, 2);
    list->Add(new TForm(nullptr));
    FreeFormList(list, true);
    EXPECT_EQ(list, nullptr);
    FreeFormList(list, true);
}
