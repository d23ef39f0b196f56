// The run's choice of update variant: an ordinary version step goes to a copy of the installation made
// by the variant dialog, or nowhere when the user cancels there.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/SysUtils.h"
#include "tests/support/FakeClock.h"
#include "tests/support/InstallationBuilder.h"
#include "tests/support/KillAtFileOp.h"
#include "tests/support/PayloadBuilder.h"
#include "tests/support/PromptSteps.h"
#include "tests/support/TempFolder.h"
#include "update/DesktopShortcut.h"
#include "update/uMain.h"
#include "update/uSelKindUpdt.h"

namespace {

bool Contains(const AnsiString &text, const AnsiString &part) { return text.find(part) != AnsiString::npos; }

std::string Bytes(const std::vector<uint8_t> &v) { return std::string(v.begin(), v.end()); }

class RunVariant : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = MakeTestFolder("qmt_variant_prod");
        copies_ = MakeTestFolder("qmt_variant_copies");
        BuildInstallation(root_);
        ForceDirectories(root_ + "DATA");
        WriteWholeFile(root_ + "DATA\\keep.txt", "data of the old version");
        TestPayloadBuilder payload;  // 3.1.0 -> 3.1.1: a version step, not a correction
        payload.AddSection();
        payload.AddFile(ADDREPL, "DATA\\new.txt", PatternBytes(300, 1));
        payload.AddFile(ADDREPL, "EXE\\qmt.exe", PatternBytes(50, 2));
        std::vector<uint8_t> updater = payload.Build().Bytes;
        TFileStream file(root_ + "qmtupdt.exe", fmCreate);
        file.WriteBuffer(updater.data(), static_cast<long>(updater.size()));
        form_.SelfPath = root_ + "qmtupdt.exe";
        Application->CreateForm(Frm_SelKU);
        Frm_SelKU->SecurityProducts = [] { return AnsiString(); };
    }
    void TearDown() override
    {
        if (Frm_SelKU)
            Frm_SelKU->Free();
        Frm_SelKU = nullptr;
        RemoveTestFolder(root_);
        RemoveTestFolder(copies_);
    }

    // One start of the updater whose variant dialog copies the installation into `folder` (3011 yes,
    // 3009 no), with a fresh dialog that goes when the start ends, also when it is killed.
    void CopyRun(const AnsiString &folder, const AnsiString &label = AnsiString())
    {
        if (!Frm_SelKU) {
            Application->CreateForm(Frm_SelKU);
            Frm_SelKU->SecurityProducts = [] { return AnsiString(); };
        }
        struct FreeDialog {
            ~FreeDialog()
            {
                Frm_SelKU->Free();
                Frm_SelKU = nullptr;
            }
        } freeDialog;
        PromptSteps prompts;
        prompts
            .OnDialog<TFrm_SelKU>([&](TFrm_SelKU &dialog) {
                dialog.Ed_NewFolder->SetText(folder);
                if (!label.empty())
                    dialog.Ed_Label->SetText(label);
                dialog.Btn_NextClick(nullptr);
            })
            .Answer(idYes)
            .Answer(idNo);
        TForm1 form(nullptr);
        form.SelfPath = form_.SelfPath;
        form.FormActivate(&form);
    }

    bool Logged(const AnsiString &line)
    {
        for (int i = 0; i < form_.LsBx_Prot->Items()->Count(); ++i)
            if (form_.LsBx_Prot->Items()->Strings(i) == line)
                return true;
        return false;
    }

    AnsiString root_, copies_;
    FakeClock clock_;
    TClockOverride useClock_{clock_};
    TForm1 form_{nullptr};
};

AnsiString DesktopLink(const AnsiString &name)
{
    char desktop[DesktopFolderBufferSize] = {};
    if (ReadDesktopFolder(desktop) == 0)
        return AnsiString();
    return IncludeTrailingBackslash(desktop) + name;
}

