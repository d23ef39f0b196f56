// The dialog wrappers: kind, number offset and answer of each, through a recording presenter and
// through the message-box stand-in answered by the prompt script.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "base/text/CfgLanguage.h"
#include "base/messages/MessagePresenter.h"
#include "base/messages/zmsg.h"
#include "framework/runtime/Component.h"
#include "framework/windows/PromptScript.h"

namespace {

struct Shown {
    std::uint8_t Kind;
    AnsiString Text;
    bool HasView;
    AnsiString File1, File2, BoxCaption;
    bool BoxHidden;
    std::vector<AnsiString> Choices;
};

// Records every request and answers with `answer`.
class RecordingPresenter : public TMessagePresenter {
public:
    RecordingPresenter() { previous_ = SetMessagePresenter(this); }
    ~RecordingPresenter() override { SetMessagePresenter(previous_); }

    TMessageResult Present(TMessageRequest &r) override
    {
        Shown s{r.Kind, r.Text, r.HasView, r.ErrorsFile, r.InaccuraciesFile, r.BoxCaption, r.BoxHidden, {}};
        for (auto &item : r.Choices)
            s.Choices.push_back(item->Text);
        shown.push_back(s);
        return answer;
    }

    std::vector<Shown> shown;
    TMessageResult answer;

private:
    TMessagePresenter *previous_;
};

// The provider names the number it was asked for, so the text shows the offset.
class DialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        MessageTextProvider = [](std::uint16_t n, bool, int, AnsiString &out) { out = "n" + std::to_string(n) + " $"; };
    }
    void TearDown() override { ClearMessageTextProvider(); }
};

}  // namespace

TEST_F(DialogTest, EachWrapperShowsItsKindWithItsOffset)
{
    RecordingPresenter p;
    struct Case {
        std::function<void()> call;
        std::uint8_t kind;
        AnsiString text;
    };
    std::vector<Case> cases = {
        {[] { ShowMessageNo("a", 500); }, MsgKindError, "n500 a"},
        {[] { ShowZError(ZError("a", 500)); }, MsgKindError, "n500 a"},
        {[] { AskQuestion("a", 5); }, MsgKindQuestion, "n2005 a"},
        {[] { ShowWarning("a", 12); }, MsgKindWarning, "n1012 a"},
        {[] { AskThreeWay("a", 7); }, MsgKindThreeWay, "n2007 a"},
        {[] { ShowInformation("a", 7); }, MsgKindInformation, "n3007 a"},
        {[] { ShowWarningOnce("a", 8); }, MsgKindWarningOnce, "n1008 a"},
        {[] { AskYesCancelNo("a", 9); }, MsgKindYesCancelNo, "n2009 a"},
        {[] { AskQuestionWithBox("as $ is"); }, MsgKindQuestionBox, "as $ is"},
        // Number 0 gets no offset; 99 with an offset still takes the first argument whole.
        {[] { ShowWarning("x|y", 0); }, MsgKindWarning, "x|y"},
        {[] { ShowWarning("x|y", 99); }, MsgKindWarning, "x"},
        {[] { AskQuestion("x|y", 99); }, MsgKindQuestion, "x"},
        {[] { AskQuestion("Файл", 1); }, MsgKindQuestion, "n2001 Файл"},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        cases[i].call();
        ASSERT_EQ(i + 1, p.shown.size());
        EXPECT_EQ(cases[i].kind, p.shown[i].Kind) << i;
        EXPECT_EQ(cases[i].text, p.shown[i].Text) << i;
        EXPECT_FALSE(p.shown[i].HasView) << i;
    }
}

TEST_F(DialogTest, AlreadyShownErrorsShowNothing)
{
    RecordingPresenter p;
    ShowMessageNo("a", 999);
    ShowMessageWithView("a", 999, "e.txt", "w.txt");
    ShowZError(ZError("refused", 999));
    try {
        RaiseMessage("", 999);
    } catch (const ZError &e) {
        ShowZError(e);
    }
    EXPECT_TRUE(p.shown.empty());
}

