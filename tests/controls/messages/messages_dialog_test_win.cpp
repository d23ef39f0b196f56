// The message dialog and its file viewer, shown through the message service's wrappers and worked
// through the prompt seam as a user would: each step shows the dialog, looks at it and presses a key or
// a button.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <vector>

#include "base/text/CfgLanguage.h"
#include "base/messages/MessageBoxPresenter.h"
#include "base/messages/MessagePresenter.h"
#include "base/input/fun_other.h"
#include "base/messages/zmsg.h"
#include "controls/ControlsRun.h"
#include "controls/UZLangBox.h"
#include "controls/buttons/UZMLBtn.h"
#include "controls/messages/View_prt.h"
#include "controls/messages/umessages.h"
#include "controls/buttons/uzCheckBox.h"
#include "controls/buttons/uzRadioButton.h"
#include "framework/windows/ComCtrls.h"
#include "framework/windows/ExtCtrls.h"
#include "framework/windows/Forms.h"
#include "framework/windows/PromptScript.h"
#include "framework/windows/StdCtrls.h"
#include "framework/runtime/SysUtils.h"
#include "storage/compound/sqmtver.h"
#include "tests/support/PointerInput.h"
#include "tests/support/PromptSteps.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WindowPicture.h"

namespace {

std::uint8_t RussianMessages() { return 1; }
std::uint8_t UkrainianMessages() { return 0; }

// Interface language Ukrainian and message language Ukrainian unless a test says otherwise.
class MessageDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetLangs();
        SetCfgLanguageReaders(nullptr, UkrainianMessages);
    }
    void TearDown() override
    {
        ResetLangs();
        SetCfgLanguageReaders(nullptr, nullptr);
    }
    static void MessagesInRussian(bool russian)
    {
        SetCfgLanguageReaders(nullptr, russian ? RussianMessages : UkrainianMessages);
    }
};

void Settle()
{
    for (int i = 0; i < 10; ++i)
        Application->ProcessMessages();
}

// Shows the form and lets it paint. (Every window mapped on the test run's screen costs about two
// seconds when it goes away, so only the tests that look at the painted window show it.)
void Shown(TForm &form)
{
    form.Show();
    Settle();
}

// The dialog laid out as its show lays it out (OnShow), its window made but not mapped.
void LaidOut(TForm &form)
{
    form.HandleNeeded();
    form.OnShow(&form);
}

void PressEsc(TDMessages &d)
{
    // The key goes to the control with the focus; the form previews it.
    HWND target = d.ActiveControl() ? d.ActiveControl()->Handle() : d.btWatchExit->Handle();
    SendMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0);
}

// The step that lays the dialog out (or shows it) and then acts on it as its user.
template <class Act>
PromptSteps::Step OnMessage(Act act, bool show = false)
{
    return [act, show](const TPrompt &p) {
        auto *d = dynamic_cast<TDMessages *>(p.Form);
        EXPECT_NE(d, nullptr);
        if (!d)
            return TPromptAnswer{mrCancel, {}};
        if (show)
            Shown(*d);
        else
            LaidOut(*d);
        act(*d);
        return TPromptAnswer{d->ModalResult(), {}};
    };
}

struct Buttons {
    bool yes, watchExit, noWatch, ask;
    const char *yesCaption, *watchExitCaption, *noWatchCaption;
};

// The visible buttons (and box) of a dialog and the captions of those shown.
void ExpectButtons(const TDMessages &d, const Buttons &want, const std::string &what)
{
    SCOPED_TRACE(what);
    auto caption = [](TButton *b) { return b->Visible() ? b->Caption() : AnsiString(); };
    EXPECT_EQ(d.btYes->Visible(), want.yes);
    EXPECT_EQ(d.btWatchExit->Visible(), want.watchExit);
    EXPECT_EQ(d.btNoWatch->Visible(), want.noWatch);
    EXPECT_EQ(d.Ask->Visible(), want.ask);
    EXPECT_EQ(caption(d.btYes), want.yesCaption);
    EXPECT_EQ(caption(d.btWatchExit), want.watchExitCaption);
    EXPECT_EQ(caption(d.btNoWatch), want.noWatchCaption);
}

// Counts how often the components it watches are freed.
class FreeCounter : public TComponent {
public:
    FreeCounter() : TComponent(nullptr) {}
    void Watch(TComponent *c) { c->FreeNotification(this); }
    int freed = 0;

protected:
    void Notification(TComponent *, bool removing) override
    {
        if (removing)
            ++freed;
    }
};

bool HasWhitePixel(TForm &form, const TRect &area)
{
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x)
            if (form.Canvas()->Pixel(x, y) == clWhite)
                return true;
    return false;
}

}  // namespace

