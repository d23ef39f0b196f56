// The update-variant dialog over a real installation in a temporary folder, with its questions answered
// through the prompt seam and the run's closures put in by the test.
#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "framework/runtime/Classes.h"
#include "framework/runtime/SysUtils.h"
#include "framework/windows/Forms.h"
#include "framework/windows/Prompt.h"
#include "tests/support/PromptSteps.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WindowPicture.h"
#include "update/apply/FolderContents.h"
#include "update/variant/uSelKindUpdt.h"

namespace {

bool Contains(const AnsiString &text, const AnsiString &part) { return text.find(part) != AnsiString::npos; }

// A small installation: product folders with files, a journal and a file in the root, the updater.
struct Installation {
    TempFolder temp;
    AnsiString root = temp / "Prod\\";
    AnsiString copies = temp / "Copies\\";

    Installation()
    {
        ForceDirectories(root + "Exe");
        ForceDirectories(root + "Cfg");
        ForceDirectories(root + "Rus\\AutoSave");
        ForceDirectories(root + "Projects\\One");
        WriteWholeFile(root + "Exe\\qmt.exe", "exe");
        WriteWholeFile(root + "Exe\\qmtupdt.exe", "updater");
        WriteWholeFile(root + "Cfg\\CFG.QMT", "cfg");
        WriteWholeFile(root + "Rus\\AutoSave\\a.sav", "save");
        WriteWholeFile(root + "Projects\\One\\p.prj", "project");
        WriteWholeFile(root + "qmt_3.1.1.txt", "journal");
        WriteWholeFile(root + "readme.txt", "readme");
        ForceDirectories(copies);
    }
};

// The dialog with the run's closures: the scan finds drive `drive` (none: no room), the copy copies
// (failing at entry `failAt`), commands are recorded.
struct Dialog {
    explicit Dialog(Installation &inst) : inst(inst)
    {
        form = new TFrm_SelKU(nullptr);
        form->AfterConstruction();
        form->JournalPath = inst.root + "qmt_3.1.1.txt";
        form->UpdaterPath = inst.root + "Exe\\qmtupdt.exe";
        form->Log = [this](int8_t, const AnsiString &text, bool) {
            lines.push_back(text);
            return true;
        };
        form->LogCmd = [this](int32_t code, const AnsiString &text) {
            commands.push_back(IntToStr(code) + " " + text);
            return true;
        };
        form->SecurityProducts = [this] { return products; };
    }
    ~Dialog() { form->Free(); }

    int Execute()
    {
        TScanDrivesClosure scan = [this](uint64_t c, uint64_t b, char &drive) {
            scans.emplace_back(c, b);
            if (scanDrive)
                drive = scanDrive;
            return scanDrive != '\0';
        };
        TCopyFileClosure copy = [this](const AnsiString &source, const AnsiString &destination, bool force, bool once) {
            EXPECT_TRUE(force);
            EXPECT_TRUE(once);
            copied.push_back(destination);
            if (static_cast<int>(copied.size()) == failAt)
                return false;
            if (source.back() == '\\')
                return ForceDirectories(destination);
            return ForceDirectories(ExtractFileDir(destination)) && CopyFile(source, destination, false);
        };
        return form->Execute("QMT5_311", 100, 50, inst.root, scan, copy);
    }

    Installation &inst;
    TFrm_SelKU *form;
    char scanDrive = 'Z';
    int failAt = 0;
    AnsiString products;
    std::vector<AnsiString> lines, commands, copied;
    std::vector<std::pair<uint64_t, uint64_t>> scans;
};

// Points the dialog at the copies folder of the test's installation.
void PlaceCopy(TFrm_SelKU &form, const AnsiString &parent, const AnsiString &name)
{
    form.Ed_NewFolder->SetText(parent);
    form.Ed_CloneName->SetText(name);
}

}  // namespace

