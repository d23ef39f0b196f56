#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "controls/UZLangBox.h"
#include "framework/runtime/Exception.h"

namespace {
// A component with a caption and a hint reached by name.
struct Texts : TComponent {
    explicit Texts(TComponent *owner) : TComponent(owner) {}
    TStringProperty StringProperty(const AnsiString &name) override
    {
        if (name == "Caption")
            return {[this] { return caption; },
                    [this](const AnsiString &v) {
                        caption = v;
                        ++captionWrites;
                    }};
        if (name == "Hint")
            return {[this] { return hint; }, [this](const AnsiString &v) { hint = v; }};
        return TComponent::StringProperty(name);
    }
    AnsiString caption, hint;
    int captionWrites = 0;
};

// Its caption and hint in two languages, as the controls have them.
struct Holder : TWithLangBoxes<Texts> {
    explicit Holder(TComponent *owner = nullptr) : TWithLangBoxes(owner) {}
};

struct Call {
    TZLangBox *sender;
    ELang lang;
    AnsiString value;
};

// Every test starts and ends with both languages at their initial value.
class LangBox : public ::testing::Test {
protected:
    void SetUp() override { ResetLangs(); }
    void TearDown() override { ResetLangs(); }

    // A holder showing `shown` in its caption, with `other` kept for the other language.
    static std::unique_ptr<Holder> Shown(ELang lang, const AnsiString &shown, const AnsiString &other)
    {
        SetInterfaceLang(lang);
        auto h = std::make_unique<Holder>();
        h->caption = shown;
        h->CaptionL()->SetText(lang == elg_Rus ? TZLangBox::ixUkr : TZLangBox::ixRus, other);
        return h;
    }

    // Records each call of the handler.
    static void Record(Holder &h, std::vector<Call> &calls)
    {
        h.OnLangChange = [&calls](TZLangBox *sender, ELang lang, AnsiString &value, bool &ignore) {
            EXPECT_FALSE(ignore);
            calls.push_back({sender, lang, value});
        };
    }
};
}  // namespace

TEST_F(LangBox, BothLanguagesStartUkrainianAndTakeTheEndAsRussian)
{
    EXPECT_EQ(elg_Ukr, InterfaceLang());
    EXPECT_EQ(elg_Ukr, DocumentLang());
    Holder h;
    EXPECT_EQ(elg_Ukr, h.CaptionL()->Lang());
    EXPECT_EQ(elgkd_Interface, h.CaptionL()->LangKind());
    SetInterfaceLang(elg_End);
    SetDocumentLang(static_cast<ELang>(7));
    EXPECT_EQ(elg_Rus, InterfaceLang());
    EXPECT_EQ(elg_Rus, DocumentLang());
    EXPECT_EQ(elg_Ukr, h.CaptionL()->Lang());  // a box already made keeps its language
}

TEST_F(LangBox, EndAsLanguageIsRussian)
{
    auto rus = Shown(elg_Rus, "Да", "Так");
    rus->CaptionL()->SetLang(elg_End);
    EXPECT_EQ(elg_Rus, rus->CaptionL()->Lang());
    EXPECT_EQ("Да", rus->caption);
    EXPECT_EQ(0, rus->captionWrites);

    auto ukr = Shown(elg_Ukr, "Так", "Да");
    ukr->CaptionL()->SetLang(elg_End);
    EXPECT_EQ(elg_Rus, ukr->CaptionL()->Lang());
    EXPECT_EQ("Да", ukr->caption);
    EXPECT_EQ("Так", ukr->CaptionL()->LUkr());
}

TEST_F(LangBox, SwitchAsksTheHandlerWithTheTextAboutToBeShownAndSwaps)
{
    auto h = Shown(elg_Ukr, "Відмінити", "Отменить");
    std::vector<Call> calls;
    Record(*h, calls);
    h->CaptionL()->SetLang(elg_Rus);
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ(h->CaptionL(), calls[0].sender);
    EXPECT_EQ(elg_Rus, calls[0].lang);
    EXPECT_EQ("Отменить", calls[0].value);
    EXPECT_EQ("Отменить", h->caption);
    EXPECT_EQ("Відмінити", h->CaptionL()->LUkr());
    EXPECT_EQ("Отменить", h->CaptionL()->CurText());

    h->CaptionL()->SetLang(elg_Rus);  // shown already: no call, no write
    EXPECT_EQ(1u, calls.size());
    h->CaptionL()->SetLang(elg_Ukr);
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ("Відмінити", calls[1].value);
    EXPECT_EQ("Відмінити", h->caption);
    EXPECT_EQ("Отменить", h->CaptionL()->LRus());
}

