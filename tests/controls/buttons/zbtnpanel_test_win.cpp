// The button panel on real windows: its buttons' places and the editing protocol with its form.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "base/messages/MessagePresenter.h"
#include "base/messages/zmsg.h"
#include "controls/buttons/UZBtnPan.h"
#include "controls/buttons/UZButton.h"
#include "framework/windows/Forms.h"
#include "tests/support/ShownMessages.h"
#include "tests/support/WindowPicture.h"

namespace {
// Answers every question with yes or no and keeps its text.
struct Answers : TShownMessages {
    explicit Answers(bool yes) : TShownMessages(yes ? 1 : 2) {}
};

// A form of 400 x 300, never shown (closing a form that is not shown costs nothing), shared by the
// suite; each test puts a fresh panel on it and counts how often the form really closes.
class ZBtnPanel : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        form = new TForm(nullptr);
        form->SetBounds(0, 0, 400, 300);
        form->OnClose = [](TObject *, TCloseAction &) { ++closes; };
    }
    static void TearDownTestSuite()
    {
        form->Free();
        form = nullptr;
    }
    void SetUp() override
    {
        closes = 0;
        form->SetModalResult(0);
        form->OnCloseQuery = nullptr;
    }
    void TearDown() override
    {
        if (panel)
            panel->Free();
    }
    TZBtnPanel *MakePanel()
    {
        panel = new TZBtnPanel(form);
        panel->SetParent(form);
        panel->OnCheckData = [this](TObject *) { return ++checks, checkPasses; };
        panel->OnSaveData = [this](bool &ok) {
            ++saves;
            ok = saveSucceeds;
        };
        panel->OnCheckChange = [this](TObject *) { return reportsChange; };
        return panel;
    }

    static TForm *form;
    static int closes;
    TZBtnPanel *panel = nullptr;
    int checks = 0, saves = 0;
    bool checkPasses = true, saveSucceeds = true, reportsChange = false;
};
TForm *ZBtnPanel::form = nullptr;
int ZBtnPanel::closes = 0;

TEST_F(ZBtnPanel, DefaultKindsStandAtEitherEndOfTheFormsBottom)
{
    MakePanel();
    EXPECT_EQ(alBottom, panel->Align());
    EXPECT_EQ(43, panel->Height());
    EXPECT_EQ(form->ClientWidth(), panel->Width());
    EXPECT_EQ(form->ClientHeight() - 43, panel->Top());
    ASSERT_NE(nullptr, panel->SaveButton());
    ASSERT_NE(nullptr, panel->NotSaveButton());
    EXPECT_EQ(nullptr, panel->ApplyButton());
    EXPECT_EQ(nullptr, panel->FreshButton());
    EXPECT_EQ(8, panel->SaveButton()->Left());
    EXPECT_EQ(panel->Width() - 8 - 96, panel->NotSaveButton()->Left());
    EXPECT_EQ(9, panel->SaveButton()->Top());
    EXPECT_EQ(EZBtnPDT_Save, panel->SaveButton()->DefText());
    EXPECT_EQ(EZBtnPDT_NotSave, panel->NotSaveButton()->DefText());
}

TEST_F(ZBtnPanel, KindsMakeAndFreeButtons)
{
    MakePanel();
    panel->SetKind(ZBtnPanDefaultKinds | ZBtnPanBit(EZBtnPan_Fresh) | ZBtnPanBit(EZBtnPan_Apply));
    ASSERT_EQ(4, panel->ControlCount());
    // From the default row: save and close, refresh, apply, close without saving, with equal gaps.
    std::vector<TZButton *> row{panel->SaveButton(), panel->FreshButton(), panel->ApplyButton(),
                                panel->NotSaveButton()};
    EXPECT_EQ(8, row[0]->Left());
    int gap = row[1]->Left() - row[0]->Left() - row[0]->Width();
    EXPECT_GT(gap, 0);
    for (size_t i = 1; i < row.size(); ++i)
        EXPECT_EQ(gap, row[i]->Left() - row[i - 1]->Left() - row[i - 1]->Width()) << i;
    EXPECT_EQ((panel->Width() - (86 + 3 * 96) - 16) / 3, gap);

    panel->SetKind(ZBtnPanBit(EZBtnPan_SaveY));
    EXPECT_EQ(nullptr, panel->NotSaveButton());
    EXPECT_EQ(nullptr, panel->ApplyButton());
    ASSERT_EQ(1, panel->ControlCount());
    EXPECT_EQ((panel->Width() - 86) / 2, panel->SaveButton()->Left());
}