TEST(CreateFolderPath, ReportsTheTopmostFolderItMade)
{
    TempFolder t;
    AnsiString created = "untouched";
    EXPECT_TRUE(CreateFolderPath(t / "a\\b\\c\\", created));
    EXPECT_EQ(created, t / "a");
    EXPECT_TRUE(DirectoryExists(t / "a\\b\\c"));

    created = "untouched";
    EXPECT_TRUE(CreateFolderPath(t / "a\\b", created));
    EXPECT_EQ(created, "untouched");  // nothing was missing
    EXPECT_TRUE(CreateFolderPath(t / "a\\b\\d", created));
    EXPECT_EQ(created, t / "a\\b\\d");

    EXPECT_FALSE(CreateFolderPath("", created));
    WriteWholeFile(t / "file", "x");
    EXPECT_FALSE(CreateFolderPath(t / "file\\sub", created));
}

TEST(SelKU, CopiesTheInstallationAndJournalsItFirst)
{
    Installation inst;
    Dialog d(inst);
    PromptSteps prompts;
    prompts
        .OnDialog<TFrm_SelKU>([&](TFrm_SelKU &f) {
            // The proposal: the installation's parent with the scanned drive letter, the copy name.
            EXPECT_EQ(f.Ed_CurRoot->Text(), inst.root);
            EXPECT_EQ(f.Ed_NewFolder->Text().substr(1), ExcludeTrailingBackslash(inst.temp.Path()).substr(1));
            EXPECT_EQ(f.Ed_NewFolder->Text()[0], 'Z');
            EXPECT_EQ(f.Ed_Label->Text(), "QMT5_311");
            EXPECT_TRUE(f.Btn_Next->Enabled());
            EXPECT_FALSE(f.Lbl_Hint->Visible());
            PlaceCopy(f, " " + inst.copies + " ", " New ");
            f.Ed_Label->SetText("  Ярлык ");
            EXPECT_EQ(f.Ed_FullPath->Text(), inst.copies + "New\\");
            f.Btn_NextClick(nullptr);
        })
        .Then([&](const TPrompt &p) {
            EXPECT_TRUE(Contains(p.Text, "msgid №3011"));
            EXPECT_TRUE(Contains(p.Text, inst.copies + "New\\"));
            EXPECT_TRUE(DirectoryExists(inst.copies + "New"));  // made before the question
            return TPromptAnswer{idYes, {}};
        });
    EXPECT_EQ(d.Execute(), SelKU_Copied);
    EXPECT_EQ(prompts.unanswered, 0);

    const AnsiString newRoot = inst.copies + "New\\";
    EXPECT_EQ(d.form->NewRoot, newRoot);
    EXPECT_EQ(d.form->ShortcutName, "Ярлык");
    // The folder the copy needed was journaled for removal before it was made.
    EXPECT_EQ(d.commands,
              (std::vector<AnsiString>{"9 z<" + inst.copies + "New00000000000000000000", "2 1", "1 " + newRoot}));
    EXPECT_EQ(ReadWholeFile(newRoot + "Exe\\qmt.exe"), "exe");
    EXPECT_EQ(ReadWholeFile(newRoot + "Projects\\One\\p.prj"), "project");
    EXPECT_TRUE(FileExists(newRoot + "Rus\\AutoSave\\a.sav"));
    EXPECT_FALSE(FileExists(newRoot + "Exe\\qmtupdt.exe"));
    EXPECT_FALSE(FileExists(newRoot + "qmt_3.1.1.txt"));
    EXPECT_FALSE(FileExists(newRoot + "readme.txt"));
    // The scan asks for the copy's size plus the growth; sizes are those of the listed files.
    ASSERT_FALSE(d.scans.empty());
    EXPECT_EQ(d.scans[0], std::make_pair(uint64_t{0}, uint64_t{3 + 3 + 4 + 7 + 100}));
}