TEST_F(MessageDialog, EachKindHasItsButtonsInBothInterfaceLanguages)
{
    struct Case {
        std::uint8_t kind;
        Buttons ukr, rus;
        const char *reference;
    };
    const Case cases[] = {
        {0,
         {false, true, false, false, "", "&Вихід", ""},
         {false, true, false, false, "", "&Выход", ""},
         "btWatchExit"},
        {1, {true, false, true, false, "&Так", "", "&Ні"}, {true, false, true, false, "&Да", "", "&Нет"}, "btYes"},
        {2,
         {false, true, false, false, "", "&Вихід", ""},
         {false, true, false, false, "", "&Выход", ""},
         "btWatchExit"},
        {3, {true, true, true, false, "1", "2", "3"}, {true, true, true, false, "1", "2", "3"}, "btYes"},
        {4, {true, false, true, true, "&Так", "", "&Ні"}, {true, false, true, true, "&Да", "", "&Нет"}, "Ask"},
        {5,
         {false, true, false, false, "", "&Вихід", ""},
         {false, true, false, false, "", "&Выход", ""},
         "btWatchExit"},
        {6,
         {true, false, true, false, "&Вибрати", "", "&Відмовитись"},
         {true, false, true, false, "&Выбрать", "", "&Отказаться"},
         "btYes"},
        {7, {false, true, false, true, "", "&Вихід", ""}, {false, true, false, true, "", "&Выход", ""}, "Ask"},
        {8,
         {true, true, true, false, "&Так", "&Відмова", "&Ні"},
         {true, true, true, false, "&Да", "&Отказ", "&Нет"},
         "btWatchExit"},
        {9,
         {false, true, false, false, "", "&Вихід", ""},
         {false, true, false, false, "", "&Выход", ""},
         "btWatchExit"},
    };
    for (ELang lang : {elg_Ukr, elg_Rus}) {
        SetInterfaceLang(lang);
        for (const Case &c : cases) {
            TDMessages *d = new TDMessages(nullptr, true, c.kind);
            std::string what = "kind " + std::to_string(c.kind) + (lang == elg_Ukr ? " ukr" : " rus");
            ExpectButtons(*d, lang == elg_Ukr ? c.ukr : c.rus, what);
            EXPECT_EQ(d->Reference()->Name(), c.reference) << what;
            d->Free();
        }
    }
    // The box's own caption follows the interface language too.
    SetInterfaceLang(elg_Rus);
    TDMessages *d = new TDMessages(nullptr, true, MsgKindQuestionBox);
    EXPECT_EQ(d->Ask->Caption(), "&Не задавать больше этот вопрос");
    d->Free();
}

TEST_F(MessageDialog, QuestionsAnswerYesOnlyThroughTheYesButton)
{
    PromptSteps prompts;
    prompts.Then(OnMessage([](TDMessages &d) {
        EXPECT_EQ(d.Kind(), MsgKindQuestion);
        EXPECT_EQ(d.Caption(), "     З а п и т  !");
        d.btYes->Click();
    }));
    prompts.Then(OnMessage([](TDMessages &d) { d.btNoWatch->Click(); }));
    prompts.Then(OnMessage([](TDMessages &d) { PressEsc(d); }));
    EXPECT_TRUE(AskQuestion("Продовжити?", 0));
    EXPECT_FALSE(AskQuestion("Продовжити?", 0));
    EXPECT_FALSE(AskQuestion("Продовжити?", 0));
    // The modal results themselves: 1 for yes, 2 for any close.
    prompts.Then(OnMessage([](TDMessages &d) {
        d.btNoWatch->Click();
        EXPECT_EQ(d.ModalResult(), mrCancel);
    }));
    EXPECT_FALSE(AskQuestionWithView("Продовжити?", 0, "", ""));
    EXPECT_EQ(prompts.unanswered, 0);
}

TEST_F(MessageDialog, ThreeWayAndYesRefuseNoResults)
{
    PromptSteps prompts;
    prompts.Then(OnMessage([](TDMessages &d) { d.btYes->Click(); }))
        .Then(OnMessage([](TDMessages &d) { d.btWatchExit->Click(); }))
        .Then(OnMessage([](TDMessages &d) { d.btNoWatch->Click(); }))
        .Then(OnMessage([](TDMessages &d) { PressEsc(d); }));
    EXPECT_EQ(AskThreeWay("Один, два чи три?", 0), 1);
    EXPECT_EQ(AskThreeWay("Один, два чи три?", 0), 2);
    EXPECT_EQ(AskThreeWay("Один, два чи три?", 0), 3);
    EXPECT_EQ(AskThreeWay("Один, два чи три?", 0), 3);

    prompts.Then(OnMessage([](TDMessages &d) { d.btYes->Click(); }))
        .Then(OnMessage([](TDMessages &d) { d.btWatchExit->Click(); }))
        .Then(OnMessage([](TDMessages &d) { d.btNoWatch->Click(); }))
        .Then(OnMessage([](TDMessages &d) { PressEsc(d); }));
    EXPECT_EQ(AskYesCancelNo("Зберегти?", 0), 1);
    EXPECT_EQ(AskYesCancelNo("Зберегти?", 0), 3);
    EXPECT_EQ(AskYesCancelNo("Зберегти?", 0), 2);
    EXPECT_EQ(AskYesCancelNo("Зберегти?", 0), 2);
    EXPECT_EQ(prompts.unanswered, 0);
}

