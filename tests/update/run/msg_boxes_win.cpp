#include <gtest/gtest.h>

#include <windows.h>

#include "framework/runtime/Cp1251.h"
#include "framework/windows/Forms.h"
#include "framework/runtime/LoadStr.h"
#include "framework/windows/PromptScript.h"
#include "update/run/MsgBoxes.h"

namespace {

// The engine's message ids: each has a text in the updater's string table.
const int EngineIds[] = {1001, 3001, 3003, 3005, 3007, 3009, 3011, 3013, 5001,
                         5003, 5005, 5007, 5009, 5011, 5013, 5015, 5017};

// A string of a module's table, read straight from its resource block (16 strings per block).
AnsiString ModuleString(HMODULE module, int id)
{
    wchar_t *text = nullptr;
    int length = LoadStringW(module, static_cast<UINT>(id), reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? WideToCp1251(std::wstring_view(text, static_cast<size_t>(length))) : AnsiString();
}

}  // namespace

TEST(EngineStrings, TheShippedUpdaterCarriesEveryTextAndNoOther)
{
    HMODULE exe = LoadLibraryExW(Cp1251ToWide(QMT_UPDATER_EXE).c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(nullptr, exe);
    for (int id : EngineIds) {
        EXPECT_NE("", LoadStr(id)) << id;
        EXPECT_EQ(LoadStr(id), ModuleString(exe, id)) << id;
    }
    for (int id : {1000, 1003, 3015, 5019, 5000})
        EXPECT_EQ("", ModuleString(exe, id)) << id;
    FreeLibrary(exe);
}

TEST(MsgBoxes, QuestionsWithAndWithoutSuffix)
{
    TPromptScript script;
    script.Answer(idYes).Answer(idNo).Answer(0).Answer(idYes);
    EXPECT_TRUE(AskYesNo(3003, false));
    EXPECT_FALSE(AskYesNo(3009, true));
    EXPECT_FALSE(AskYesNo(3003, true));  // a box that could not be shown counts as No
    EXPECT_TRUE(AskYesNo(3015, "Уведомление", true));
    ASSERT_EQ(4u, script.Seen().size());
    const TPrompt &first = script.Seen()[0];
    EXPECT_EQ(TPromptKind::MessageBox, first.Kind);
    EXPECT_EQ("Внимание!", first.Caption);
    EXPECT_EQ(0x1024u, first.Flags);
    EXPECT_EQ("Продолжить выполнение обновления?", first.Text);
    EXPECT_EQ(LoadStr(3009) + "\n(msgid №3009)", script.Seen()[1].Text);
    // No string under 3015: one blank, the caller's text and the suffix.
    EXPECT_EQ(" Уведомление\n(msgid №3015)", script.Seen()[3].Text);
}

TEST(MsgBoxes, PlacesFilledInTurnAndLeftoversRemoved)
{
    TPromptScript script;
    script.Answer(idYes).Answer(idYes).Answer(idYes);
    AskYesNo(3005, "100", true);
    AskYesNo(3011, "C:\\Q\\", "C:\\Q\\", "C:\\P\\", false);
    AskYesNo(3007, "C:\\P\\EXE\\qmtupdt.exe", "лишний", "ещё", false);
    EXPECT_EQ("Недостаточно места\n  имеется 100 байт\nтребуется  байт\n\nПродолжить выбор?\n(msgid №3005)",
              script.Seen()[0].Text);
    EXPECT_EQ(0u, script.Seen()[1].Text.find("Внимание!\nСоздана папка:\nC:\\Q\\\nПеред"));
    EXPECT_NE(AnsiString::npos, script.Seen()[1].Text.find("\n\nC:\\Q\\\nи\nC:\\P\\\n\n"));
    EXPECT_EQ(AnsiString::npos, script.Seen()[1].Text.find("$_$"));
    EXPECT_EQ(AnsiString::npos, script.Seen()[1].Text.find("msgid"));
    const AnsiString &extra = script.Seen()[2].Text;
    EXPECT_EQ(" лишний ещё", extra.substr(extra.size() - 11));
}

TEST(MsgBoxes, ErrorsAndInformation)
{
    TPromptScript script;
    script.Answer(idOk).Answer(idOk).Answer(idOk).Answer(idOk).Answer(idOk);
    ShowError(5009);
    ShowError(5001, "qmtupdt.exe");
    ShowError(5011, "C:\\a\n", "\"Сравнение файлов\"");
    ShowInfo(5017, true);
    ShowErrorText("готовый $_$текст");
    ASSERT_EQ(5u, script.Seen().size());
    EXPECT_EQ("Ошибка!", script.Seen()[0].Caption);
    EXPECT_EQ(0x1010u, script.Seen()[0].Flags);
    EXPECT_EQ(LoadStr(5009) + "\n(msgid №5009)", script.Seen()[0].Text);
    EXPECT_EQ("qmtupdt.exe \nМодуль обновления поврежден\nОбновление завершает работу", script.Seen()[1].Text);
    EXPECT_EQ(0u, script.Seen()[2].Text.find("C:\\a\n\nНевозможно выполнить операцию\n\"Сравнение файлов\"\nВозможно"));
    EXPECT_EQ("Информация.", script.Seen()[3].Caption);
    EXPECT_EQ(0x1040u, script.Seen()[3].Flags);
    EXPECT_EQ(LoadStr(5017) + "\n(msgid №5017)", script.Seen()[3].Text);
    EXPECT_EQ("готовый текст", script.Seen()[4].Text);
    EXPECT_EQ(0, script.Unanswered());
}

TEST(MsgBoxes, NoOwnerWithoutAMainForm) { EXPECT_EQ(nullptr, MsgParentWindow()); }

TEST(MsgBoxes, OwnerIsTheActiveOrTheMainForm)
{
    TForm main(nullptr);
    TForm *previous = Application->MainForm();
    Application->SetMainForm(&main);
    EXPECT_EQ(nullptr, MsgParentWindow());  // no window made yet
    main.HandleNeeded();
    ASSERT_EQ(nullptr, Screen->ActiveForm());
    EXPECT_EQ(static_cast<void *>(main.Handle()), MsgParentWindow());
    {
        TForm dialog(nullptr);
        dialog.Show();
        Application->ProcessMessages();
        ASSERT_EQ(&dialog, Screen->ActiveForm());
        EXPECT_EQ(static_cast<void *>(dialog.Handle()), MsgParentWindow());
    }
    Application->SetMainForm(previous);
}