TEST_F(ZBtnPanel, ShrinkingBelowTheButtonsIsRefused)
{
    MakePanel();
    panel->SetAlign(alNone);
    int before = panel->Width();
    int least = 86 + 96 + 2 * 2 + 16;
    panel->SetWidth(least - 1);
    EXPECT_EQ(before, panel->Width());
    panel->SetWidth(least);
    EXPECT_EQ(least, panel->Width());
    panel->SetWidth(500);
    EXPECT_EQ(500, panel->Width());
    EXPECT_EQ(500 - 8 - 96, panel->NotSaveButton()->Left());
}

TEST_F(ZBtnPanel, LoadedWidensAndOrdersTheButtons)
{
    form->BeginLoading();
    MakePanel();
    panel->SetAlign(alNone);
    panel->SetKind(ZBtnPanDefaultKinds | ZBtnPanBit(EZBtnPan_Fresh) | ZBtnPanBit(EZBtnPan_Apply));
    panel->SetWidth(panel->Width());
    // A layout that leaves the buttons wider than the panel and out of order.
    panel->SaveButton()->SetWidth(200);
    panel->NotSaveButton()->SetLeft(0);
    panel->FreshButton()->SetLeft(900);
    form->EndLoading();
    int least = 200 + 3 * 96 + 4 * 2 + 16;
    EXPECT_EQ(least, panel->Width());
    EXPECT_EQ(8, panel->SaveButton()->Left());
    EXPECT_LT(panel->SaveButton()->Left(), panel->FreshButton()->Left());
    EXPECT_LT(panel->FreshButton()->Left(), panel->ApplyButton()->Left());
    EXPECT_LT(panel->ApplyButton()->Left(), panel->NotSaveButton()->Left());
}

TEST_F(ZBtnPanel, CloseBoxWithAChangeAsksAndNoClosesUnsaved)
{
    MakePanel();
    reportsChange = true;
    Answers no(false);
    form->Close();
    EXPECT_EQ(1, closes);
    EXPECT_EQ(1u, no.texts.size());
    EXPECT_EQ(0, saves);
    EXPECT_FALSE(panel->Saved());
}

TEST_F(ZBtnPanel, YesWithAFailingCheckOrSaveKeepsTheFormOpen)
{
    MakePanel();
    reportsChange = true;
    Answers yes(true);
    checkPasses = false;
    form->Close();
    EXPECT_EQ(0, closes);
    EXPECT_EQ(0, form->ModalResult());
    EXPECT_EQ(0, saves);
    checkPasses = true;
    saveSucceeds = false;
    form->Close();
    EXPECT_EQ(0, closes);
    EXPECT_EQ(0, form->ModalResult());
    EXPECT_EQ(1, saves);
    // The save button with a failing save keeps it open too.
    panel->SaveButton()->Click();
    EXPECT_EQ(0, closes);
    EXPECT_EQ(0, form->ModalResult());
    EXPECT_FALSE(panel->ClosedByButton());
    saveSucceeds = true;
    form->Close();
    EXPECT_EQ(1, closes);
    EXPECT_EQ(1, form->ModalResult());
    EXPECT_TRUE(panel->Saved());
}