TEST_F(MessageDialog, MessagesShowTheirHeaderAndCloseWithTheExitButton)
{
    struct Case {
        std::function<void()> show;
        std::uint8_t kind;
        const char *ukr, *rus;
    };
    const Case cases[] = {
        {[] { ShowMessageNo("Помилка", 0); }, MsgKindError, "     П о м и л к а  !", "     О ш и б к а  !"},
        {[] { ShowZError(ZError("Помилка", 0)); }, MsgKindError, "     П о м и л к а  !", "     О ш и б к а  !"},
        {[] { ShowMessageWithView("Помилка", 0, "", ""); }, MsgKindError, "     П о м и л к а  !",
         "     О ш и б к а  !"},
        {[] { ShowWarning("Увага", 0); }, MsgKindWarning, "     П о п е р е д ж е н н я  !",
         "     П р е д у п р е ж д е н и е  !"},
        {[] { ShowWarningWithView("Увага", 0, "", ""); }, MsgKindWarning, "     П о п е р е д ж е н н я  !",
         "     П р е д у п р е ж д е н и е  !"},
        {[] { ShowInformation("Готово", 0); }, MsgKindInformation, "     І н ф о р м а ц і я  !",
         "     И н ф о р м а ц и я  !"},
        {[] { ShowInformationWithView("Готово", 0, "", ""); }, MsgKindInformation, "     І н ф о р м а ц і я  !",
         "     И н ф о р м а ц и я  !"},
    };
    for (bool russian : {false, true}) {
        MessagesInRussian(russian);
        for (const Case &c : cases) {
            PromptSteps prompts;
            prompts.Then(OnMessage([&](TDMessages &d) {
                EXPECT_EQ(d.Kind(), c.kind);
                EXPECT_EQ(d.Caption(), russian ? c.rus : c.ukr);
                d.btWatchExit->Click();
                EXPECT_EQ(d.ModalResult(), mrCancel);
            }));
            c.show();
            EXPECT_EQ(prompts.seen.size(), 1u);
            EXPECT_EQ(prompts.unanswered, 0);
        }
    }
}

TEST_F(MessageDialog, TheHeaderFollowsTheMessageLanguageNotTheInterfaceLanguage)
{
    SetInterfaceLang(elg_Rus);
    MessagesInRussian(false);
    PromptSteps prompts;
    prompts.Then(OnMessage([](TDMessages &d) {
        EXPECT_EQ(d.Caption(), "     П о м и л к а  !");
        EXPECT_EQ(d.btWatchExit->Caption(), "&Выход");
        d.btWatchExit->Click();
    }));
    ShowMessageNo("Текст", 0);

    SetInterfaceLang(elg_Ukr);
    MessagesInRussian(true);
    prompts.Then(OnMessage([](TDMessages &d) {
        EXPECT_EQ(d.Caption(), "     З а п р о с  !");
        EXPECT_EQ(d.btYes->Caption(), "&Так");
        d.btYes->Click();
    }));
    EXPECT_TRUE(AskQuestion("Текст", 0));
    EXPECT_EQ(prompts.unanswered, 0);
}

TEST_F(MessageDialog, BoxesReportTheirTick)
{
    PromptSteps prompts;
    prompts
        .Then(OnMessage([](TDMessages &d) {
            EXPECT_TRUE(d.Ask->Visible());
            EXPECT_EQ(d.Ask->Caption(), "&Не задавати більше це питання");
            d.Ask->SetChecked(true);
            d.btYes->Click();
        }))
        .Then(OnMessage([](TDMessages &d) {
            d.Ask->SetChecked(true);
            PressEsc(d);
        }))
        .Then(OnMessage([](TDMessages &d) { d.btYes->Click(); }))
        .Then(OnMessage([](TDMessages &d) {
            EXPECT_EQ(d.Ask->Caption(), "Більше не питати");
            d.btNoWatch->Click();
        }))
        .Then(OnMessage([](TDMessages &d) {
            EXPECT_FALSE(d.Ask->Visible());
            d.btYes->Click();
        }));
    EXPECT_EQ(AskQuestionWithBox("Видалити?"), 3);
    EXPECT_EQ(AskQuestionWithBox("Видалити?"), 2);
    EXPECT_EQ(AskQuestionWithBox("Видалити?"), 1);
    EXPECT_EQ(ShowMessageBoxed("Видалити?", "Більше не питати"), 0);
    EXPECT_EQ(ShowMessageBoxed("Видалити?", ""), 1);

    // AskDontAskAgain is the same question made by the dialog itself.
    prompts.Then(OnMessage([](TDMessages &d) {
        EXPECT_EQ(d.Kind(), MsgKindQuestionBox);
        EXPECT_EQ(d.Text, "Питання");
        d.Ask->SetChecked(true);
        d.btYes->Click();
    }));
    prompts.Then(OnMessage([](TDMessages &d) { d.btYes->Click(); }));
    prompts.Then(OnMessage([](TDMessages &d) {
        d.Ask->SetChecked(true);
        d.btNoWatch->Click();
    }));
    prompts.Then(OnMessage([](TDMessages &d) { PressEsc(d); }));
    EXPECT_EQ(AskDontAskAgain("Питання"), 3);
    EXPECT_EQ(AskDontAskAgain("Питання"), 1);
    EXPECT_EQ(AskDontAskAgain("Питання"), 2);
    EXPECT_EQ(AskDontAskAgain("Питання"), 0);
    EXPECT_EQ(prompts.unanswered, 0);
}