// A start that rolls back the journal it finds and then declines the update.
void StartAndRollBack(const AnsiString &updater)
{
    PromptSteps prompts;
    prompts.Answer(idYes).Answer(idNo);  // 3001: roll back; 3003: no update now
    TForm1 next(nullptr);
    next.SelfPath = updater;
    next.FormActivate(&next);
    EXPECT_EQ(0, prompts.unanswered);
}

}  // namespace

TEST_F(RunVariant, VersionStepUpdatesAFreshCopyAndPutsItsShortcutOnTheDesktop)
{
    const AnsiString link = DesktopLink("Копия ЦМТ.LNK");
    ASSERT_FALSE(link.empty());
    DeleteFile(link);
    const std::string oldExe = ReadWholeFile(root_ + "EXE\\qmt.exe");

    PromptSteps prompts;
    prompts
        .OnDialog<TFrm_SelKU>([&](TFrm_SelKU &dialog) {
            EXPECT_EQ(root_, dialog.Ed_CurRoot->Text());
            EXPECT_EQ("QMT5_311", dialog.Ed_CloneName->Text());
            dialog.Ed_NewFolder->SetText(copies_);
            dialog.Ed_Label->SetText("Копия ЦМТ");
            dialog.Btn_NextClick(nullptr);
        })
        .Then([](const TPrompt &p) {
            EXPECT_TRUE(Contains(p.Text, "msgid №3011")) << p.Text;
            return TPromptAnswer{idYes, {}};
        })
        .Then([](const TPrompt &p) {
            EXPECT_TRUE(Contains(p.Text, "msgid №3009")) << p.Text;
            return TPromptAnswer{idNo, {}};
        });
    form_.FormActivate(&form_);
    EXPECT_EQ(0, prompts.unanswered);

    const AnsiString copy = copies_ + "QMT5_311\\";
    EXPECT_EQ(1, form_.UpdateVariant);
    EXPECT_EQ(copy, form_.CopyFolder);
    EXPECT_TRUE(Logged(" Программа выполнена успешно"));
    EXPECT_FALSE(Frm_SelKU->Enabled());
    // The copy holds the new version; the installation it was made from is as it was.
    EXPECT_EQ(Bytes(PatternBytes(300, 1)), ReadWholeFile(copy + "DATA\\new.txt"));
    EXPECT_EQ(Bytes(PatternBytes(50, 2)), ReadWholeFile(copy + "EXE\\qmt.exe"));
    EXPECT_EQ("data of the old version", ReadWholeFile(copy + "DATA\\keep.txt"));
    EXPECT_EQ(std::string("3.1.1") + '\0', ReadWholeFile(copy + "Cfg\\CFG.QMT").substr(38, 6));
    EXPECT_EQ(oldExe, ReadWholeFile(root_ + "EXE\\qmt.exe"));
    EXPECT_FALSE(FileExists(root_ + "DATA\\new.txt"));
    EXPECT_EQ(std::string("3.1.0") + '\0', ReadWholeFile(root_ + "Cfg\\CFG.QMT").substr(38, 6));
    EXPECT_FALSE(FileExists(copy + "qmtupdt.exe"));  // files of the root are never copied
    EXPECT_FALSE(FileExists(root_ + "qmt_3.1.1.txt"));

    EXPECT_TRUE(FileExists(link));
    DeleteFile(link);
}

TEST_F(RunVariant, CancelInTheDialogEndsTheRunWithNothingChanged)
{
    PromptSteps prompts;
    prompts.OnDialog<TFrm_SelKU>([&](TFrm_SelKU &dialog) { dialog.Btn_CancelClick(nullptr); })
        .Answer(idNo);  // 3003: stop, do not go on with the update
    form_.FormActivate(&form_);
    EXPECT_EQ(0, prompts.unanswered);
    ASSERT_EQ(2u, prompts.seen.size());  // no 3009: nothing was updated
    EXPECT_TRUE(Logged("Отменено пользователем. "));
    EXPECT_FALSE(FileExists(root_ + "qmt_3.1.1.txt"));
    EXPECT_FALSE(FileExists(root_ + "DATA\\new.txt"));
    EXPECT_TRUE(FileExists(root_ + "Протокол_qmt_3.1.1.txt"));
}

