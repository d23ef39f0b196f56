// The run-time message dialog on the screen: its form per kind and language, its answers through
// the prompt seam, Esc, and its own icons.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "base/messages/BsMssg.h"
#include "framework/windows/Forms.h"
#include "framework/windows/PromptScript.h"
#include "framework/windows/StdCtrls.h"
#include "tests/support/PromptSteps.h"

namespace {
TButton *ButtonOf(TForm &form, int number)
{
    return dynamic_cast<TButton *>(form.FindComponent("Btn" + std::to_string(number)));
}

// What a dialog held when the seam met it.
struct Seen {
    AnsiString caption;
    std::vector<std::pair<int, AnsiString>> buttons;  // number, caption, left to right
    bool label = false;
    AnsiString labelText;
    TColor colour = 0;
    bool icons = false;
    int height = 0;
};

Seen Inspect(TForm &form)
{
    Seen s;
    s.caption = form.Caption();
    for (int n = 0; n < 4; ++n)
        if (TButton *b = ButtonOf(form, n))
            s.buttons.push_back({n, b->Caption()});
    std::sort(s.buttons.begin(), s.buttons.end(),
              [&](auto &a, auto &b) { return ButtonOf(form, a.first)->Left() < ButtonOf(form, b.first)->Left(); });
    if (auto *label = dynamic_cast<TLabel *>(form.FindComponent("LbTxt"))) {
        s.label = true;
        s.labelText = label->Caption();
    }
    s.colour = form.Color();
    // The choice icon has one image, which serves as the small icon too.
    s.icons = form.Icon() && !form.Icon()->Empty() && (!form.SmallIcon() || !form.SmallIcon()->Empty());
    s.height = form.Height();
    return s;
}
}  // namespace

TEST(BsMssgDialog, EachKindInBothLanguagesShowsItsCaptionButtonsAndColour)
{
    struct Case {
        int kind;
        const char *caption[2];  // Ukrainian, Russian
        std::vector<std::pair<int, const char *>> buttons[2];
        TColor colour;
    };
    const Case cases[] = {
        {0, {"Інформація", "Информация"}, {{{0, "Закрити"}}, {{0, "Закрыть"}}}, 0x80FF80},
        {1, {"Попередження", "Предупреждение"}, {{{0, "Закрити"}}, {{0, "Закрыть"}}}, 0x00FFFF},
        {2, {"Помилка", "Ошибка"}, {{{0, "Закрити"}}, {{0, "Закрыть"}}}, 0x8080FF},
        {3,
         {"Вибір", "Выбор"},
         {{{2, "Да"},
           {1, "Н"
               "i"}},
          {{2, "Да"}, {1, "Нет"}}},
         0xFFFF80},
        {4,
         {"Інформація", "Информация"},
         {{{0, "Закрити"}, {3, "Перегляд"}}, {{0, "Закрыть"}, {3, "Просмотр"}}},
         0x80FF80},
        {5,
         {"Попередження", "Предупреждение"},
         {{{0, "Закрити"}, {3, "Перегляд"}}, {{0, "Закрыть"}, {3, "Просмотр"}}},
         0x00FFFF},
        {6, {"Помилка", "Ошибка"}, {{{0, "Закрити"}, {3, "Перегляд"}}, {{0, "Закрыть"}, {3, "Просмотр"}}}, 0x8080FF},
        {7,
         {"Вибір", "Выбор"},
         {{{2, "Да"},
           {3, "Перегляд"},
           {1, "Н"
               "i"}},
          {{2, "Да"}, {3, "Просмотр"}, {1, "Нет"}}},
         0xFFFF80},
    };
    for (const Case &c : cases)
        for (uint8_t language : {0, 1}) {
            SCOPED_TRACE(testing::Message() << "kind " << c.kind << " language " << int(language));
            TBsMssg m;
            m.SetLanguage(language);
            m.SetText("Файл $ не найден", "a.dat");
            Seen seen;
            PromptSteps steps;
            steps.Then([&](const TPrompt &p) {
                EXPECT_EQ(TPromptKind::ModalForm, p.Kind);
                auto *form = dynamic_cast<TForm *>(p.Form);
                EXPECT_EQ(form, m.Form());
                if (form)
                    seen = Inspect(*form);
                return TPromptAnswer{0, {}};
            });
            EXPECT_EQ(0, m.Show(c.kind));
            EXPECT_EQ(nullptr, m.Form());
            EXPECT_EQ(c.caption[language], seen.caption);
            ASSERT_EQ(c.buttons[language].size(), seen.buttons.size());
            for (size_t i = 0; i < seen.buttons.size(); ++i) {
                EXPECT_EQ(c.buttons[language][i].first, seen.buttons[i].first);
                EXPECT_EQ(c.buttons[language][i].second, seen.buttons[i].second);
            }
            EXPECT_EQ(c.colour, seen.colour);
            EXPECT_TRUE(seen.label);
            EXPECT_EQ("Файл a.dat не найден", seen.labelText);
            EXPECT_TRUE(seen.icons);
        }
}