TEST_F(MessageDialog, WarningOnceReplacesTheBoxCaptionKeepingItsMargin)
{
    for (bool russian : {false, true}) {
        MessagesInRussian(russian);
        PromptSteps prompts;
        prompts.Then(OnMessage([&](TDMessages &d) {
            const AnsiString caption =
                russian ? "В дальнейшем не выводить это предупреждение." : "Подалі не виводити це попередження.";
            EXPECT_EQ(d.Ask->Caption(), caption);
            EXPECT_EQ(d.Ask->Alignment(), taRightJustify);
            // The design box is 193 wide for its caption as shown; the new one keeps that margin.
            TDMessages fresh(nullptr, true, MsgKindWarningOnce);
            const int margin = 193 - fresh.Canvas()->TextWidth(ShownCaption(fresh.Ask->Caption()));
            EXPECT_EQ(d.Ask->Width(), d.Canvas()->TextWidth(caption) + margin);
            EXPECT_EQ(d.Ask->Left(), (d.Width() - d.Ask->Width()) / 2);
            d.Ask->SetChecked(true);
            d.btWatchExit->Click();
        }));
        prompts.Then(OnMessage([](TDMessages &d) { PressEsc(d); }));
        EXPECT_TRUE(ShowWarningOnce("Увага", 0));
        EXPECT_FALSE(ShowWarningOnce("Увага", 0));
        EXPECT_EQ(prompts.unanswered, 0);
    }
}

TEST_F(MessageDialog, TheLayoutFollowsTheText)
{
    PromptSteps prompts;
    int designHeight = 0;
    prompts.Then(OnMessage(
        [&](TDMessages &d) {
            // One line: the buttons come up, but not above the image's height + 10.
            EXPECT_EQ(d.LineCount, 1);
            EXPECT_EQ(d.btWatchExit->Top(), 74);
            EXPECT_EQ(d.Image->Top(), (74 - 64) / 2);
            EXPECT_TRUE(d.CentreLines);
            TDMessages fresh(nullptr, true, MsgKindError);
            designHeight = fresh.Height();
            EXPECT_EQ(d.Height(), designHeight - (136 - 74));
            EXPECT_TRUE(SaveScreenshot(d.Handle(), "message_error_ukr"));
            d.btWatchExit->Click();
        },
        true));
    ShowMessageNo("Файл не знайдено", 0);

    AnsiString twenty;
    for (int i = 1; i <= 20; ++i)
        twenty += (i > 1 ? "#" : "") + AnsiString("Рядок ") + std::to_string(i);
    prompts.Then(OnMessage([&](TDMessages &d) {
        EXPECT_EQ(d.LineCount, 20);
        EXPECT_LT(d.SpareHeight, 0);
        EXPECT_GT(d.btWatchExit->Top(), 136);
        EXPECT_EQ(d.Height(), designHeight - d.SpareHeight);
        EXPECT_GT(d.btWatchExit->Top(), d.TextBlockHeight);
        d.btWatchExit->Click();
    }));
    ShowInformation(twenty, 0);

    prompts.Then(OnMessage([&](TDMessages &d) {
        EXPECT_FALSE(d.CentreLines);
        EXPECT_EQ(d.Text, "Зліва#друга строка");
        EXPECT_EQ(d.LineCount, 2);
        d.btWatchExit->Click();
    }));
    ShowWarning("~Зліва#друга строка", 0);
    EXPECT_EQ(prompts.unanswered, 0);
}

TEST_F(MessageDialog, AlarmColoursShowTheSecondFourImagesOnRed)
{
    for (std::uint8_t kind : {MsgKindError, MsgKindQuestion, MsgKindWarning, MsgKindInformation}) {
        TDMessages normal(nullptr, true, kind), alarm(nullptr, false, kind);
        EXPECT_EQ(normal.Color(), clSkyBlue);
        EXPECT_EQ(alarm.Color(), clRed);
        // Inside each figure: drawn for a red ground in alarm colours (white there), not so otherwise.
        const int x = kind == MsgKindWarning ? 20 : 14, y = kind == MsgKindWarning ? 50 : 32;
        EXPECT_EQ(alarm.Image->Canvas()->Pixel(x, y), clWhite) << int(kind);
        EXPECT_NE(normal.Image->Canvas()->Pixel(x, y), clWhite) << int(kind);
        EXPECT_NE(normal.Image->Canvas()->Pixel(x, y), normal.Color()) << int(kind);
    }
    // Kinds above 8 show no image.
    TDMessages none(nullptr, true, 9);
    EXPECT_EQ(none.Image->Canvas()->Pixel(32, 32), clSkyBlue);

    TDMessages *d = new TDMessages(nullptr, false, MsgKindError);
    d->AfterConstruction();
    d->Text = "Ж#Тривога!";
    Shown(*d);
    // The text is white and bold on the red form.
    EXPECT_TRUE(d->Canvas()->Font()->Style() & fsBold);
    EXPECT_TRUE(HasWhitePixel(*d, Rect(d->TextLeft(), 0, d->ClientWidth(), d->btWatchExit->Top())));
    EXPECT_TRUE(SaveScreenshot(d->Handle(), "message_alarm_error"));
    d->Free();
}