TEST_F(LangBox, IgnoreCancelsTheSwitchAndAChangedValueIsShown)
{
    auto h = Shown(elg_Ukr, "Так", "Да");
    h->OnLangChange = [](TZLangBox *, ELang, AnsiString &value, bool &ignore) {
        value = "changed";  // cancelled as well: the kept text must not take it
        ignore = true;
    };
    h->CaptionL()->SetLang(elg_Rus);
    EXPECT_EQ(elg_Ukr, h->CaptionL()->Lang());
    EXPECT_EQ("Так", h->caption);
    EXPECT_EQ("Да", h->CaptionL()->LRus());
    EXPECT_EQ(0, h->captionWrites);

    h->OnLangChange = [](TZLangBox *, ELang lang, AnsiString &value, bool &) {
        value = lang == elg_Rus ? "Да!" : value;
    };
    h->CaptionL()->SetLang(elg_Rus);
    EXPECT_EQ(elg_Rus, h->CaptionL()->Lang());
    EXPECT_EQ("Да!", h->caption);
    EXPECT_EQ("Так", h->CaptionL()->LUkr());
}

TEST_F(LangBox, AHandlerThatSwitchesTheBoxItselfLosesNoText)
{
    auto h = Shown(elg_Ukr, "Так", "Да");
    int calls = 0;
    h->OnLangChange = [&h, &calls](TZLangBox *sender, ELang lang, AnsiString &, bool &) {
        if (++calls == 1)
            sender->SetLang(lang);  // the nested switch asks again and swaps
        EXPECT_EQ(h->CaptionL(), sender);
    };
    h->CaptionL()->SetLang(elg_Rus);
    EXPECT_EQ(2, calls);
    EXPECT_EQ(elg_Rus, h->CaptionL()->Lang());
    EXPECT_EQ("Да", h->caption);
    EXPECT_EQ("Так", h->CaptionL()->LUkr());
}

TEST_F(LangBox, AfterRefreshTheFirstSwitchIsSilentAndTheSecondAsks)
{
    auto h = Shown(elg_Ukr, "Так", "Да");
    std::vector<Call> calls;
    h->OnLangChange = [&calls](TZLangBox *sender, ELang lang, AnsiString &value, bool &) {
        calls.push_back({sender, lang, value});
        if (calls.size() == 1)
            value = "Так.";  // the refresh may change the text shown
    };
    h->CaptionL()->Refresh();
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ(elg_Ukr, calls[0].lang);
    EXPECT_EQ("Так", calls[0].value);
    EXPECT_EQ("Так.", h->caption);

    h->CaptionL()->SetLang(elg_Ukr);  // no change of language: the mark stays
    h->CaptionL()->SetLang(elg_Rus);
    EXPECT_EQ(1u, calls.size());
    EXPECT_EQ("Да", h->caption);
    h->CaptionL()->SetLang(elg_Ukr);
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ("Так.", calls[1].value);
    EXPECT_EQ("Так.", h->caption);
}

TEST_F(LangBox, RefreshWithoutHandlerOrIgnoredKeepsTheText)
{
    auto h = Shown(elg_Rus, "Да", "Так");
    h->CaptionL()->Refresh();
    EXPECT_EQ("Да", h->caption);
    h->OnLangChange = [](TZLangBox *, ELang, AnsiString &value, bool &ignore) {
        value = "no";
        ignore = true;
    };
    h->CaptionL()->Refresh();
    EXPECT_EQ("Да", h->caption);
}

TEST_F(LangBox, SwitchWhileLoadingSwapsSilentlyAndClearsTheRefreshMark)
{
    auto h = Shown(elg_Ukr, "Так", "Да");
    std::vector<Call> calls;
    Record(*h, calls);
    h->CaptionL()->Refresh();
    calls.clear();
    h->BeginLoading();
    h->CaptionL()->SetLang(elg_Rus);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ("Да", h->caption);
    EXPECT_EQ("Так", h->CaptionL()->LUkr());
    h->EndLoading();
    h->CaptionL()->SetLang(elg_Ukr);  // the refresh's mark went with the silent switch
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ("Так", h->caption);
}

