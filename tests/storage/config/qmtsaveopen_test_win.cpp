#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "framework/windows/DialogFileList.h"
#include "framework/runtime/SysUtils.h"
#include "storage/config/QMTSaveOpen.h"
#include "tests/support/TempFolder.h"

namespace {
// The system's file dialogs make the folder they show the process's current one, and a current folder
// cannot be removed: a test that shows one puts back the current folder it found before its temporary
// folder goes.
class TCurrentFolderKept {
public:
    TCurrentFolderKept() { GetCurrentDirectoryW(MAX_PATH, saved_); }
    ~TCurrentFolderKept() { SetCurrentDirectoryW(saved_); }
    TCurrentFolderKept(const TCurrentFolderKept &) = delete;
    TCurrentFolderKept &operator=(const TCurrentFolderKept &) = delete;

private:
    wchar_t saved_[MAX_PATH + 1] = L"";
};
}  // namespace

TEST(QMTSaveOpen, CancelledDialogsChooseNothing)
{
    TQMTSaveOpen dlg(nullptr, "C:\\start\\");
    TPromptScript script;
    script.Cancel().Cancel().Cancel();
    EXPECT_FALSE(dlg.OpenFile());
    EXPECT_FALSE(dlg.SaveFile());
    EXPECT_FALSE(dlg.SelectGroup("qmt"));
    EXPECT_EQ("", dlg.FileName());
    EXPECT_EQ(0, dlg.Files()->Count());
    EXPECT_EQ("C:\\start\\", dlg.CurrentFolder());
    ASSERT_EQ(3u, script.Seen().size());
    EXPECT_EQ(TPromptKind::OpenFile, script.Seen()[0].Kind);
    EXPECT_EQ("Открыть файл", script.Seen()[0].Caption);
    EXPECT_EQ(TPromptKind::SaveFile, script.Seen()[1].Kind);
    EXPECT_EQ("Сохранить файл как", script.Seen()[1].Caption);
    EXPECT_EQ("Выбор группы файлов", script.Seen()[2].Caption);
    EXPECT_TRUE(script.Seen()[2].Flags & ofAllowMultiSelect);
    EXPECT_EQ(0, script.Unanswered());
}

TEST(QMTSaveOpen, ChosenFilesAndTheFolderUsedLast)
{
    TQMTSaveOpen dlg(nullptr, "C:\\start\\");
    TPromptScript script;
    script.AnswerFiles({"D:\\Базы\\one.qmt"});
    ASSERT_TRUE(dlg.OpenFile("Базы|*.qmt", "", "qmt"));
    EXPECT_EQ("D:\\Базы\\one.qmt", dlg.FileName());
    EXPECT_EQ("D:\\Базы\\", dlg.CurrentFolder());
    EXPECT_EQ("C:\\start\\", dlg.StartFolder());
    EXPECT_EQ("Базы|*.qmt", dlg.Filter());
    EXPECT_EQ("qmt", dlg.OpenDialog()->DefaultExt());

    script.AnswerFiles({"E:\\out.txt"});
    ASSERT_TRUE(dlg.SaveFile("", "E:\\"));
    EXPECT_EQ("E:\\out.txt", dlg.FileName());
    EXPECT_EQ("E:\\", dlg.StartFolder());

    script.AnswerFiles({"F:\\g\\a.qmt", "F:\\g\\b.qmt"});
    ASSERT_TRUE(dlg.SelectGroup("qmt"));
    ASSERT_EQ(2, dlg.Files()->Count());
    EXPECT_EQ("F:\\g\\b.qmt", dlg.Files()->Strings(1));
    EXPECT_EQ("F:\\g\\a.qmt", dlg.FileName());
    EXPECT_EQ("F:\\g\\", dlg.CurrentFolder());
    // The open dialog is itself again afterwards.
    EXPECT_EQ("Открыть файл", dlg.OpenDialog()->Title());
    EXPECT_FALSE(dlg.OpenDialog()->OnFolderChange);
}

TEST(QMTSaveOpen, TheRealGroupDialogShowsOnlyFoldersAndWantedFiles)
{
    TempFolder tmp;
    TCurrentFolderKept current;
    WriteWholeFile(tmp / "one.qmt", "1");
    WriteWholeFile(tmp / "two.QMT", "2");
    WriteWholeFile(tmp / "other.txt", "3");
    ASSERT_TRUE(CreateDir(tmp / "Папка"));

    std::atomic<bool> stop{false};
    std::vector<AnsiString> shown;
    bool found = false;
    // The dialog blocks this thread; another one watches it, reads its list and cancels it.
    std::thread watcher([&] {
        for (int i = 0; i < 200 && !stop; ++i) {
            HWND dialog = FindWindowW(L"#32770", L"Выбор группы файлов");
            if (dialog) {
                found = true;
                for (int j = 0; j < 100; ++j) {
                    shown = DialogFileListItems(dialog);
                    if (!shown.empty() && std::none_of(shown.begin(), shown.end(), [](const AnsiString &s) {
                            return s.find("other") != AnsiString::npos;
                        }))
                        break;
                    Sleep(50);
                }
                PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                return;
            }
            Sleep(50);
        }
    });
    TQMTSaveOpen dlg(nullptr, tmp.Path());
    TPromptScript script;
    script.PassThrough();
    EXPECT_FALSE(dlg.SelectGroup("qmt"));
    stop = true;
    watcher.join();
    ASSERT_TRUE(found) << "the group dialog did not appear";
    std::sort(shown.begin(), shown.end());
    ASSERT_EQ(3u, shown.size());
    EXPECT_TRUE(AnsiSameText("one.qmt", shown[0]) || AnsiSameText("one", shown[0])) << shown[0];
    EXPECT_TRUE(AnsiSameText("two.QMT", shown[1]) || AnsiSameText("two", shown[1])) << shown[1];
    EXPECT_EQ("Папка", shown[2]);
}

TEST(QMTSaveOpen, TheSaveDialogNotesAFolderOtherThanTheStartingOne)
{
    TempFolder tmp;
    TCurrentFolderKept current;
    ASSERT_TRUE(CreateDir(tmp / "Папка"));
    TQMTSaveOpen dlg(nullptr, tmp.Path());
    std::vector<bool> seen;
    bool found = false;
    std::thread watcher([&] {
        for (int i = 0; i < 200; ++i) {
            HWND dialog = FindWindowW(L"#32770", L"Сохранить файл как");
            if (!dialog) {
                Sleep(50);
                continue;
            }
            found = true;
            Sleep(300);
            seen.push_back(dlg.FolderChanged());
            // Typing a folder's name and confirming opens that folder.
            SendMessageW(dialog, CDM_SETCONTROLTEXT, 0x47C /* cmb13 */, reinterpret_cast<LPARAM>(L"Папка"));
            SendMessageW(dialog, CDM_SETCONTROLTEXT, 0x480 /* edt1 */, reinterpret_cast<LPARAM>(L"Папка"));
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
            Sleep(500);
            seen.push_back(dlg.FolderChanged());
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            return;
        }
    });
    TPromptScript script;
    script.PassThrough();
    EXPECT_FALSE(dlg.SaveFile());
    watcher.join();
    ASSERT_TRUE(found) << "the save dialog did not appear";
    EXPECT_EQ((std::vector<bool>{false, true}), seen);
}