TEST_F(MessageDialog, TheViewButtonOnlyForErrorsQuestionsWarningsAndInformation)
{
    struct Case {
        std::uint8_t kind;
        bool offered;
    };
    for (Case c : {Case{0, true}, Case{1, true}, Case{2, true}, Case{3, false}, Case{4, false}, Case{5, true},
                   Case{7, false}, Case{8, false}}) {
        TDMessages *d = new TDMessages(nullptr, true, c.kind);
        d->AfterConstruction();
        d->Text = "Текст";
        d->HasView = true;
        LaidOut(*d);
        TButton *view = c.kind == MsgKindQuestion ? d->btWatchExit : d->btNoWatch;
        bool shownView = view->Visible() && (view->Caption() == "&Перегляд");
        EXPECT_EQ(shownView, c.offered) << int(c.kind);
        if (c.offered) {  // beside the other buttons
            EXPECT_EQ(view->Top(), d->Reference()->Top()) << int(c.kind);
        }
        d->Free();
    }
    // Without has-view no kind offers it.
    TDMessages *d = new TDMessages(nullptr, true, MsgKindError);
    d->AfterConstruction();
    LaidOut(*d);
    EXPECT_FALSE(d->btNoWatch->Visible());
    d->Free();
}

TEST_F(MessageDialog, MissingViewFilesGiveOneMessageAndNoViewer)
{
    TempFolder t;
    WriteWholeFile(t / "errors.txt", "помилка 1\r\n");
    struct Case {
        AnsiString errors, inaccuracies;
    };
    for (const Case &c : {Case{t / "missing.txt", ""}, Case{"", t / "missing.txt"},
                          Case{t / "errors.txt", t / "missing.txt"}, Case{"", ""}}) {
        PromptSteps prompts;
        prompts.Then(OnMessage([&](TDMessages &d) {
            d.btNoWatch->Click();  // the view button
            EXPECT_EQ(ViewPrt, nullptr);
            EXPECT_TRUE(d.Timer->Enabled());
            EXPECT_EQ(d.ModalResult(), mrNone);  // the dialog stays open
            d.btWatchExit->Click();
        }));
        prompts.Answer(idOk);  // the message
        ShowMessageWithView("Є помилки", 0, c.errors, c.inaccuracies);
        ASSERT_EQ(prompts.seen.size(), 2u);
        EXPECT_EQ(prompts.seen[0].Kind, TPromptKind::ModalForm);
        EXPECT_EQ(prompts.seen[1].Kind, TPromptKind::MessageBox);
        EXPECT_EQ(prompts.seen[1].Text, "Нема інформації для перегляду !");
        EXPECT_EQ(prompts.unanswered, 0);
    }
}

TEST_F(MessageDialog, TheViewerShowsTheFilesAndLeavesNoPointerBehind)
{
    TempFolder t;
    const AnsiString errors = t / "errors.txt", inaccuracies = t / "warn.txt";
    WriteWholeFile(errors, "помилка 1\r\nпомилка 2\r\n");
    WriteWholeFile(inaccuracies, "неточність\r\n");
    PromptSteps prompts;
    prompts.Then(OnMessage([&](TDMessages &d) {
        EXPECT_TRUE(d.btWatchExit->Visible());
        d.btWatchExit->Click();  // kind 1: the view button sits in the middle
        EXPECT_EQ(ViewPrt, nullptr);
        EXPECT_TRUE(d.Timer->Enabled());
        d.btYes->Click();
    }));
    prompts.Then([&](const TPrompt &p) {
        auto *v = dynamic_cast<TViewPrt *>(p.Form);
        EXPECT_NE(v, nullptr);
        EXPECT_EQ(v, ViewPrt);
        EXPECT_FALSE(static_cast<TDMessages *>(v->Owner())->Timer->Enabled());
        Shown(*v);
        const AnsiString title = "ЦМТ-5 (" + ProgramVersion.text + ")       Перегляд файла " + errors;
        EXPECT_EQ(v->Caption(), title);
        EXPECT_EQ(v->LTxt->Lines()->Strings(0), title);
        EXPECT_EQ(v->LTxt->Lines()->Strings(1), "помилка 1");
        EXPECT_TRUE(v->kWar->Visible());
        EXPECT_TRUE(v->kErr->Visible());
        EXPECT_TRUE(SaveScreenshot(v->Handle(), "message_viewer"));
        v->kWarClick(nullptr);
        EXPECT_EQ(v->LTxt->Lines()->Strings(1), "неточність");
        v->Button1Click(nullptr);
        return TPromptAnswer{mrCancel, {}};
    });
    EXPECT_TRUE(AskQuestionWithView("Переглянути?", 0, errors, inaccuracies));
    EXPECT_EQ(prompts.unanswered, 0);

    // One file: no buttons to switch; the one given is shown.
    prompts.Then(OnMessage([&](TDMessages &d) {
        d.btNoWatch->Click();
        d.btWatchExit->Click();
    }));
    prompts.Then([&](const TPrompt &p) {
        auto *v = dynamic_cast<TViewPrt *>(p.Form);
        LaidOut(*v);
        EXPECT_FALSE(v->kWar->Visible());
        EXPECT_FALSE(v->kErr->Visible());
        EXPECT_EQ(v->LTxt->Lines()->Strings(1), "неточність");
        return TPromptAnswer{mrCancel, {}};
    });
    ShowWarningWithView("Є неточності", 0, "", inaccuracies);
    EXPECT_EQ(prompts.unanswered, 0);
}