TEST_F(DialogTest, ViewVariantsPassBothFiles)
{
    RecordingPresenter p;
    ShowMessageWithView("a", 1, "err.txt", "inacc.txt");
    AskQuestionWithView("a", 5, "e", "i");
    ShowWarningWithView("a", 5, "e", "i");
    ShowInformationWithView("a", 5, "e", "i");
    ASSERT_EQ(4u, p.shown.size());
    EXPECT_EQ("Файл a не существует", p.shown[0].Text);
    EXPECT_EQ("err.txt", p.shown[0].File1);
    EXPECT_EQ("inacc.txt", p.shown[0].File2);
    const std::uint8_t kinds[] = {MsgKindError, MsgKindQuestion, MsgKindWarning, MsgKindInformation};
    const char *texts[] = {"Файл a не существует", "n2005 a", "n1005 a", "n3005 a"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(p.shown[i].HasView);
        EXPECT_EQ(kinds[i], p.shown[i].Kind);
        EXPECT_EQ(texts[i], p.shown[i].Text);
    }
}

TEST_F(DialogTest, AnswersAreReadFromTheDialogsResult)
{
    RecordingPresenter p;
    p.answer.ModalResult = 1;
    EXPECT_TRUE(AskQuestion("", 1));
    EXPECT_TRUE(AskQuestionWithView("", 1, "", ""));
    p.answer.ModalResult = 2;
    EXPECT_FALSE(AskQuestion("", 1));
    p.answer.ThreeWay = 2;
    EXPECT_EQ(2, AskThreeWay("", 1));
    p.answer.YesCancelNo = 3;
    EXPECT_EQ(3, AskYesCancelNo("", 1));
    p.answer.BoxChecked = true;
    EXPECT_TRUE(ShowWarningOnce("", 1));
    EXPECT_EQ(2, AskQuestionWithBox("t"));
    p.answer.ModalResult = 1;
    EXPECT_EQ(3, AskQuestionWithBox("t"));
    p.answer.BoxChecked = false;
    EXPECT_EQ(1, ShowMessageBoxed("t", "Больше не спрашивать"));
    EXPECT_EQ(1, ShowMessageBoxed("t", ""));
    ASSERT_GE(p.shown.size(), 2u);
    const Shown &captioned = p.shown[p.shown.size() - 2], &hidden = p.shown.back();
    EXPECT_EQ(MsgKindQuestionBox, captioned.Kind);
    EXPECT_EQ("Больше не спрашивать", captioned.BoxCaption);
    EXPECT_FALSE(captioned.BoxHidden);
    EXPECT_TRUE(hidden.BoxHidden);
}

TEST_F(DialogTest, ChooseFromListOffersTheNumbersUpToTheFirstBelowOne)
{
    RecordingPresenter p;
    p.answer.ModalResult = 1;
    p.answer.Selection = 1;
    EXPECT_EQ(1, ChooseFromList("x", {1, 500, 0, 2}));
    ASSERT_EQ(1u, p.shown.size());
    EXPECT_EQ(MsgKindChoice, p.shown[0].Kind);
    EXPECT_EQ((std::vector<AnsiString>{"Файл x не существует", "n500 x"}), p.shown[0].Choices);

    p.answer.ModalResult = 2;
    EXPECT_EQ(-1, ChooseFromList("x", {1, 2}));
    // A selection the list does not have is no choice.
    p.answer.ModalResult = 1;
    p.answer.Selection = 5;
    EXPECT_EQ(-1, ChooseFromList("x", {1, 2}));
    EXPECT_EQ(3u, p.shown.size());

    EXPECT_EQ(-1, ChooseFromList("x", {0}));
    EXPECT_EQ(-1, ChooseFromList("x", {-1, 1}));
    EXPECT_EQ(-1, ChooseFromList("x", {}));
    EXPECT_EQ(3u, p.shown.size());
}

TEST(SMsgTest, FreesTheControlItOwns)
{
    struct Control : TObject {
        explicit Control(bool &freed) : freed_(freed) {}
        ~Control() override { freed_ = true; }
        bool &freed_;
    };
    bool freed = false;
    {
        SMsgTest item;
        EXPECT_EQ(0u, item.Word1);
        EXPECT_EQ(0u, item.Lines.Color[MarkupMaxLines - 1]);
        EXPECT_TRUE(item.Text.empty());
        item.Control = new Control(freed);
    }
    EXPECT_TRUE(freed);
}