TEST(SelKU, CheckBoxesRebuildTheListAndTheFreeSpace)
{
    Installation inst;
    Dialog d(inst);
    PromptSteps prompts;
    prompts.OnDialog<TFrm_SelKU>([&](TFrm_SelKU &f) {
        f.ChkBx_NoAutoSaveFolder->SetChecked(true);
        EXPECT_EQ(f.CopyList->IndexOf("Rus\\AutoSave\\a.sav"), -1);
        EXPECT_EQ(f.CopySize, 3u + 3 + 7);
        f.ChkBx_CleanCopy->SetChecked(true);
        EXPECT_EQ(f.CopyList->IndexOf("Projects\\"), -1);
        EXPECT_EQ(f.CopySize, 3u + 3);
        EXPECT_EQ(d.scans.size(), 3u);
        f.Btn_CancelClick(nullptr);
    });
    prompts.Answer(idNo);  // "go on with the update?" No
    EXPECT_EQ(d.Execute(), SelKU_Cancelled);
    EXPECT_TRUE(Contains(prompts.seen.back().Text, "msgid №3003"));
}

TEST(SelKU, NoDriveWithRoomDisablesNextAndCancelAsksNothing)
{
    Installation inst;
    Dialog d(inst);
    d.scanDrive = '\0';
    PromptSteps prompts;
    prompts.OnDialog<TFrm_SelKU>([&](TFrm_SelKU &f) {
        EXPECT_FALSE(f.Btn_Next->Enabled());
        EXPECT_TRUE(f.Lbl_Hint->Visible());
        EXPECT_TRUE(f.Lbl_FreeSpace->Visible());
        EXPECT_EQ(f.Lbl_FreeSpace->Caption(), "Освободите 167 б");  // 17 bytes of files + 100 + 50
        f.Btn_CancelClick(nullptr);
    });
    EXPECT_EQ(d.Execute(), SelKU_Cancelled);
    EXPECT_EQ(prompts.seen.size(), 1u);
    EXPECT_EQ(prompts.unanswered, 0);
}

TEST(SelKU, NextTwiceAfterARefusedQuestionRemovesTheFirstTree)
{
    Installation inst;
    Dialog d(inst);
    PromptSteps prompts;
    prompts
        .OnDialog<TFrm_SelKU>([&](TFrm_SelKU &f) {
            PlaceCopy(f, inst.copies + "Deep", "First");
            f.Btn_NextClick(nullptr);
            EXPECT_EQ(f.CreatedFolder, inst.copies + "Deep");
            EXPECT_TRUE(DirectoryExists(inst.copies + "Deep\\First"));
            EXPECT_EQ(f.ModalResult(), 0);  // the dialog stays
            PlaceCopy(f, inst.copies + "Deep", "Second");
            f.Btn_NextClick(nullptr);
        })
        .Answer(idNo)
        .Then([&](const TPrompt &) {
            EXPECT_FALSE(DirectoryExists(inst.copies + "Deep\\First"));
            EXPECT_TRUE(DirectoryExists(inst.copies + "Deep\\Second"));
            return TPromptAnswer{idYes, {}};
        });
    EXPECT_EQ(d.Execute(), SelKU_Copied);
    EXPECT_TRUE(FileExists(inst.copies + "Deep\\Second\\Cfg\\CFG.QMT"));
}

TEST(SelKU, ACopyFailureClosesWithThreeAndRemovesWhatItMade)
{
    Installation inst;
    Dialog d(inst);
    d.failAt = 4;
    PromptSteps prompts;
    prompts
        .OnDialog<TFrm_SelKU>([&](TFrm_SelKU &f) {
            PlaceCopy(f, inst.copies + "Made", "Copy");
            f.Btn_NextClick(nullptr);
        })
        .Answer(idYes);
    EXPECT_EQ(d.Execute(), SelKU_CopyFailed);
    EXPECT_EQ(d.copied.size(), 4u);
    EXPECT_FALSE(DirectoryExists(inst.copies + "Made"));
    EXPECT_TRUE(DirectoryExists(inst.copies));
}