TEST(BsMssgDialog, AnswersThroughTheSeam)
{
    // A script's modal result presses the button of that number: only Yes gives 2.
    struct {
        int kind, answer;
        uint8_t result;
    } cases[] = {{3, BsBtnYes, 2}, {3, BsBtnNo, 0},    {7, BsBtnYes, 2},  {7, BsBtnView, 0},
                 {7, BsBtnNo, 0},  {0, BsBtnClose, 0}, {4, BsBtnView, 0}, {0, BsBtnYes, 0} /* no Yes button there */};
    for (auto c : cases) {
        TBsMssg m;
        m.SetText("Продолжить?");
        TPromptScript script;
        script.Answer(c.answer);
        EXPECT_EQ(c.result, m.Show(c.kind)) << c.kind << " " << c.answer;
        EXPECT_EQ(0, script.Unanswered());
    }
    // A step that clicks a button on the form, as a user would.
    for (int button : {BsBtnYes, BsBtnView, BsBtnNo}) {
        TBsMssg m;
        PromptSteps steps;
        steps.OnDialog<TForm>([&](TForm &form) { ButtonOf(form, button)->Click(); });
        EXPECT_EQ(button == BsBtnYes ? 2 : 0, m.Show(BsKindChoiceView)) << button;
    }
    TBsMssg yes, no;
    {
        TPromptScript script;
        script.Answer(BsBtnYes).Answer(BsBtnNo);
        EXPECT_TRUE(yes.Ask());
        EXPECT_FALSE(no.Ask());
    }
}

TEST(BsMssgDialog, EscAnswersNoAndOtherKeysAreSwallowed)
{
    TBsMssg m;
    m.SetText("Выбор");
    PromptSteps steps;
    uint16_t other = 'Y', esc = VK_ESCAPE, ctrlEsc = VK_ESCAPE;
    steps.OnDialog<TForm>([&](TForm &form) {
        EXPECT_TRUE(form.KeyPreview());
        form.OnKeyDown(&form, other, 0);
        form.OnKeyDown(&form, ctrlEsc, ssCtrl);  // not Esc alone: swallowed, no answer
        ButtonOf(form, BsBtnYes)->Click();
        form.OnKeyDown(&form, esc, 0);  // Esc takes the answer back
    });
    EXPECT_EQ(0, m.Show(BsKindChoice));
    EXPECT_EQ(0, other);
    EXPECT_EQ(0, ctrlEsc);
    EXPECT_EQ(0, esc);
}

TEST(BsMssgDialog, NoTextNoLabelAndTheShortHeight)
{
    TBsMssg m;
    Seen seen;
    PromptSteps steps;
    steps.OnDialog<TForm>([&](TForm &form) { seen = Inspect(form); });
    EXPECT_EQ(0, m.Error());
    const int caption = GetSystemMetrics(SM_CYCAPTION);
    EXPECT_FALSE(seen.label);
    EXPECT_EQ(4 * caption + 25, seen.height);
    // An unknown kind shows nothing.
    TPromptScript script;
    EXPECT_EQ(0, m.Show(8));
    EXPECT_TRUE(script.Seen().empty());
}

TEST(BsMssgDialog, ALongTextWrapsAndPushesTheButtonsDown)
{
    TBsMssg shortOne, longOne;
    shortOne.SetText("Коротко");
    longOne.SetText("Очень длинное сообщение, которое не помещается в одну строку окна и переносится по словам "
                    "на несколько строк, сдвигая кнопки вниз.");
    int shortTop = 0, longTop = 0, labelHeight = 0;
    PromptSteps steps;
    steps.OnDialog<TForm>([&](TForm &form) { shortTop = ButtonOf(form, 0)->Top(); });
    steps.OnDialog<TForm>([&](TForm &form) {
        longTop = ButtonOf(form, 0)->Top();
        labelHeight = dynamic_cast<TLabel *>(form.FindComponent("LbTxt"))->Height();
    });
    shortOne.Info();
    longOne.Info();
    EXPECT_GT(labelHeight, 0);
    EXPECT_GT(longTop, shortTop + labelHeight / 2);
}

TEST(BsMssgDialog, SystemTextOfAWindowsError)
{
    TBsMssg m;
    m.SetSystemText(0, ERROR_FILE_NOT_FOUND, "c.dat");
    EXPECT_EQ(0, m.Language());
    AnsiString text = m.Text();
    EXPECT_EQ(0u, text.find("Системное повідомлення: #"));
    EXPECT_NE(AnsiString::npos, text.find("c.dat"));
    EXPECT_EQ(AnsiString::npos, text.find('\n'));
    m.SetSystemText(1, 0x2000ABCD, "c.dat");  // a code without a system text: no parameter either
    EXPECT_STREQ("Отсутствует текст системного сообщения.", m.Text());
    m.SetTextByResource(2005, 0);  // in this program's string table
    EXPECT_STREQ("Заменить файл ?", m.Text());
}

// The real window: its own icons set on it (not on the shared window class), and a click on Yes.
TEST(BsMssgDialog, RealWindowHasItsOwnIconsAndAnswersAClick)
{
    TBsMssg m;
    m.SetText("Удалить файл?");
    std::atomic<bool> stop{false};
    HICON big = nullptr, small = nullptr, classIcon = reinterpret_cast<HICON>(1);
    std::thread clicker([&] {
        for (int i = 0; i < 200 && !stop; ++i) {
            Sleep(25);
            TForm *form = m.Form();
            if (!form || !form->HandleAllocated() || !IsWindowVisible(form->Handle()))
                continue;
            HWND window = form->Handle();
            big = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
            small = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
            classIcon = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON));
            PostMessageW(ButtonOf(*form, BsBtnYes)->Handle(), BM_CLICK, 0, 0);
            return;
        }
    });
    TPromptScript script;
    script.PassThrough();
    uint8_t result = m.Show(BsKindChoice);
    stop = true;
    clicker.join();
    EXPECT_EQ(2, result);
    EXPECT_NE(nullptr, big);
    EXPECT_NE(nullptr, small);
    EXPECT_EQ(big, small);  // the choice icon's one image
    EXPECT_EQ(nullptr, classIcon);
}