TEST_F(ZBtnPanel, CloseWithoutSavingClosesAtOnceWithoutAQuestion)
{
    MakePanel();
    reportsChange = true;
    Answers yes(true);
    panel->NotSaveButton()->Click();
    EXPECT_EQ(1, closes);
    EXPECT_EQ(2, form->ModalResult());
    EXPECT_TRUE(yes.texts.empty());
    EXPECT_EQ(0, saves);
    EXPECT_FALSE(panel->ClosedByButton());
    form->SetModalResult(0);
    panel->CancelForm();
    EXPECT_EQ(2, closes);
    EXPECT_TRUE(yes.texts.empty());
}

TEST_F(ZBtnPanel, ApplyAndRefreshButtonsRunTheProtocol)
{
    MakePanel();
    int loads = 0;
    panel->OnLoadData = [&](TObject *sender) {
        EXPECT_EQ(panel, sender);
        ++loads;
    };
    panel->SetKind(ZBtnPanDefaultKinds | ZBtnPanBit(EZBtnPan_Fresh) | ZBtnPanBit(EZBtnPan_Apply));
    panel->ApplyButton()->Click();
    EXPECT_EQ(1, checks);
    EXPECT_EQ(1, saves);
    panel->FreshButton()->Click();
    EXPECT_EQ(1, loads);
    EXPECT_EQ(0, closes);
}

TEST_F(ZBtnPanel, PreviousHandlerRunsFirstAndMayRefuse)
{
    bool refuse = true;
    int asked = 0;
    form->OnCloseQuery = [&](TObject *, bool &canClose) {
        ++asked;
        canClose = !refuse;
    };
    MakePanel();
    reportsChange = true;
    Answers yes(true);
    form->Close();
    EXPECT_EQ(1, asked);
    EXPECT_EQ(0, closes);
    EXPECT_TRUE(yes.texts.empty());
    EXPECT_EQ(0, checks);
    refuse = false;
    form->Close();
    EXPECT_EQ(2, asked);
    EXPECT_EQ(1, closes);
    EXPECT_EQ(1u, yes.texts.size());
}

TEST_F(ZBtnPanel, PanelFreedBeforeItsFormGivesTheHandlerBack)
{
    int asked = 0;
    form->OnCloseQuery = [&](TObject *, bool &canClose) {
        ++asked;
        canClose = true;
    };
    MakePanel();
    reportsChange = true;
    panel->Free();
    panel = nullptr;
    Answers yes(true);
    form->Close();
    EXPECT_EQ(1, asked);
    EXPECT_EQ(1, closes);
    EXPECT_TRUE(yes.texts.empty());
    // A handler set after the panel is left alone when the panel goes.
    int later = 0;
    MakePanel();
    form->OnCloseQuery = [&](TObject *, bool &) { ++later; };
    panel->Free();
    panel = nullptr;
    form->Close();
    EXPECT_EQ(1, later);
}

TEST(ZBtnPanelForm, PanelFreedWithItsFormAndWithoutAForm)
{
    auto *form = new TForm(nullptr);
    auto *panel = new TZBtnPanel(form);
    panel->SetParent(form);
    form->Free();  // the panel goes with it, its form already half gone
    TZBtnPanel orphan(nullptr);
    EXPECT_EQ(nullptr, orphan.Form());
    orphan.CancelForm();
    orphan.CloseFormWith(orphan.SaveButton());
    EXPECT_FALSE(orphan.ClosedByButton());
}

TEST(ZBtnPanelPicture, FourButtonsOnAShownForm)
{
    auto *form = new TForm(nullptr);
    form->SetBounds(40, 40, 520, 160);
    form->SetCaption("Button panel");
    auto *panel = new TZBtnPanel(form);
    panel->SetParent(form);
    panel->SetKind(ZBtnPanDefaultKinds | ZBtnPanBit(EZBtnPan_Fresh) | ZBtnPanBit(EZBtnPan_Apply));
    form->Show();
    for (int i = 0; i < 10; ++i)
        Application->ProcessMessages();
    EXPECT_TRUE(SaveScreenshot(form->Handle(), "zbtnpanel"));
    form->Hide();
    form->Free();
}
}  // namespace
