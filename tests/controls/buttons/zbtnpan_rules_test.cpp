// Placement of the button panel's buttons and the rules of its editing protocol, without a window.
#include <gtest/gtest.h>

#include <vector>

#include "base/messages/MessagePresenter.h"
#include "base/messages/zmsg.h"
#include "controls/buttons/UZBtnPan.h"
#include "tests/support/ShownMessages.h"

namespace {
TZBtnPanSlot Button(int left, int width, int top = 9, int height = 25) { return {left, top, width, height}; }

std::vector<int> Lefts(const std::vector<TZBtnPanSlot> &slots)
{
    std::vector<int> lefts;
    for (const auto &s : slots)
        lefts.push_back(s.Left);
    return lefts;
}

TEST(ZBtnPanPlacement, OneButtonIsCentredAndKeepsItsTop)
{
    auto placed = ZBtnPanArrange(300, 296, 43, {Button(1, 86, 5)});
    EXPECT_EQ((296 - 86) / 2, placed[0].Left);
    EXPECT_EQ(5, placed[0].Top);
}

TEST(ZBtnPanPlacement, TwoButtonsStandEightFromEitherEndInChildOrder)
{
    // The second child goes right even when it stood left of the first.
    auto placed = ZBtnPanArrange(300, 296, 43, {Button(200, 86, 0), Button(1, 96, 0)});
    EXPECT_EQ((std::vector<int>{8, 300 - 8 - 96}), Lefts(placed));
    EXPECT_EQ(9, placed[0].Top);
    EXPECT_EQ(9, placed[1].Top);
}

TEST(ZBtnPanPlacement, ThreeOrMoreKeepTheirOrderByLeftWithEqualGaps)
{
    // Children made in the order save, not-save, refresh, apply, standing save, refresh, apply,
    // not-save; equal ties keep child order.
    std::vector<TZBtnPanSlot> children{Button(0, 86), Button(500, 96), Button(498, 96), Button(499, 96)};
    auto placed = ZBtnPanArrange(500, 496, 43, children);
    int gap = (496 - (86 + 3 * 96) - 16) / 3;
    EXPECT_EQ(8, placed[0].Left);
    EXPECT_EQ(8 + 86 + gap, placed[2].Left);
    EXPECT_EQ(8 + 86 + gap + 96 + gap, placed[3].Left);
    EXPECT_EQ(8 + 86 + 3 * gap + 2 * 96, placed[1].Left);
    EXPECT_EQ((std::vector<int>{9, 9, 9}), (std::vector<int>{placed[1].Top, placed[2].Top, placed[3].Top}));
    // Too narrow for the gaps: they shrink (below zero the buttons overlap, as the width rule stops).
    auto tight = ZBtnPanArrange(60, 60, 43, {Button(0, 20), Button(1, 20), Button(2, 20)});
    EXPECT_EQ((std::vector<int>{8, 20, 32}), Lefts(tight));
    EXPECT_TRUE(ZBtnPanArrange(100, 100, 43, {}).empty());
}

TEST(ZBtnPanPlacement, WidthRuleRefusesShrinkingBelowTheButtons)
{
    std::vector<TZBtnPanSlot> two{Button(0, 86), Button(0, 96)};
    EXPECT_EQ(86 + 96 + 4 + 16, ZBtnPanMinWidth(two));
    EXPECT_EQ(16, ZBtnPanMinWidth({}));
    EXPECT_TRUE(ZBtnPanWidthAccepted(400, 202, two));
    EXPECT_FALSE(ZBtnPanWidthAccepted(400, 201, two));
    // Growing is accepted even while still too narrow.
    EXPECT_TRUE(ZBtnPanWidthAccepted(100, 150, two));
    EXPECT_FALSE(ZBtnPanWidthAccepted(150, 100, two));
}

// Answers every question with yes or no and counts them.
struct Answers : TShownMessages {
    explicit Answers(bool yes) : TShownMessages(yes ? 1 : 2) {}
};

// A protocol whose events record what they were asked.
struct Protocol : ::testing::Test {
    TObject sender;
    TZBtnPanData data{&sender};
    int inits = 0, loads = 0, checks = 0, saves = 0, changeChecks = 0;
    bool checkPasses = true, saveSucceeds = true, reportsChange = false;