TEST_F(MessageDialog, AViewFileThatCannotBeReadLeavesNoViewerAndTheTimerRunning)
{
    TempFolder t;
    const AnsiString errors = t / "errors.txt";
    WriteWholeFile(errors, "помилка\r\n");
    PromptSteps prompts;
    prompts.Then(OnMessage([&](TDMessages &d) {
        EXPECT_THROW(d.btNoWatch->Click(), Exception);
        EXPECT_EQ(ViewPrt, nullptr);
        EXPECT_TRUE(d.Timer->Enabled());
        EXPECT_EQ(d.ModalResult(), mrNone);
        d.btWatchExit->Click();
    }));
    prompts.Then([&](const TPrompt &p) {
        // Gone between the dialog's look and the viewer's load.
        DeleteFile(errors);
        LaidOut(*static_cast<TForm *>(p.Form));
        return TPromptAnswer{mrCancel, {}};
    });
    ShowMessageWithView("Є помилки", 0, errors, "");
    EXPECT_EQ(prompts.unanswered, 0);
}

TEST_F(MessageDialog, ShowFileTitlesInTheMessageLanguage)
{
    TempFolder t;
    const AnsiString file = t / "протокол.txt";
    WriteWholeFile(file, "рядок\r\n");
    for (bool russian : {false, true}) {
        MessagesInRussian(russian);
        TViewPrt *v = new TViewPrt(nullptr);
        v->AfterConstruction();
        v->ShowFile(file);
        const AnsiString title =
            "ЦМТ-5 (" + ProgramVersion.text + ")       " + (russian ? "Просмотр файла " : "Перегляд файла ") + file;
        EXPECT_EQ(v->Caption(), title);
        ASSERT_EQ(v->LTxt->Lines()->Count(), 2);
        EXPECT_EQ(v->LTxt->Lines()->Strings(0), title);
        EXPECT_EQ(v->LTxt->SelStart(), 0);
        v->Free();
    }
}

TEST_F(MessageDialog, AChoiceListGivesTheChosenItem)
{
    for (ELang lang : {elg_Ukr, elg_Rus}) {
        SetInterfaceLang(lang);
        MessagesInRussian(lang == elg_Rus);
        PromptSteps prompts;
        prompts.Then(OnMessage(
            [&](TDMessages &d) {
                ASSERT_EQ(d.ChoiceList.size(), 3u);
                EXPECT_EQ(d.Selection, 0);
                auto *first = static_cast<TZRadioButton *>(d.ChoiceList[0]->Control);
                auto *second = static_cast<TZRadioButton *>(d.ChoiceList[1]->Control);
                EXPECT_TRUE(first->Checked());
                EXPECT_EQ(first->Left(), d.TextLeft());
                EXPECT_EQ(first->Width(), first->Height());
                EXPECT_GT(second->Top(), first->Top());
                EXPECT_TRUE(SaveScreenshot(d.Handle(), lang == elg_Ukr ? "message_choice_ukr" : "message_choice_rus"));
                d.btYes->Click();
            },
            true));
        prompts.Then(OnMessage([](TDMessages &d) {
            auto *second = static_cast<TZRadioButton *>(d.ChoiceList[1]->Control);
            SendMessageW(second->Handle(), BM_CLICK, 0, 0);
            EXPECT_TRUE(second->Checked());
            EXPECT_EQ(d.Selection, 1);
            d.btYes->Click();
        }));
        prompts.Then(OnMessage([](TDMessages &d) {
            SendMessageW(static_cast<TZRadioButton *>(d.ChoiceList[2]->Control)->Handle(), BM_CLICK, 0, 0);
            d.btNoWatch->Click();
        }));
        prompts.Then(OnMessage([](TDMessages &d) { PressEsc(d); }));
        MessageTextProvider = [](std::uint16_t n, bool russian, int, AnsiString &text) {
            text = (russian ? "Вариант " : "Варіант ") + std::to_string(n) + " $";
        };
        for (int expected : {0, 1, -1, -1})
            EXPECT_EQ(ChooseFromList("тексту", {101, 102, 103, 0}), expected);
        ClearMessageTextProvider();
        EXPECT_EQ(prompts.unanswered, 0);
    }
}