TEST_F(LangBox, WritingTheShownLanguageWritesTheCaptionTheOtherOnlyTheBox)
{
    SetInterfaceLang(elg_Rus);
    Holder h;
    h.CaptionL()->SetLRus("Печать");
    EXPECT_EQ("Печать", h.caption);
    h.CaptionL()->SetLUkr("Друк");
    EXPECT_EQ("Печать", h.caption);
    EXPECT_EQ("Друк", h.CaptionL()->LUkr());
    EXPECT_EQ(1, h.captionWrites);
    // The owner's property set directly is the text of the language shown.
    h.caption = "Печать…";
    EXPECT_EQ("Печать…", h.CaptionL()->LRus());
    h.CaptionL()->SetCurText("Печать!");
    EXPECT_EQ("Печать!", h.caption);
    EXPECT_EQ("Друк", h.CaptionL()->LUkr());
}

TEST_F(LangBox, LayoutTextsLandByTheInterfaceLanguageWhateverTheCaption)
{
    for (ELang lang : {elg_Rus, elg_Ukr}) {
        SetInterfaceLang(lang);
        Holder form;
        auto *button = new Holder(&form);
        std::vector<Call> calls;
        Record(*button, calls);
        form.BeginLoading();
        button->caption = "Button1";
        button->CaptionL()->SetLRus("Закрыть");
        button->CaptionL()->SetLUkr("Закрити");
        form.EndLoading();
        EXPECT_EQ(lang == elg_Rus ? "Закрыть" : "Закрити", button->caption);
        EXPECT_EQ("Закрыть", button->CaptionL()->LRus());
        EXPECT_EQ("Закрити", button->CaptionL()->LUkr());
        EXPECT_TRUE(calls.empty());
    }
}

TEST_F(LangBox, DocumentKindFollowsTheDocumentLanguage)
{
    SetDocumentLang(elg_Rus);
    auto h = Shown(elg_Ukr, "Сторінка", "Страница");
    std::vector<Call> calls;
    Record(*h, calls);
    h->CaptionL()->SetLangKind(elgkd_Document);
    EXPECT_EQ(elgkd_Document, h->CaptionL()->LangKind());
    EXPECT_EQ(elg_Rus, h->CaptionL()->Lang());
    EXPECT_EQ("Страница", h->caption);
    EXPECT_EQ(1u, calls.size());
    h->CaptionL()->SetLangKind(elgkd_Document);  // the same kind: nothing more
    EXPECT_EQ(1u, calls.size());
    h->CaptionL()->SetLangKind(elgkd_End);  // taken as the interface's
    EXPECT_EQ(elgkd_Interface, h->CaptionL()->LangKind());
    EXPECT_EQ(elg_Ukr, h->CaptionL()->Lang());
    EXPECT_EQ("Сторінка", h->caption);
}

TEST_F(LangBox, CaptionAndHintBoxesSwitchApart)
{
    auto h = Shown(elg_Ukr, "Так", "Да");
    h->hint = "Підказка";
    h->HintL()->SetLRus("Подсказка");
    std::vector<Call> calls;
    Record(*h, calls);
    h->HintL()->SetLang(elg_Rus);
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ(h->HintL(), calls[0].sender);
    EXPECT_EQ("Подсказка", h->hint);
    EXPECT_EQ("Так", h->caption);
    EXPECT_EQ(elg_Ukr, h->CaptionL()->Lang());
}

TEST_F(LangBox, AnUnknownPropertyOrTextIndexIsRefused)
{
    Holder h;
    EXPECT_THROW(TZLangBox(&h, "Text", &h.OnLangChange), Exception);
    EXPECT_THROW(TZLangBox(nullptr, "Caption", &h.OnLangChange), Exception);
    EXPECT_THROW(h.CaptionL()->GetText(3), Exception);
    EXPECT_THROW(h.CaptionL()->SetText(-1, "x"), Exception);
    EXPECT_EQ("", h.caption);
}
