// Two installations whose runs put their temporary files in one shared place (a drive's QMTUPDT.TMP,
// or the QMTUPDTM.TMP of a folder both users picked): a run, its rollback and its tidy-up never remove
// what the other run keeps there, so each can still be rolled back byte for byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/runtime/SysUtils.h"
#include "framework/windows/PromptScript.h"
#include "tests/support/EveryItemUpdate.h"
#include "tests/support/InstallationBuilder.h"
#include "tests/support/KillAtFileOp.h"
#include "tests/support/ScopedDrive.h"
#include "tests/support/TempFolder.h"
#include "update/apply/FileOps.h"
#include "update/run/uMain.h"
#include "update/variant/FreeSpace.h"

namespace {

enum class Place { Drive, PickedFolder };

// The product's drive has just room for the growth; another drive (or none, so the user picks a
// folder) has room for everything.
class SmallProductDrive : public IDriveQueries {
public:
    uint32_t LogicalDriveMask() override { return drive ? 1u << (drive - 'A') : 0; }
    AnsiString WindowsFolder() override { return AnsiString(); }
    bool IsFixedDrive(const AnsiString &) override { return true; }
    uint64_t FreeBytes(const AnsiString &folder) override
    {
        return folder.size() == 3 ? uint64_t(1) << 40 : form->Growth;
    }
    bool TestSpeed(const AnsiString &, sDskNfo &info) override
    {
        info.Delay = 0;
        return true;
    }
    char drive = 0;
    const TForm1 *form = nullptr;
};

class SharedTempFolder : public ::testing::TestWithParam<Place> {
protected:
    void SetUp() override
    {
        base_ = MakeTestFolder("qmt_shared_temp");
        update_ = MakeEveryItemUpdate(0);
        const std::vector<uint8_t> updater = update_.Payload.Build().Bytes;
        updater_.assign(updater.begin(), updater.end());
        ForceDirectories(base_ + "E");
        if (GetParam() == Place::Drive) {
            ASSERT_TRUE(drive_.Plug(base_ + "E\\"));
            drives_.drive = drive_.Letter();
            shared_ = drive_.Root() + "QMTUPDT.TMP\\";
        } else {
            shared_ = base_ + "E\\QMTUPDTM.TMP\\";
        }
        Install(A());
        Install(B());
        old_ = Tree(A());
        ASSERT_EQ(old_, Tree(B()));
    }
    void TearDown() override
    {
        drive_.Unplug();
        RemoveTree(ExcludeTrailingBackslash(base_));
    }

    AnsiString A() const { return base_ + "A\\"; }
    AnsiString B() const { return base_ + "B\\"; }

    void Install(const AnsiString &root)
    {
        RemoveTree(ExcludeTrailingBackslash(root));
        ForceDirectories(root);
        BuildInstallation(root, update_.Installation);
        WriteTree(root, update_.OldFiles);
        WriteWholeFile(root + "qmtupdt.exe", updater_);
    }

    // The installation's files without the protocols the updater saves beside them.
    static TestTree Tree(const AnsiString &root)
    {
        TestTree tree = ReadTree(root);
        std::erase_if(tree, [](const auto &entry) { return entry.first.rfind("Протокол_", 0) == 0; });
        return tree;
    }

    // One start of the updater of an installation, its questions answered in turn with `answers`; a run
    // that chooses its temporary folder is given the shared place (the drive found, or the folder
    // picked). Returns its protocol; `asked` receives how many prompts it showed.
    std::vector<AnsiString> Start(const AnsiString &root, std::vector<int> answers, bool choosesFolder = true,
                                  size_t *asked = nullptr)
    {
        TPromptScript script;
        if (choosesFolder && GetParam() == Place::PickedFolder)
            script.AnswerFolder(base_ + "E");
        for (int answer : answers)
            script.Answer(answer);
        TForm1 form(nullptr);
        form.SelfPath = root + "qmtupdt.exe";
        drives_.form = &form;
        form.Drives = &drives_;
        form.FormActivate(&form);
        if (asked)
            *asked = script.Seen().size();
        std::vector<AnsiString> lines;
        for (int i = 0; i < form.LsBx_Prot->Items()->Count(); ++i)
            lines.push_back(form.LsBx_Prot->Items()->Strings(i));
        return lines;
    }

    // The run of an installation stopped as it writes its end line: every product file is changed,
    // and its backups (a moved product file among them) lie only in its temporary folder.
    void StopBeforeItsEnd(const AnsiString &root)
    {
        // The same for every run of this update: counted once.
        static uint64_t endLine = 0;
        if (endLine == 0) {
            Install(base_ + "count\\");
            KillAtFileOp count;
            Start(base_ + "count\\", {idNo});  // 3009
            endLine = count.LastOf(TFileOp::JournalWrite);
            RemoveTree(base_ + "count");
        }
        KillAtFileOp kill(endLine);
        EXPECT_THROW(Start(root, {}), TEngineKilled);
        EXPECT_TRUE(FileExists(root + "qmt_3.1.1.5.txt"));
    }

    // A start that rolls back the stopped run of an installation, then does not go on (3001 yes, 3003
    // no); its installation is then the one it started from.
    void RollBack(const AnsiString &root)
    {
        size_t asked = 0;
        const std::vector<AnsiString> protocol = Start(root, {idYes, idNo}, false, &asked);
        EXPECT_EQ(2u, asked);
        EXPECT_NE(protocol.end(), std::find(protocol.begin(), protocol.end(), " Восстановление завершено успешно"));
        EXPECT_FALSE(FileExists(root + "qmt_3.1.1.5.txt"));
        TestTree tree = Tree(root);
        EXPECT_EQ(old_, tree) << root;
    }

    // The run folders in the shared place, by name, with what each holds.
    std::vector<std::pair<AnsiString, TestTree>> RunFolders() const
    {
        std::vector<std::pair<AnsiString, TestTree>> folders;
        for (const auto &entry : ReadTree(shared_))
            if (entry.first.find('\\') == entry.first.size() - 1)
                folders.push_back({entry.first, ReadTree(shared_ + entry.first)});
        return folders;
    }

    AnsiString base_, shared_;
    EveryItemUpdate update_;
    std::string updater_;
    TestTree old_;
    TScopedDrive drive_;
    SmallProductDrive drives_;
};

}  // namespace

TEST_P(SharedTempFolder, EachRunsBackupsOutliveTheOtherInstallationsWholeRunAndRollback)
{
    StopBeforeItsEnd(A());
    const auto stopped = RunFolders();
    ASSERT_EQ(1u, stopped.size());
    EXPECT_EQ(0u, stopped[0].first.rfind("RUN", 0));

    // B's whole run, while A's journal is pending: B's own folder goes, A's stays as A left it.
    const std::vector<AnsiString> protocol = Start(B(), {idNo});  // 3009
    EXPECT_NE(protocol.end(), std::find(protocol.begin(), protocol.end(), " Программа выполнена успешно"));
    EXPECT_EQ(stopped, RunFolders());

    // B installed afresh and its run stopped too; A's rollback leaves B's backups for B's rollback.
    Install(B());
    StopBeforeItsEnd(B());
    ASSERT_EQ(2u, RunFolders().size());
    RollBack(A());
    ASSERT_EQ(1u, RunFolders().size());
    RollBack(B());
    EXPECT_FALSE(DirectoryExists(shared_));  // the last run to leave it removes the shared place
}

INSTANTIATE_TEST_SUITE_P(Places, SharedTempFolder, ::testing::Values(Place::Drive, Place::PickedFolder),
                         [](const auto &info) { return info.param == Place::Drive ? "OnADrive" : "InAPickedFolder"; });