TEST_F(MessageDialog, EveryChoiceItemAndItsButtonIsFreedOnce)
{
    FreeCounter counter;
    TDMessages *d = new TDMessages(nullptr, true, MsgKindChoice);
    d->AfterConstruction();
    for (const char *text : {"Перший", "Другий#у два рядки", "Третій"}) {
        d->ChoiceList.push_back(std::make_unique<SMsgTest>());
        d->ChoiceList.back()->Text = text;
    }
    LaidOut(*d);
    for (auto &item : d->ChoiceList) {
        ASSERT_NE(item->Control, nullptr);
        counter.Watch(static_cast<TComponent *>(item->Control));
    }
    EXPECT_EQ(d->ChoiceList[1]->Word1, 2u);  // the second item's two lines
    d->Free();
    EXPECT_EQ(counter.freed, 3);
}

TEST_F(MessageDialog, TheTimerKeepsTheDialogInFront)
{
    TDMessages *d = new TDMessages(nullptr, true, MsgKindInformation);
    d->AfterConstruction();
    d->Text = "Текст";
    EXPECT_TRUE(d->Timer->Enabled());
    EXPECT_EQ(d->Timer->Interval(), 1000u);
    Shown(*d);
    TForm *other = new TForm(nullptr);
    other->SetFormStyle(fsStayOnTop);  // among the windows kept on top, as the dialog is
    other->SetBounds(0, 0, 200, 200);
    other->Show();
    other->BringToFront();
    Settle();
    d->Timer->Fire();
    Settle();
    // The dialog is above the other window again.
    HWND above = GetWindow(other->Handle(), GW_HWNDPREV);
    bool dialogAbove = false;
    for (; above; above = GetWindow(above, GW_HWNDPREV))
        dialogAbove = dialogAbove || above == d->Handle();
    EXPECT_TRUE(dialogAbove);
    other->Free();
    d->Free();
}

TEST_F(MessageDialog, TheDialogAsTheUserSeesIt)
{
    struct Case {
        std::function<void()> show;
        bool russian;
        const char *name;
    };
    const Case cases[] = {
        {[] { AskQuestion("Зберегти зміни у файлі#\x01ЖF\x01Проект 1.prj ?", 0); }, false, "message_question_ukr"},
        {[] { AskQuestion("Сохранить изменения в файле#\x01ЖF\x01Проект 1.prj ?", 0); }, true, "message_question_rus"},
        {[] { ShowMessageWithView("~Ошибка при записи в файл#C:\\Проекты\\Проект 1.prj", 0, "a", "b"); }, true,
         "message_error_rus_view"},
        {[] { AskQuestionWithBox("Видалити всі резервні копії?"); }, false, "message_question_box_ukr"},
        {[] { AskYesCancelNo("Зберегти зміни?", 0); }, false, "message_yes_refuse_no_ukr"},
        {[] { AskThreeWay("Оберіть варіант: 1, 2 чи 3", 0); }, false, "message_three_way_ukr"},
        {[] { ShowWarningOnce("Версия базы данных старше версии программы", 0); }, true, "message_warning_once_rus"},
    };
    for (const Case &c : cases) {
        SetInterfaceLang(c.russian ? elg_Rus : elg_Ukr);
        MessagesInRussian(c.russian);
        PromptSteps prompts;
        prompts.Then(OnMessage(
            [&](TDMessages &d) {
                EXPECT_TRUE(SaveScreenshot(d.Handle(), c.name));
                PressEsc(d);
            },
            true));
        c.show();
        EXPECT_EQ(prompts.unanswered, 0);
    }
}

TEST_F(MessageDialog, BothFormsRescaleToTheScreenDensityWhenScalingIsOn)
{
    struct Densities {
        std::int32_t scaling = FormScaling, screen = ScreenDensity, design = DesignDensity;
        ~Densities() { FormScaling = scaling, ScreenDensity = screen, DesignDensity = design; }
    } kept;
    ScreenDensity = 1000;
    DesignDensity = 800;
    // Rounded to the nearest pixel.
    auto at = [](int design) { return (design * 1000 + 400) / 800; };
    for (std::int32_t scaling : {0, 1}) {
        FormScaling = scaling;
        TDMessages *d = new TDMessages(nullptr, true, MsgKindQuestion);
        d->AfterConstruction();
        EXPECT_EQ(d->ClientWidth(), scaling ? at(342) : 342);
        EXPECT_EQ(d->btNoWatch->Left(), scaling ? at(276) : 276);
        EXPECT_FALSE(d->Scaled());
        d->Free();
        TViewPrt *v = new TViewPrt(nullptr);
        v->AfterConstruction();
        EXPECT_EQ(v->Button1->Left(), scaling ? at(503) : 503);
        EXPECT_EQ(v->Font()->Name(), "Courier New");
        EXPECT_FALSE(v->Scaled());
        v->Free();
    }
}