TEST(SelKU, AFolderThatHoldsAnythingIsRefusedAfterTheFieldChecks)
{
    Installation inst;
    Dialog d(inst);
    ForceDirectories(inst.copies + "Mine");
    WriteWholeFile(inst.copies + "Mine\\letter.txt", "mine");
    ForceDirectories(inst.copies + "Old\\exe");
    PromptSteps prompts;
    prompts
        .OnDialog<TFrm_SelKU>([&](TFrm_SelKU &f) {
            PlaceCopy(f, inst.copies, "  ");
            f.Btn_NextClick(nullptr);
            PlaceCopy(f, inst.copies, "Mine");
            f.Btn_NextClick(nullptr);
            PlaceCopy(f, inst.copies, "Old");
            f.Btn_NextClick(nullptr);
            f.Btn_CancelClick(nullptr);
        })
        .Then([&](const TPrompt &p) {
            EXPECT_EQ(p.Text, "Не заполнено поле \n\"Наименование папки обновленного ПК ЦМТ:\"");
            return TPromptAnswer{idOk, {}};
        })
        .Then([&](const TPrompt &p) {
            EXPECT_EQ(p.Text, "Выбранная папка не пуста");
            return TPromptAnswer{idOk, {}};
        })
        .Then([&](const TPrompt &p) {
            EXPECT_EQ(p.Text, "Выбранная папка не пуста");
            return TPromptAnswer{idOk, {}};
        })
        .Answer(idNo);
    EXPECT_EQ(d.Execute(), SelKU_Cancelled);
    EXPECT_EQ(prompts.unanswered, 0);
    EXPECT_TRUE(d.commands.empty());
    EXPECT_EQ(ReadWholeFile(inst.copies + "Mine\\letter.txt"), "mine");
}

TEST(SelKU, SecuritySoftwareFoundIsNamedInTheQuestion)
{
    Installation inst;
    Dialog d(inst);
    d.products = "  Антивирусное ПО:\n    Страж";
    PromptSteps prompts;
    prompts
        .OnDialog<TFrm_SelKU>([&](TFrm_SelKU &f) {
            PlaceCopy(f, inst.copies, "S");
            f.Btn_NextClick(nullptr);
            f.Btn_CancelClick(nullptr);
        })
        .Then([&](const TPrompt &p) {
            EXPECT_EQ(p.Text.find(" " + d.products + "\n\nСоздана папка:\n" + inst.copies + "S\\"), 0u);
            EXPECT_TRUE(Contains(p.Text, "msgid №3015"));
            return TPromptAnswer{idNo, {}};
        })
        .Answer(idNo);
    EXPECT_EQ(d.Execute(), SelKU_Cancelled);
    EXPECT_FALSE(DirectoryExists(inst.copies + "S"));  // cancelling removes the folder made for the copy
}

TEST(SelKU, BrowsingPutsAFolderWithRoomIntoTheField)
{
    Installation inst;
    Dialog d(inst);
    PromptSteps prompts;
    prompts
        .OnDialog<TFrm_SelKU>([&](TFrm_SelKU &f) {
            f.Btn_SelFolderClick(nullptr);
            EXPECT_EQ(f.Ed_NewFolder->Text(), inst.copies);
            EXPECT_TRUE(f.Enabled());
            f.CloseWithResult(SelKU_Cancelled);
        })
        .Then([&](const TPrompt &p) {
            EXPECT_EQ(p.Kind, TPromptKind::BrowseFolder);
            EXPECT_EQ(p.Caption, "Выбор пути для создания копии ЦМТ");
            EXPECT_EQ(p.Flags, 0x173u);
            return TPromptAnswer{1, {ExcludeTrailingBackslash(inst.copies)}};
        });
    EXPECT_EQ(d.Execute(), SelKU_Cancelled);
}

TEST(SelKU, TheDialogAsTheUserSeesIt)
{
    Installation inst;
    Dialog d(inst);
    PromptSteps prompts;
    prompts.OnDialog<TFrm_SelKU>([&](TFrm_SelKU &f) {
        f.Show();
        PlaceCopy(f, inst.copies, "QMT5_311");
        f.ChkBx_NoAutoSaveFolder->SetChecked(true);
        for (int i = 0; i < 20; ++i)
            Application->ProcessMessages();
        HWND wnd = static_cast<HWND>(f.Handle());
        RECT r;
        ASSERT_TRUE(GetWindowRect(wnd, &r));
        const int w = r.right - r.left, h = r.bottom - r.top;
        EXPECT_GE(w, 752);
        EXPECT_GE(h, 338);
        EXPECT_TRUE(SaveScreenshot(wnd, "update_variant"));
        f.Hide();
        f.CloseWithResult(SelKU_Cancelled);
    });
    EXPECT_EQ(d.Execute(), SelKU_Cancelled);
}

