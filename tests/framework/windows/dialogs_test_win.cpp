// File dialogs, the folder browser and plain message boxes answered through the prompt seam.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include "framework/windows/Dialogs.h"
#include "framework/windows/Forms.h"

TEST(Dialogs, OpenDialogTakesTheScriptedFiles)
{
    TPromptScript script;
    script.AnswerFiles({"C:\\Данные\\смета.txt"}).AnswerFiles({"C:\\a.txt", "C:\\b.txt"}).Cancel();
    TOpenDialog dialog(nullptr);
    dialog.SetTitle("Открыть смету");
    dialog.SetFilter("Текст|*.txt|Все файлы|*.*");
    dialog.SetFileName("черновик.txt");
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ("C:\\Данные\\смета.txt", dialog.FileName());
    EXPECT_EQ(1, dialog.Files()->Count());
    ASSERT_EQ(1u, script.Seen().size());
    EXPECT_EQ(TPromptKind::OpenFile, script.Seen()[0].Kind);
    EXPECT_EQ("Открыть смету", script.Seen()[0].Caption);
    EXPECT_EQ("черновик.txt", script.Seen()[0].Text);

    dialog.SetOptions(dialog.Options() | ofAllowMultiSelect);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ("C:\\a.txt", dialog.FileName());
    ASSERT_EQ(2, dialog.Files()->Count());
    EXPECT_EQ("C:\\b.txt", dialog.Files()->Strings(1));

    // Cancel leaves the last choice in place.
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ("C:\\a.txt", dialog.FileName());
    EXPECT_EQ(0, script.Unanswered());
}

TEST(Dialogs, SaveDialogIsAskedAsSave)
{
    TPromptScript script;
    script.AnswerFiles({"D:\\Протокол.txt"});
    TSaveDialog dialog(nullptr);
    dialog.SetDefaultExt("txt");
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(TPromptKind::SaveFile, script.Seen().at(0).Kind);
    EXPECT_EQ("D:\\Протокол.txt", dialog.FileName());
}

TEST(Dialogs, FolderBrowserTakesTheScriptedFolderOrCancel)
{
    TPromptScript script;
    script.AnswerFolder("E:\\Копия ЦМТ", "Копия ЦМТ").Cancel();
    AnsiString path = "unchanged", name;
    ASSERT_TRUE(
        BrowseForFolder(nullptr, "Выбор пути для создания копии ЦМТ", CSIDL_DRIVES, BIF_RETURNONLYFSDIRS, path, name));
    EXPECT_EQ("E:\\Копия ЦМТ", path);
    EXPECT_EQ("Копия ЦМТ", name);
    EXPECT_EQ(TPromptKind::BrowseFolder, script.Seen()[0].Kind);
    EXPECT_EQ(static_cast<unsigned>(BIF_RETURNONLYFSDIRS), script.Seen()[0].Flags);
    EXPECT_FALSE(BrowseForFolder(nullptr, "", CSIDL_NETWORK, BIF_BROWSEFORCOMPUTER, path, name));
    EXPECT_EQ("E:\\Копия ЦМТ", path);
}

TEST(Dialogs, ShowMessageAndSystemBoxesPassTheSeam)
{
    TPromptScript script;
    script.Answer(idOk).Answer(idYes);
    ShowMessage("Выбранная папка не пуста");
    EXPECT_EQ(idYes, MessageBoxPrompt(nullptr, "Продолжить?", "Внимание!", 0x1024));
    ASSERT_EQ(2u, script.Seen().size());
    EXPECT_EQ("Выбранная папка не пуста", script.Seen()[0].Text);
    EXPECT_EQ(Application->Title(), script.Seen()[0].Caption);
    EXPECT_EQ(static_cast<unsigned>(mbOk), script.Seen()[0].Flags);
    EXPECT_EQ(0x1024u, script.Seen()[1].Flags);
}

TEST(Dialogs, HourglassCursorIsKeptByTheScreen)
{
    Screen->SetCursor(crHourGlass);
    EXPECT_EQ(crHourGlass, Screen->Cursor());
    EXPECT_EQ(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)), GetCursor());
    Screen->SetCursor(crDefault);
    EXPECT_EQ(crDefault, Screen->Cursor());
}
