#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "controls/buttons/UZMLBtn.h"
#include "controls/buttons/uzCheckBox.h"
#include "controls/buttons/uzRadioButton.h"
#include "framework/runtime/Cp1251.h"
#include "framework/windows/Forms.h"
#include "tests/support/FormHost.h"
#include "tests/support/WindowPicture.h"

namespace {
std::wstring WindowTextOf(HWND window)
{
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

bool HasMultiLineStyle(HWND window) { return (GetWindowLongW(window, GWL_STYLE) & BS_MULTILINE) != 0; }

// Both languages back to their initial value around each test.
class LangControls : public ::testing::Test {
protected:
    void SetUp() override { ResetLangs(); }
    void TearDown() override { ResetLangs(); }
};

// A form built in code as a stored layout would build it: its components made and given both texts
// while it loads, so each shows the text of the interface language whatever caption it had.
class TLangForm : public TForm {
public:
    explicit TLangForm(TComponent *owner) : TForm(owner)
    {
        BeginLoading();
        // No frame: on the test run's bare screen a frame would show as a black band.
        SetBorderStyle(bsNone);
        SetBounds(0, 0, 360, 150);
        Button = Place(new TZMLButton(this), 16, 16, 150, 44);
        Button->SetCaption("Button1");
        Button->CaptionL()->SetLRus("Сохранить#изменения");
        Button->CaptionL()->SetLUkr("Зберегти#зміни");
        Button->HintL()->SetLRus("Записать файл");
        Button->HintL()->SetLUkr("Записати файл");
        Check = Place(new TZCheckBox(this), 16, 76, 320, 20);
        Check->SetCaption("CheckBox1");
        Check->CaptionL()->SetLRus("Создать резервную копию");
        Check->CaptionL()->SetLUkr("Створити резервну копію");
        Check->SetChecked(true);
        Radio = Place(new TZRadioButton(this), 16, 106, 320, 20);
        Radio->SetCaption("RadioButton1");
        Radio->CaptionL()->SetLRus("Только изменённые файлы");
        Radio->CaptionL()->SetLUkr("Лише змінені файли");
        Radio->SetChecked(true);
        EndLoading();
    }

    // Switches the form to a language control by control.
    void SwitchTo(ELang lang)
    {
        for (TZLangBox *box : {Button->CaptionL(), Button->HintL(), Check->CaptionL(), Check->HintL(),
                               Radio->CaptionL(), Radio->HintL()})
            box->SetLang(lang);
    }

    TZMLButton *Button;
    TZCheckBox *Check;
    TZRadioButton *Radio;

private:
    template <class T>
    T *Place(T *control, int left, int top, int width, int height)
    {
        control->SetParent(this);
        static_cast<TControl *>(control)->SetBounds(left, top, width, height);
        return control;
    }
};

// A form of that class, freed as forms are.
template <class F>
struct FormOf {
    F *form = new F(nullptr);
    FormOf() = default;
    FormOf(const FormOf &) = delete;
    FormOf &operator=(const FormOf &) = delete;
    ~FormOf() { form->Free(); }
};
}  // namespace

TEST_F(LangControls, MultiLineButtonShowsLineBreaksAndReadsThemBackAsHashes)
{
    FormHost host;
    auto *b = host.Add<TZMLButton>();
    b->SetBounds(10, 10, 120, 40);
    HWND wnd = b->Handle();
    EXPECT_FALSE(b->MultiLine());
    EXPECT_FALSE(HasMultiLineStyle(wnd));
    b->SetCaption("a#b");
    EXPECT_TRUE(b->MultiLine());
    EXPECT_EQ(L"a\nb", WindowTextOf(b->Handle()));
    EXPECT_TRUE(HasMultiLineStyle(b->Handle()));
    EXPECT_EQ("a#b", b->Caption());
    EXPECT_EQ("a#b", b->StringProperty("Caption").Get());
    b->SetMultiLine(false);  // refused while the caption has a line break
    EXPECT_TRUE(b->MultiLine());
    EXPECT_TRUE(HasMultiLineStyle(b->Handle()));

    b->SetCaption("ab");
    b->SetMultiLine(false);
    EXPECT_FALSE(b->MultiLine());
    EXPECT_FALSE(HasMultiLineStyle(b->Handle()));
    EXPECT_EQ(L"ab", WindowTextOf(b->Handle()));  // the window made again keeps its caption
}

TEST_F(LangControls, CaptionSetBeforeTheWindowIsMadeKeepsItsLines)
{
    FormHost host;
    auto *b = host.Add<TZMLButton>();
    b->SetCaption("Один#Два#Три");
    EXPECT_FALSE(b->HandleAllocated());
    EXPECT_EQ("Один#Два#Три", b->Caption());
    EXPECT_EQ(L"Один\nДва\nТри", WindowTextOf(b->Handle()));
    EXPECT_TRUE(HasMultiLineStyle(b->Handle()));
}

TEST_F(LangControls, ButtonCaptionBoxGoesThroughTheButtonsOwnCaption)
{
    SetInterfaceLang(elg_Rus);
    FormHost host;
    auto *b = host.Add<TZMLButton>();
    b->HandleNeeded();
    std::vector<AnsiString> asked;
    b->OnLangChange = [&](TZLangBox *sender, ELang, AnsiString &value, bool &) {
        EXPECT_EQ(b->CaptionL(), sender);
        asked.push_back(value);
    };
    b->CaptionL()->SetLRus("Закрыть#окно");
    b->CaptionL()->SetLUkr("Закрити");
    EXPECT_EQ(L"Закрыть\nокно", WindowTextOf(b->Handle()));
    b->CaptionL()->SetLang(elg_Ukr);
    EXPECT_EQ((std::vector<AnsiString>{"Закрити"}), asked);
    EXPECT_EQ(L"Закрити", WindowTextOf(b->Handle()));
    EXPECT_EQ("Закрыть#окно", b->CaptionL()->LRus());  // kept as the caption read it
    EXPECT_TRUE(b->MultiLine());
}

TEST_F(LangControls, CheckBoxAndRadioButtonSwitchCaptionAndHintKeepingTheirState)
{
    FormHost host;
    auto *check = host.Add<TZCheckBox>();
    auto *radio = host.Add<TZRadioButton>();
    radio->SetTop(30);
    check->CaptionL()->SetLUkr("Так");
    check->CaptionL()->SetLRus("Да");
    check->HintL()->SetLUkr("Підказка");
    check->HintL()->SetLRus("Подсказка");
    radio->CaptionL()->SetLUkr("Усі");
    radio->CaptionL()->SetLRus("Все");
    check->SetChecked(true);
    radio->SetChecked(true);
    EXPECT_EQ(L"Так", WindowTextOf(check->Handle()));
    EXPECT_EQ(L"Усі", WindowTextOf(radio->Handle()));
    int events = 0;
    check->OnLangChange = radio->OnLangChange = [&](TZLangBox *, ELang, AnsiString &, bool &) { ++events; };
    for (TZLangBox *box : {check->CaptionL(), check->HintL(), radio->CaptionL()})
        box->SetLang(elg_Rus);
    EXPECT_EQ(3, events);
    EXPECT_EQ(L"Да", WindowTextOf(check->Handle()));
    EXPECT_EQ("Подсказка", check->Hint());
    EXPECT_EQ(L"Все", WindowTextOf(radio->Handle()));
    EXPECT_TRUE(check->Checked());
    EXPECT_TRUE(radio->Checked());
    EXPECT_EQ("Так", check->CaptionL()->LUkr());
}

TEST_F(LangControls, FormBuiltInCodeShowsItsInterfaceLanguageInBothLanguages)
{
    for (ELang lang : {elg_Rus, elg_Ukr}) {
        SetInterfaceLang(lang);
        FormOf<TLangForm> owned;
        TLangForm &form = *owned.form;
        EXPECT_FALSE(form.Button->Loading());
        const bool rus = lang == elg_Rus;
        EXPECT_EQ(rus ? "Сохранить#изменения" : "Зберегти#зміни", form.Button->Caption());
        EXPECT_EQ(rus ? "Записать файл" : "Записати файл", form.Button->Hint());
        EXPECT_EQ(rus ? "Создать резервную копию" : "Створити резервну копію", form.Check->Caption());
        EXPECT_EQ(rus ? "Лише змінені файли" : "Только изменённые файлы",
                  form.Radio->CaptionL()->GetText(rus ? TZLangBox::ixUkr : TZLangBox::ixRus));
    }
}

TEST_F(LangControls, TheFormAsTheUserSeesItInEachLanguage)
{
    FormOf<TLangForm> owned;
    TLangForm &form = *owned.form;
    form.Show();
    for (ELang lang : {elg_Rus, elg_Ukr}) {
        form.SwitchTo(lang);
        const bool rus = lang == elg_Rus;
        EXPECT_EQ(rus ? L"Сохранить\nизменения" : L"Зберегти\nзміни", WindowTextOf(form.Button->Handle()));
        EXPECT_EQ(rus ? L"Создать резервную копию" : L"Створити резервну копію", WindowTextOf(form.Check->Handle()));
        EXPECT_EQ(rus ? L"Только изменённые файлы" : L"Лише змінені файли", WindowTextOf(form.Radio->Handle()));
        for (int i = 0; i < 20; ++i)
            Application->ProcessMessages();
        EXPECT_TRUE(SaveScreenshot(form.Handle(), rus ? "lang_controls_rus" : "lang_controls_ukr"));
    }
    form.Hide();
}