TEST_F(RunVariant, ACopyThatFailsEndsTheRunAndLeavesItsJournalForRollback)
{
    // A file another program holds exclusively cannot be copied.
    TFileStream locked(root_ + "DATA\\keep.txt", fmOpenReadWrite | fmShareExclusive);
    PromptSteps prompts;
    prompts
        .OnDialog<TFrm_SelKU>([&](TFrm_SelKU &dialog) {
            dialog.Ed_NewFolder->SetText(copies_);
            dialog.Btn_NextClick(nullptr);
        })
        .Answer(idYes);  // 3011
    form_.FormActivate(&form_);
    EXPECT_FALSE(Logged(" Программа выполнена успешно"));
    EXPECT_EQ(2u, prompts.seen.size());                   // the dialog and 3011; no offer to start the product
    EXPECT_FALSE(DirectoryExists(copies_ + "QMT5_311"));  // the dialog removed what it made
    EXPECT_TRUE(FileExists(root_ + "qmt_3.1.1.txt"));     // the next start rolls the run back
}

TEST_F(RunVariant, ACopyRunStoppedBeforeItsEndLeavesNoShortcutOnceRolledBack)
{
    const AnsiString link = DesktopLink("Копия ЦМТ.LNK");
    ASSERT_FALSE(link.empty());
    const AnsiString copy = copies_ + "QMT5_311\\";
    uint64_t endLine = 0;
    {
        KillAtFileOp count;
        CopyRun(copies_, "Копия ЦМТ");
        endLine = count.LastOf(TFileOp::JournalWrite);
    }
    ASSERT_TRUE(FileExists(link));
    DeleteFile(link);
    RemoveTree(ExcludeTrailingBackslash(copy));

    {
        KillAtFileOp kill(endLine);
        EXPECT_THROW(CopyRun(copies_, "Копия ЦМТ"), TEngineKilled);
    }
    EXPECT_TRUE(DirectoryExists(copy));
    EXPECT_FALSE(FileExists(link));  // it would point at the copy the next start removes
    StartAndRollBack(form_.SelfPath);
    EXPECT_FALSE(DirectoryExists(copy));
    EXPECT_FALSE(FileExists(link));
    EXPECT_FALSE(FileExists(root_ + "qmt_3.1.1.txt"));
}

namespace {

// Stops the engine where it would write the first journal line that holds `marker`.
struct KillAtJournalLine : TFileOpGate {
    explicit KillAtJournalLine(const AnsiString &marker) : marker(marker), previous(SetFileOpGate(this)) {}
    ~KillAtJournalLine() override { SetFileOpGate(previous); }
    void Before(TFileOp kind, const AnsiString &name) override
    {
        if (kind == TFileOp::JournalWrite && name.find(marker) != AnsiString::npos)
            throw TEngineKilled{0, kind, name};
    }
    AnsiString marker;
    TFileOpGate *previous;
};

}  // namespace

TEST_F(RunVariant, ACopyRunStoppedAnywhereLeavesNoFolderOfItsCopyOnceRolledBack)
{
    // The copy goes into folders the dialog makes; the run is stopped before it journals the variant,
    // before it journals the copy's folder, at the first file of the copy, and before its end.
    for (const AnsiString &marker :
         std::vector<AnsiString>{"*2#1", "*1#", "*9#z<" + copies_ + "New\\QMT5_311\\", "*5#"}) {
        SCOPED_TRACE(marker);
        {
            KillAtJournalLine kill(marker);
            EXPECT_THROW(CopyRun(copies_ + "New\\"), TEngineKilled);
        }
        ASSERT_TRUE(DirectoryExists(copies_ + "New\\QMT5_311"));

        StartAndRollBack(form_.SelfPath);
        EXPECT_FALSE(DirectoryExists(copies_ + "New"));  // the copy and the folder made to hold it
        EXPECT_TRUE(DirectoryExists(copies_));
        EXPECT_FALSE(FileExists(root_ + "qmt_3.1.1.txt"));
    }
}