TEST_F(MessageDialog, ItsOwnModalShowEndsWithEscOrTheYesButton)
{
    // No script answers: the dialog runs its own modal loop, and a timer acts as the user once it is up.
    TPromptScript script;
    script.PassThrough().PassThrough();
    int step = 0;
    TTimer user(nullptr);
    user.SetInterval(50);
    user.OnTimer = [&](TObject *) {
        auto *d = dynamic_cast<TDMessages *>(Screen->ActiveForm());
        if (!d || !d->Visible())
            return;
        EXPECT_EQ(d->Caption(), "     З а п и т  !");
        EXPECT_EQ(d->btYes->Top(), 74);  // laid out at show
        if (step++ == 0)
            PressEsc(*d);
        else
            d->btYes->Click();
    };
    EXPECT_EQ(AskThreeWay("Один, два чи три?", 0), 3);
    EXPECT_TRUE(AskQuestion("Продовжити?", 0));
    EXPECT_EQ(step, 2);
    EXPECT_EQ(script.Unanswered(), 0);
}

TEST_F(MessageDialog, EnterPressesTheFirstButtonTheDialogFocusesWhenShownThroughTheWindowSystem)
{
    // No script answers: each dialog is shown on the screen, and the user's first key is Enter.
    TPromptScript script;
    for (int i = 0; i < 6; ++i)
        script.PassThrough();
    AnsiString focused;
    bool pressed = false, pictured = false;
    int waited = 0;
    TTimer user(nullptr);
    user.SetInterval(50);
    user.OnTimer = [&](TObject *) {
        auto *d = dynamic_cast<TDMessages *>(Screen->ActiveForm());
        if (!d || !d->Visible() || GetForegroundWindow() != d->Handle())
            return;
        if (pressed) {
            // Enter did nothing: the dialog is closed as refused, and the answer shows it.
            if (++waited > 60)
                d->SetModalResult(mrCancel);
            return;
        }
        waited = 0;
        focused = d->ActiveControl() ? d->ActiveControl()->Name() : AnsiString("none");
        if (!pictured)
            pictured = SaveScreenshot(d->Handle(), "message_question_opens_with_yes_focused");
        pressed = true;
        KeyStroke(VK_RETURN);
    };
    auto answered = [&](const char *what, const char *wantFocused) {
        SCOPED_TRACE(what);
        EXPECT_TRUE(pressed);
        EXPECT_EQ(focused, wantFocused);
        pressed = false;
        focused = "";
    };
    EXPECT_TRUE(AskQuestion("Продовжити?", 0));
    answered("question", "btYes");
    EXPECT_EQ(AskYesCancelNo("Зберегти зміни?", 0), 1);
    answered("yes / refuse / no", "btYes");
    EXPECT_EQ(AskThreeWay("Один, два чи три?", 0), 1);
    answered("three numbered answers", "btYes");
    EXPECT_EQ(AskQuestionWithBox("Видалити?") & 1, 1);
    answered("question with a box", "btYes");
    // A message's only button is its exit.
    ShowWarning("Увага", 0);
    answered("warning", "btWatchExit");
    ShowMessageNo("Помилка", 0);
    answered("error", "btWatchExit");
    EXPECT_TRUE(pictured);
    EXPECT_EQ(script.Unanswered(), 0);
}

TEST_F(MessageDialog, TheControlsStartUpRegistersTheDialogAndTheShutdownPutsTheBoxBack)
{
    EXPECT_NE(&CurrentMessagePresenter(), &MessageBoxPresenter());
    StopControls();
    EXPECT_EQ(&CurrentMessagePresenter(), &MessageBoxPresenter());
    StartControls();
    EXPECT_NE(&CurrentMessagePresenter(), &MessageBoxPresenter());
    PromptSteps prompts;
    prompts.Then(OnMessage([](TDMessages &d) { d.btWatchExit->Click(); }));
    ShowMessageNo("Текст", 0);
    EXPECT_EQ(prompts.unanswered, 0);
}

TEST_F(MessageDialog, TheShutdownLeavesAPresenterRegisteredAfterTheDialogInPlace)
{
    struct TLater : TMessagePresenter {
        int shown = 0;
        TMessageResult Present(TMessageRequest &) override
        {
            ++shown;
            return {};
        }
    } later;
    TMessagePresenter *dialog = SetMessagePresenter(&later);
    StopControls();
    EXPECT_EQ(&CurrentMessagePresenter(), &later);
    // The later one goes, putting the dialog back; a new start takes it as its own, not as the one
    // it replaced, and its shutdown leaves the box.
    SetMessagePresenter(dialog);
    StartControls();
    StopControls();
    EXPECT_EQ(&CurrentMessagePresenter(), &MessageBoxPresenter());
    StartControls();
    EXPECT_EQ(later.shown, 0);
}