// ---- the message-box stand-in ------------------------------------------------------------------

namespace {
std::uint8_t language = 1;
std::uint8_t ReadLanguage() { return language; }
}  // namespace

TEST_F(DialogTest, TheMessageBoxShowsTheTextAndTheKindsButtons)
{
    language = 1;
    SetCfgLanguageReaders(nullptr, ReadLanguage);
    TPromptScript script;
    script.Answer(idOk);
    ShowMessageNo("~Первая#вторая", 0);
    script.Answer(idYes).Answer(idNo);
    EXPECT_TRUE(AskQuestion("a", 1));
    EXPECT_FALSE(AskQuestion("a", 1));
    script.Answer(idOk).Answer(idOk).Answer(idOk);
    ShowWarning("w", 0);
    ShowInformation("i", 0);
    EXPECT_FALSE(ShowWarningOnce("o", 0));
    ASSERT_EQ(6u, script.Seen().size());
    const auto &seen = script.Seen();
    EXPECT_EQ("Первая\nвторая", seen[0].Text);
    EXPECT_EQ("     О ш и б к а  !", seen[0].Caption);
    EXPECT_EQ(mbOk | mbIconError, seen[0].Flags & 0xFF);
    EXPECT_EQ("n2001 a", seen[1].Text);
    EXPECT_EQ("     З а п р о с  !", seen[1].Caption);
    EXPECT_EQ(mbYesNo | mbIconQuestion, seen[1].Flags & 0xFF);
    EXPECT_EQ(mbOk | mbIconWarning, seen[3].Flags & 0xFF);
    EXPECT_EQ("     П р е д у п р е ж д е н и е  !", seen[3].Caption);
    EXPECT_EQ(mbOk | mbIconInformation, seen[4].Flags & 0xFF);
    EXPECT_EQ("     И н ф о р м а ц и я  !", seen[4].Caption);
    EXPECT_EQ(mbOk | mbIconWarning, seen[5].Flags & 0xFF);

    language = 0;
    script.Answer(idOk);
    ShowMessageNo("u", 0);
    EXPECT_EQ("     П о м и л к а  !", script.Seen().back().Caption);
    EXPECT_EQ(0, script.Unanswered());
    SetCfgLanguageReaders(nullptr, nullptr);
}

TEST_F(DialogTest, TheMessageBoxAnswersThreeWayYesRefuseNoAndChoices)
{
    TPromptScript script;
    script.Answer(idYes).Answer(idNo).Answer(idCancel);
    EXPECT_EQ(1, AskThreeWay("", 1));
    EXPECT_EQ(2, AskThreeWay("", 1));
    EXPECT_EQ(3, AskThreeWay("", 1));
    script.Answer(idYes).Answer(idNo).Answer(idCancel);
    EXPECT_EQ(1, AskYesCancelNo("", 1));
    EXPECT_EQ(2, AskYesCancelNo("", 1));
    EXPECT_EQ(3, AskYesCancelNo("", 1));
    script.Answer(idYes).Answer(idNo);
    EXPECT_EQ(1, AskQuestionWithBox("t"));
    EXPECT_EQ(0, ShowMessageBoxed("t", "c"));
    ASSERT_EQ(8u, script.Seen().size());
    EXPECT_EQ(mbYesNoCancel | mbIconQuestion, script.Seen()[0].Flags & 0xFF);

    // Each item in turn: No goes on, Yes chooses, Cancel refuses, No on the last refuses.
    script.Answer(idNo).Answer(idYes);
    EXPECT_EQ(1, ChooseFromList("f", {1, 2, 3}));
    EXPECT_EQ("Ошибка при открытии файла f", script.Seen().back().Text);
    script.Answer(idCancel);
    EXPECT_EQ(-1, ChooseFromList("f", {1, 2, 3}));
    script.Answer(idNo).Answer(idNo);
    EXPECT_EQ(-1, ChooseFromList("f", {1, 2}));
    EXPECT_EQ(13u, script.Seen().size());
    EXPECT_EQ(0, script.Unanswered());
}