TEST(TBrowsDir, FolderWithTrailingBackslashAndComputerByName)
{
    TBrowsDir browse("Папка");
    PromptSteps prompts;
    prompts
        .Then([](const TPrompt &p) {
            EXPECT_EQ(p.Caption, "Папка");
            EXPECT_EQ(p.Flags, 0x1u);                    // file-system folders only
            return TPromptAnswer{1, {"", "Компьютер"}};  // an item without a path is asked again
        })
        .Then([](const TPrompt &) {
            return TPromptAnswer{1, {"D:\\Данные", "Данные"}};
        })
        .Then([](const TPrompt &) {
            return TPromptAnswer{0, {}};
        })
        .Then([](const TPrompt &p) {
            EXPECT_EQ(p.Flags, 0x1000u);  // computers
            return TPromptAnswer{1, {"", "SERVER1"}};
        });
    ASSERT_TRUE(browse.BrowseFolder());
    EXPECT_EQ(browse.Folder, "D:\\Данные\\");
    EXPECT_FALSE(browse.BrowseFolder());
    EXPECT_EQ(browse.Folder, "");
    ASSERT_TRUE(browse.BrowseComputer());
    EXPECT_EQ(browse.Computer, "SERVER1");
    EXPECT_EQ(prompts.unanswered, 0);
}

TEST(SelKU, TheFolderMadeAtAnEarlierPressIsItsOwn)
{
    Installation inst;
    Dialog d(inst);
    PromptSteps prompts;
    prompts
        .OnDialog<TFrm_SelKU>([&](TFrm_SelKU &f) {
            PlaceCopy(f, inst.copies + "Deep", "First");
            f.Btn_NextClick(nullptr);
            // "Deep" now holds "First", but the dialog made both: not refused as somebody's folder.
            PlaceCopy(f, inst.copies, "Deep");
            f.Btn_NextClick(nullptr);
            f.Btn_CancelClick(nullptr);
        })
        .Answer(idNo)
        .Then([&](const TPrompt &p) {
            EXPECT_TRUE(Contains(p.Text, "msgid №3011"));
            EXPECT_TRUE(DirectoryExists(inst.copies + "Deep"));
            EXPECT_FALSE(DirectoryExists(inst.copies + "Deep\\First"));
            return TPromptAnswer{idNo, {}};
        })
        .Answer(idNo);  // 3003: do not go on
    EXPECT_EQ(d.Execute(), SelKU_Cancelled);
    EXPECT_EQ(prompts.unanswered, 0);
    EXPECT_FALSE(DirectoryExists(inst.copies + "Deep"));
}

TEST(SelKU, ACopyFolderThatIsNotAFullPathIsRefusedBeforeAnythingIsMade)
{
    Installation inst;
    Dialog d(inst);
    const AnsiString previous = GetCurrentDir();
    SetCurrentDir(inst.copies);
    const std::vector<AnsiString> relative = {"Копии", "\\Копии", "..\\Копии", "C:Копии"};
    PromptSteps prompts;
    prompts.OnDialog<TFrm_SelKU>([&](TFrm_SelKU &f) {
        for (const AnsiString &folder : relative) {
            PlaceCopy(f, folder, "QMT5_311");
            f.Btn_NextClick(nullptr);
        }
        f.Btn_CancelClick(nullptr);
    });
    for (size_t i = 0; i < relative.size(); ++i)
        prompts.Then([&](const TPrompt &p) {
            EXPECT_TRUE(Contains(p.Text, "Укажите полный путь к папке")) << p.Text;
            return TPromptAnswer{idOk, {}};
        });
    prompts.Answer(idNo);  // 3003: leave
    const int result = d.Execute();
    SetCurrentDir(previous);
    EXPECT_EQ(SelKU_Cancelled, result);
    EXPECT_EQ(0, prompts.unanswered);
    EXPECT_TRUE(d.commands.empty());
    EXPECT_TRUE(d.copied.empty());
    EXPECT_TRUE(FolderIsEmpty(inst.copies));
}