    void SetUp() override
    {
        data.OnInitData = [this](TObject *s) {
            EXPECT_EQ(&sender, s);
            ++inits;
        };
        data.OnLoadData = [this](TObject *s) {
            EXPECT_EQ(&sender, s);
            ++loads;
        };
        data.OnCheckData = [this](TObject *s) {
            EXPECT_EQ(&sender, s);
            ++checks;
            return checkPasses;
        };
        data.OnSaveData = [this](bool &ok) {
            EXPECT_TRUE(ok);
            ++saves;
            ok = saveSucceeds;
        };
        data.OnCheckChange = [this](TObject *) {
            ++changeChecks;
            return reportsChange;
        };
    }
};

TEST_F(Protocol, InitRunsOnceUntilReset)
{
    data.InitOnce(false);
    EXPECT_EQ(0, inits);
    data.InitOnce(true);
    data.InitOnce(true);
    EXPECT_EQ(1, inits);
    EXPECT_TRUE(data.Initialised());
    data.ResetInit();
    data.InitOnce(true);
    EXPECT_EQ(2, inits);
    data.DoInit();
    EXPECT_EQ(3, inits);
}

TEST_F(Protocol, ChangeSticksUntilLoadOrSave)
{
    EXPECT_FALSE(data.IsChanged());
    reportsChange = true;
    EXPECT_TRUE(data.IsChanged());
    reportsChange = false;
    EXPECT_TRUE(data.IsChanged());
    EXPECT_EQ(2, changeChecks);  // not asked again while changed
    data.DoLoad();
    EXPECT_EQ(1, loads);
    EXPECT_FALSE(data.IsChanged());
    data.SetChanged(true);
    EXPECT_TRUE(data.DoSave());
    EXPECT_TRUE(data.Saved());
    EXPECT_FALSE(data.IsChanged());
}

TEST_F(Protocol, FailedSaveKeepsTheChange)
{
    data.SetChanged(true);
    saveSucceeds = false;
    EXPECT_FALSE(data.DoSave());
    EXPECT_FALSE(data.Saved());
    EXPECT_TRUE(data.IsChanged());
}

TEST_F(Protocol, WithoutEventsChecksPassAndNothingIsSaved)
{
    TZBtnPanData bare(&sender);
    EXPECT_TRUE(bare.DoCheck());
    EXPECT_TRUE(bare.DoSave());
    EXPECT_FALSE(bare.Saved());
    EXPECT_FALSE(bare.IsChanged());
    bare.DoLoad();
    bare.DoInit();
    EXPECT_TRUE(bare.Initialised());
}

TEST_F(Protocol, SetSavedAndApplySaveOnlyAfterAPassingCheck)
{
    checkPasses = false;
    data.SetSaved(true);
    data.ApplyClick(nullptr);
    EXPECT_EQ(2, checks);
    EXPECT_EQ(0, saves);
    checkPasses = true;
    data.SetSaved(true);
    EXPECT_EQ(1, saves);
    EXPECT_TRUE(data.Saved());
    data.SetSaved(true);  // no change: nothing runs
    EXPECT_EQ(1, saves);
    data.SetSaved(false);
    EXPECT_FALSE(data.Saved());
    EXPECT_EQ(1, saves);
    data.ApplyClick(nullptr);
    EXPECT_EQ(2, saves);
    data.FreshClick(nullptr);
    EXPECT_EQ(1, loads);
}

TEST_F(Protocol, ModalResultOneChecksAndSaves)
{
    int mr = 1;
    EXPECT_TRUE(data.DecideClose(mr));
    EXPECT_EQ(1, mr);
    EXPECT_EQ(1, saves);
    checkPasses = false;
    data.SetClosedByButton(true);
    EXPECT_FALSE(data.DecideClose(mr));
    EXPECT_EQ(0, mr);
    EXPECT_FALSE(data.ClosedByButton());
    EXPECT_EQ(1, saves);
    // A failed save refuses the close: the user's changes stay on screen.
    checkPasses = true;
    saveSucceeds = false;
    mr = 1;
    EXPECT_FALSE(data.DecideClose(mr));
    EXPECT_EQ(0, mr);
}

TEST_F(Protocol, ButtonCloseWithoutSavingNeverAsks)
{
    Answers answers(true);
    reportsChange = true;
    data.SetClosedByButton(true);
    int mr = 2;
    EXPECT_TRUE(data.DecideClose(mr));
    EXPECT_EQ(2, mr);
    EXPECT_FALSE(data.ClosedByButton());
    EXPECT_TRUE(answers.texts.empty());
    EXPECT_EQ(0, saves);
    // Other results close without a word.
    mr = 7;
    EXPECT_TRUE(data.DecideClose(mr));
    EXPECT_EQ(7, mr);
    EXPECT_TRUE(answers.texts.empty());
}

TEST_F(Protocol, UnchangedDataClosesWithoutAQuestion)
{
    Answers answers(true);
    for (int start : {0, 2}) {
        int mr = start;
        EXPECT_TRUE(data.DecideClose(mr));
        EXPECT_EQ(start, mr);
    }
    EXPECT_TRUE(answers.texts.empty());
}

TEST_F(Protocol, ChangedDataAsksTheServiceWhichHasNoTextForIt)
{
    reportsChange = true;
    {
        Answers no(false);
        int mr = 0;
        EXPECT_TRUE(data.DecideClose(mr));
        EXPECT_EQ(0, mr);
        ASSERT_EQ(1u, no.texts.size());
        EXPECT_EQ(MessageText(AnsiString(), 2006), no.texts[0]);
        EXPECT_EQ(0, saves);
        EXPECT_FALSE(data.Saved());
    }
    Answers yes(true);
    int mr = 2;  // the close box of a modal form
    EXPECT_TRUE(data.DecideClose(mr));
    EXPECT_EQ(1, mr);
    EXPECT_EQ(1, saves);
    EXPECT_TRUE(data.Saved());
}

TEST_F(Protocol, YesWithAFailingCheckOrSaveKeepsTheFormOpen)
{
    reportsChange = true;
    Answers yes(true);
    checkPasses = false;
    int mr = 0;
    EXPECT_FALSE(data.DecideClose(mr));
    EXPECT_EQ(0, mr);
    EXPECT_EQ(0, saves);
    checkPasses = true;
    saveSucceeds = false;
    mr = 2;
    EXPECT_FALSE(data.DecideClose(mr));
    EXPECT_EQ(0, mr);
    EXPECT_EQ(1, saves);
    EXPECT_TRUE(data.IsChanged());
    EXPECT_EQ(2u, yes.texts.size());
}

TEST_F(Protocol, OwnAskerReplacesTheQuestion)
{
    Answers service(true);
    reportsChange = true;
    int asked = 0;
    data.OnOutSel = [&](TObject *s) {
        EXPECT_EQ(&sender, s);
        ++asked;
        return false;
    };
    int mr = 0;
    EXPECT_TRUE(data.DecideClose(mr));
    EXPECT_EQ(1, asked);
    EXPECT_TRUE(service.texts.empty());
    EXPECT_EQ(0, saves);
}
}  // namespace
