// The run's choice of update variant: an ordinary version step goes to a copy of the installation made
// by the variant dialog, or nowhere when the user cancels there.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "framework/runtime/Classes.h"
#include "framework/runtime/SysUtils.h"
#include "tests/support/FailAtFileOp.h"
#include "tests/support/FakeClock.h"
#include "tests/support/InstallationBuilder.h"
#include "tests/support/KillAtFileOp.h"
#include "tests/support/PayloadBuilder.h"
#include "tests/support/PromptSteps.h"
#include "tests/support/ScopedDrive.h"
#include "tests/support/ShellLinks.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UpdaterRun.h"
#include "update/run/uMain.h"
#include "update/variant/DesktopShortcut.h"
#include "update/variant/uSelKindUpdt.h"

namespace {

// The variant dialog of one start, made for it and freed when the start ends, also when it is killed.
struct ScopedVariantDialog {
    ScopedVariantDialog()
    {
        if (!Frm_SelKU) {
            Application->CreateForm(Frm_SelKU);
            Frm_SelKU->SecurityProducts = [] { return AnsiString(); };
        }
    }
    ~ScopedVariantDialog()
    {
        Frm_SelKU->Free();
        Frm_SelKU = nullptr;
    }
};

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
    // 3009 no), with a fresh dialog that goes when the start ends, also when it is killed. Returns the
    // start's protocol; `asked` receives the texts of its questions and messages.
    std::vector<AnsiString> CopyRun(const AnsiString &folder, const AnsiString &label = AnsiString(),
                                    std::vector<AnsiString> *asked = nullptr)
    {
        const ScopedVariantDialog variantDialog;
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
        if (asked)
            for (const TPrompt &p : prompts.seen)
                asked->push_back(p.Text);
        std::vector<AnsiString> protocol;
        for (int i = 0; i < form.LsBx_Prot->Items()->Count(); ++i)
            protocol.push_back(form.LsBx_Prot->Items()->Strings(i));
        return protocol;
    }

    bool Logged(const AnsiString &line)
    {
        for (int i = 0; i < form_.LsBx_Prot->Items()->Count(); ++i)
            if (form_.LsBx_Prot->Items()->Strings(i) == line)
                return true;
        return false;
    }

    // The copies and their shortcuts are removed as soon as they are made.
    TMenuBuilderOff menuBuilderOff_;
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

// A start that finds the ended journal of a finished run: it asks nothing about it, removes what the
// run left and goes on as a fresh start, whose variant dialog the user cancels (3003: no update now).
// The dialog goes with the start. Returns the start's protocol.
std::vector<AnsiString> StartAfterFinishedRun(const AnsiString &updater)
{
    struct FreeDialog {
        ~FreeDialog()
        {
            if (Frm_SelKU)
                Frm_SelKU->Free();
            Frm_SelKU = nullptr;
        }
    } freeDialog;
    PromptSteps prompts;
    prompts.OnDialog<TFrm_SelKU>([&](TFrm_SelKU &dialog) { dialog.Btn_CancelClick(nullptr); }).Answer(idNo);
    TForm1 next(nullptr);
    next.SelfPath = updater;
    next.FormActivate(&next);
    EXPECT_EQ(0, prompts.unanswered);
    EXPECT_TRUE(prompts.steps.empty());  // the variant dialog came: the start went on as a fresh one
    for (const TPrompt &p : prompts.seen)
        EXPECT_EQ(AnsiString::npos, p.Text.find("msgid №3001")) << p.Text;
    std::vector<AnsiString> protocol;
    for (int i = 0; i < next.LsBx_Prot->Items()->Count(); ++i)
        protocol.push_back(next.LsBx_Prot->Items()->Strings(i));
    return protocol;
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
    EXPECT_TRUE(FileExists(link));  // made before the end line, and journaled
    StartAndRollBack(form_.SelfPath);
    EXPECT_FALSE(DirectoryExists(copy));
    EXPECT_FALSE(FileExists(link));  // it would point at the copy the rollback removed
    EXPECT_FALSE(FileExists(root_ + "qmt_3.1.1.txt"));
}

namespace {

// Stops the engine where it would write the first journal line that holds `marker`.
struct KillAtJournalLine : TFileOpGate {
    explicit KillAtJournalLine(const AnsiString &marker) : marker(marker), previous(SetFileOpGate(this)) {}
    ~KillAtJournalLine() override { SetFileOpGate(previous); }
    uint32_t Before(TFileOp kind, const AnsiString &name) override
    {
        if (kind == TFileOp::JournalWrite && name.find(marker) != AnsiString::npos)
            throw TEngineKilled{0, kind, name};
        return 0;
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

TEST_F(RunVariant, AShortcutThatCannotBeSavedLeavesTheFinishedCopyAndTheRunSucceeds)
{
    // A folder where the link would go: the shell cannot save the link over it.
    const AnsiString link = DesktopLink("Копия ЦМТ.LNK");
    ASSERT_FALSE(link.empty());
    DeleteFile(link);
    ASSERT_TRUE(ForceDirectories(link));
    const std::vector<AnsiString> protocol = CopyRun(copies_, "Копия ЦМТ");
    RemoveDir(link);
    auto has = [&](const AnsiString &line) {
        return std::find(protocol.begin(), protocol.end(), line) != protocol.end();
    };
    EXPECT_TRUE(has("Произошла аварийная ситуация Ярлык на рабочем столе не сохранен: Копия ЦМТ.LNK"));
    EXPECT_TRUE(has(" Программа выполнена успешно"));
    EXPECT_FALSE(FileExists(root_ + "qmt_3.1.1.txt"));  // no rollback is offered at the next start
    EXPECT_EQ(Bytes(PatternBytes(300, 1)), ReadWholeFile(copies_ + "QMT5_311\\DATA\\new.txt"));
}

TEST_F(RunVariant, AFolderWhereTheShortcutWouldGoIsLeftByTheRollbackOfTheRun)
{
    // The user's folder of the link's name: the run makes no link there and journals none, so a rollback
    // of the run, stopped before its end, takes nothing of the user's.
    const AnsiString link = DesktopLink("Копия ЦМТ.LNK");
    ASSERT_FALSE(link.empty());
    DeleteFile(link);
    ASSERT_TRUE(ForceDirectories(link));
    WriteWholeFile(link + "\\note.txt", "the user's");
    {
        KillAtJournalLine kill("*5#");
        EXPECT_THROW(CopyRun(copies_, "Копия ЦМТ"), TEngineKilled);
    }
    StartAndRollBack(form_.SelfPath);
    EXPECT_FALSE(DirectoryExists(copies_ + "QMT5_311"));
    EXPECT_FALSE(FileExists(root_ + "qmt_3.1.1.txt"));
    ASSERT_TRUE(FileExists(link + "\\note.txt"));
    EXPECT_EQ("the user's", ReadWholeFile(link + "\\note.txt"));
    RemoveTree(link);
}

namespace {

// The product folder without the protocols runs save there.
std::map<AnsiString, std::string> WithoutProtocols(std::map<AnsiString, std::string> tree)
{
    std::erase_if(tree, [](const auto &entry) { return entry.first.rfind("Протокол_", 0) == 0; });
    return tree;
}

// The entries that are missing, left over or of other bytes in `actual`.
std::vector<AnsiString> Differences(const std::map<AnsiString, std::string> &expected,
                                    const std::map<AnsiString, std::string> &actual)
{
    std::vector<AnsiString> out;
    for (const auto &[name, bytes] : expected)
        if (!actual.count(name) || actual.at(name) != bytes)
            out.push_back((actual.count(name) ? "other bytes " : "missing ") + name);
    for (const auto &entry : actual)
        if (!expected.count(entry.first))
            out.push_back("left over " + entry.first);
    return out;
}

bool Has(const std::vector<AnsiString> &lines, const AnsiString &part)
{
    return std::any_of(lines.begin(), lines.end(), [&](const AnsiString &l) { return Contains(l, part); });
}

}  // namespace

TEST_F(RunVariant, ACopyRunFailingAtItsFileOperationsFailsCleanlyAndTheNextStartRollsBack)
{
    // Enough files that the copy of the installation is most of the run's operations.
    for (int i = 0; i < 40; ++i)
        WriteWholeFile(root_ + "DATA\\file" + std::to_string(i) + ".dat",
                       std::string(size_t(100 + i), char('a' + i % 26)));
    const auto installation = WithoutProtocols(ReadTree(root_));
    const AnsiString copy = copies_ + "QMT5_311\\";
    const AnsiString link = DesktopLink("QMT5_311.LNK");

    std::vector<TFileOp> kinds;
    std::vector<AnsiString> names;
    uint64_t endLine = 0;
    {
        FailFileOps record([](uint64_t, TFileOp, const AnsiString &) { return 0u; });
        ASSERT_TRUE(Has(CopyRun(copies_), " Программа выполнена успешно"));
        kinds = record.Kinds();
        names = record.Names();
        for (size_t i = 0; i < kinds.size(); ++i)
            if (kinds[i] == TFileOp::JournalWrite && Contains(record.Names()[i], "*5#"))
                endLine = i + 1;
    }
    // The files of the copy need no flush of their own: a handful for the whole run.
    EXPECT_LT(std::count(kinds.begin(), kinds.end(), TFileOp::Flush), 12);
    const auto updatedCopy = ReadTree(copy);
    ASSERT_GT(kinds.size(), 200u);
    ASSERT_GT(endLine, 0u);

    // A sample, since each start copies the whole installation: about twenty-five operations spread
    // over the run, the copy's included, and every one of the last forty (the update of the copy's
    // files, its end and the clearing up; the run in place fails at each kind of these in turn).
    std::vector<uint64_t> sample;
    const uint64_t last = kinds.size() - 40;
    for (uint64_t n = 1; n < last; n += last / 25 + 1)
        sample.push_back(n);
    for (uint64_t n = last; n <= kinds.size(); ++n)
        sample.push_back(n);
    for (uint64_t n : sample) {
        SCOPED_TRACE("operation " + std::to_string(n) + " failed: " + names[n - 1]);
        RemoveTree(ExcludeTrailingBackslash(copy));
        DeleteFile(link);
        std::vector<AnsiString> asked, protocol;
        {
            FailAtFileOp fail(n);
            protocol = CopyRun(copies_, AnsiString(), &asked);
            ASSERT_FALSE(fail.Failed().empty());
        }
        const bool offered = Has(asked, "msgid №3009");
        if (Has(protocol, " Программа выполнена успешно")) {
            EXPECT_TRUE(offered);
            // A temporary folder that could not be removed keeps the journal, ended, that names it.
            if (FileExists(root_ + "qmt_3.1.1.txt"))
                StartAfterFinishedRun(form_.SelfPath);
            EXPECT_FALSE(FileExists(root_ + "qmt_3.1.1.txt"));
            EXPECT_TRUE(ReadTree(copy) == updatedCopy);
        } else {
            EXPECT_FALSE(offered);
            if (FileExists(root_ + "qmt_3.1.1.txt")) {
                if (n > endLine)
                    StartAfterFinishedRun(form_.SelfPath);
                else
                    StartAndRollBack(form_.SelfPath);
            }
            EXPECT_FALSE(FileExists(root_ + "qmt_3.1.1.txt"));
            // Once the journal held its end, the updated copy stays.
            if (n > endLine)
                EXPECT_TRUE(ReadTree(copy) == updatedCopy);
            else
                EXPECT_FALSE(DirectoryExists(copy));
        }
        EXPECT_EQ(std::vector<AnsiString>{}, Differences(installation, WithoutProtocols(ReadTree(root_))));
    }
    DeleteFile(link);
}

TEST_F(RunVariant, ACopyRunsRollbackKilledAnywhereLeavesNothingOfTheCopyAfterTheNextStart)
{
    const auto installation = WithoutProtocols(ReadTree(root_));
    // The copy goes into a folder the dialog makes; the run is stopped where it would write its end.
    {
        KillAtJournalLine kill("*5#");
        EXPECT_THROW(CopyRun(copies_ + "New\\"), TEngineKilled);
    }
    const auto leftInRoot = ReadTree(root_), leftInCopies = ReadTree(copies_);
    ASSERT_TRUE(DirectoryExists(copies_ + "New\\QMT5_311"));
    // The copy's shortcut, made before the end line, is left on the desktop too.
    const AnsiString link = DesktopLink("QMT5_311.LNK");
    ASSERT_TRUE(FileExists(link));
    const std::string leftLink = ReadWholeFile(link);
    auto leftByTheRun = [&] {
        for (const AnsiString &folder : {root_, copies_}) {
            RemoveTree(ExcludeTrailingBackslash(folder));
            ForceDirectories(folder);
        }
        WriteTree(root_, leftInRoot);
        WriteTree(copies_, leftInCopies);
        WriteWholeFile(link, leftLink);
    };
    auto oneStart = [&](PromptSteps &prompts) {
        TForm1 form(nullptr);
        form.SelfPath = form_.SelfPath;
        form.FormActivate(&form);
        std::vector<AnsiString> protocol;
        for (int i = 0; i < form.LsBx_Prot->Items()->Count(); ++i)
            protocol.push_back(form.LsBx_Prot->Items()->Strings(i));
        for (const TPrompt &p : prompts.seen)
            EXPECT_EQ(AnsiString::npos, p.Text.find("msgid №3009")) << p.Text;
        return protocol;
    };

    uint64_t ended = 0, operations = 0;
    {
        KillAtFileOp count;
        StartAndRollBack(form_.SelfPath);
        ended = count.LastOf(TFileOp::JournalWrite);  // the rollback's end line; it only tidies up after it
        operations = count.Passed();
    }
    ASSERT_FALSE(DirectoryExists(copies_ + "New"));
    ASSERT_FALSE(FileExists(link));
    ASSERT_GT(operations, ended + 3);  // the temporary folder's files and folders, the journal

    for (uint64_t n = 1; n <= operations; ++n) {
        SCOPED_TRACE("rollback killed at operation " + std::to_string(n));
        leftByTheRun();
        {
            PromptSteps prompts;
            prompts.Answer(idYes);  // 3001
            KillAtFileOp kill(n);
            EXPECT_THROW(oneStart(prompts), TEngineKilled);
        }
        // The journal goes last; once it holds the rollback's end the next start only tidies up after
        // it and asks whether to go on (3003, declined), with no question about a failed run.
        ASSERT_TRUE(FileExists(root_ + "qmt_3.1.1.txt"));
        if (n > ended) {
            PromptSteps prompts;
            prompts.Answer(idNo);  // 3003
            const std::vector<AnsiString> protocol = oneStart(prompts);
            EXPECT_EQ(0, prompts.unanswered);
            ASSERT_EQ(1u, prompts.seen.size());
            EXPECT_TRUE(Contains(prompts.seen[0].Text, "Продолжить выполнение обновления?")) << prompts.seen[0].Text;
            EXPECT_TRUE(Has(protocol, "Откат прошлого обновления завершен. Удаление его временных файлов"));
        } else {
            StartAndRollBack(form_.SelfPath);
        }
        // Neither the copy, nor the folder made to hold it, nor its shortcut, nor the temporary folder,
        // nor the journal.
        EXPECT_FALSE(DirectoryExists(copies_ + "New"));
        EXPECT_FALSE(FileExists(link));
        EXPECT_TRUE(DirectoryExists(copies_));
        EXPECT_FALSE(DirectoryExists(root_ + "QMTUPDTA.TMP"));
        EXPECT_FALSE(FileExists(root_ + "qmt_3.1.1.txt"));
        EXPECT_EQ(std::vector<AnsiString>{}, Differences(installation, WithoutProtocols(ReadTree(root_))));
    }
}

TEST_F(RunVariant, ACopyRunKilledAnywhereFromItsShortcutOnLeavesTheShortcutWithTheFinishedCopyAlone)
{
    const AnsiString link = DesktopLink("Копия ЦМТ.LNK");
    ASSERT_FALSE(link.empty());
    DeleteFile(link);
    const auto installation = WithoutProtocols(ReadTree(root_));
    const AnsiString copy = copies_ + "QMT5_311\\";
    const AnsiString journal = root_ + "qmt_3.1.1.txt";

    // The undisturbed run: where it journals the shortcut, where its end, and how many operations in all.
    uint64_t shortcutLine = 0, endLine = 0, operations = 0;
    {
        KillAtFileOp count;
        ASSERT_TRUE(Has(CopyRun(copies_, "Копия ЦМТ"), " Программа выполнена успешно"));
        operations = count.Passed();
        for (size_t i = 0; i < count.PassedKinds().size(); ++i) {
            if (count.PassedKinds()[i] != TFileOp::JournalWrite)
                continue;
            if (Contains(count.PassedNames()[i], "*9#z<" + link))
                shortcutLine = i + 1;
            if (Contains(count.PassedNames()[i], "*5#"))
                endLine = i + 1;
        }
    }
    const auto finishedCopies = ReadTree(copies_);
    ASSERT_TRUE(FileExists(link));
    ASSERT_GT(endLine, 0u);
    ASSERT_GT(operations, endLine + 3u);  // after it the temporary folder's files and folders, the journal
    EXPECT_GT(shortcutLine, 0u);
    EXPECT_LT(shortcutLine, endLine);  // the shortcut is journaled and made before the end line

    // Killed at every operation from the shortcut's journal line (or the end line, should that come
    // first) to the journal's deletion.
    const uint64_t from = shortcutLine > 0 ? std::min(shortcutLine, endLine) : endLine;
    for (uint64_t n = from; n <= operations; ++n) {
        SCOPED_TRACE("killed at operation " + std::to_string(n) + " (shortcut journaled at " +
                     std::to_string(shortcutLine) + ", end line at " + std::to_string(endLine) + ")");
        RemoveTree(ExcludeTrailingBackslash(copy));
        DeleteFile(link);
        {
            KillAtFileOp kill(n);
            EXPECT_THROW(CopyRun(copies_, "Копия ЦМТ"), TEngineKilled);
        }
        ASSERT_TRUE(FileExists(journal));  // the journal goes last
        if (n > endLine) {
            // The run had finished: the next start asks no question about it, tidies up after it and
            // goes on as a fresh start. The finished copy keeps its shortcut, which starts it.
            const std::vector<AnsiString> protocol = StartAfterFinishedRun(form_.SelfPath);
            EXPECT_TRUE(Has(protocol, "Прошлое обновление завершено. Удаление его временных файлов"));
            EXPECT_TRUE(ReadTree(copies_) == finishedCopies);
            TShellLinkInfo info;
            ASSERT_TRUE(ReadShellLink(link, info));
            EXPECT_TRUE(AnsiSameText(copy + "EXE\\qmt.exe", info.Target)) << info.Target;
            EXPECT_TRUE(AnsiSameText(ExcludeTrailingBackslash(copy), ExcludeTrailingBackslash(info.WorkingFolder)))
                << info.WorkingFolder;
        } else {
            // Not finished: the rollback removes the copy and the shortcut that would point at it.
            StartAndRollBack(form_.SelfPath);
            EXPECT_FALSE(DirectoryExists(copy));
            EXPECT_FALSE(FileExists(link));
        }
        // The installation is the old one, and nothing of the run is left beside it.
        EXPECT_EQ(std::vector<AnsiString>{}, Differences(installation, WithoutProtocols(ReadTree(root_))));
        EXPECT_FALSE(DirectoryExists(root_ + "QMTUPDTA.TMP"));
        EXPECT_FALSE(FileExists(journal));
    }
    DeleteFile(link);
}

TEST_F(RunVariant, ACopyRunKilledAroundItsShortcutKeepsAUsersFileOfTheShortcutsName)
{
    // The user's own file bears the name the shortcut gets: kept as it was by a rollback of the run,
    // attributes included; saved over by the new link once the run has finished.
    const AnsiString link = DesktopLink("Копия ЦМТ.LNK");
    ASSERT_FALSE(link.empty());
    const std::string usersBytes = "the user's own file, not a link";
    const AnsiString copy = copies_ + "QMT5_311\\";
    const AnsiString journal = root_ + "qmt_3.1.1.txt";
    for (const int attributes : {faArchive, faArchive | faReadOnly}) {
        SCOPED_TRACE("the user's file has attributes " + std::to_string(attributes));
        auto usersFile = [&] {
            FileSetAttr(link, 0);
            DeleteFile(link);
            WriteWholeFile(link, usersBytes);
            FileSetAttr(link, attributes);
        };
        // The undisturbed run: from where the shortcut step touches the desktop to the end line.
        RemoveTree(ExcludeTrailingBackslash(copy));
        usersFile();
        uint64_t first = 0, endLine = 0;
        {
            KillAtFileOp count;
            ASSERT_TRUE(Has(CopyRun(copies_, "Копия ЦМТ"), " Программа выполнена успешно"));
            for (size_t i = 0; i < count.PassedNames().size(); ++i) {
                if (first == 0 && Contains(count.PassedNames()[i], "Копия ЦМТ"))
                    first = i + 1;
                if (count.PassedKinds()[i] == TFileOp::JournalWrite && Contains(count.PassedNames()[i], "*5#"))
                    endLine = i + 1;
            }
        }
        ASSERT_GT(first, 0u);
        ASSERT_GT(endLine, first);
        TShellLinkInfo info;
        ASSERT_TRUE(ReadShellLink(link, info));  // the finished run saved its link over the file
        EXPECT_TRUE(AnsiSameText(copy + "EXE\\qmt.exe", info.Target)) << info.Target;

        // Killed at every operation from the first on the desktop's file to just past the end line.
        for (uint64_t n = first - 1; n <= endLine + 1; ++n) {
            SCOPED_TRACE("killed at operation " + std::to_string(n) + " (end line at " + std::to_string(endLine) + ")");
            RemoveTree(ExcludeTrailingBackslash(copy));
            usersFile();
            {
                KillAtFileOp kill(n);
                EXPECT_THROW(CopyRun(copies_, "Копия ЦМТ"), TEngineKilled);
            }
            if (n > endLine) {
                StartAfterFinishedRun(form_.SelfPath);
                ASSERT_TRUE(ReadShellLink(link, info));
                EXPECT_TRUE(AnsiSameText(copy + "EXE\\qmt.exe", info.Target)) << info.Target;
            } else {
                StartAndRollBack(form_.SelfPath);
                EXPECT_FALSE(DirectoryExists(copy));
                EXPECT_EQ(usersBytes, ReadWholeFile(link));
                EXPECT_EQ(attributes, FileGetAttr(link) & KeptFileAttributes);
            }
            EXPECT_FALSE(FileExists(journal));
            EXPECT_FALSE(DirectoryExists(root_ + "QMTUPDTA.TMP"));
        }
    }
    FileSetAttr(link, 0);
    DeleteFile(link);
}

TEST_F(RunVariant, ACopyFolderOnADriveThatIsNotThereIsRefusedAndTheRollbackOfTheCopyMadeOnceItIsKeepsEveryFileOnIt)
{
    TScopedDrive stick;  // a stick not plugged in yet
    ASSERT_NE(0, stick.Letter());
    ForceDirectories(copies_ + "stick");
    WriteWholeFile(copies_ + "stick\\photo.jpg", "a photo");
    const AnsiString journal = root_ + "qmt_3.1.1.txt";
    auto journalText = [&] {
        TFileStream file(journal, fmOpenRead | fmShareDenyNone);
        std::string text(static_cast<size_t>(file.Size()), '\0');
        if (!text.empty())
            file.ReadBuffer(&text[0], static_cast<long>(text.size()));
        return text;
    };
    PromptSteps prompts;
    prompts
        .OnDialog<TFrm_SelKU>([&](TFrm_SelKU &dialog) {
            dialog.Ed_NewFolder->SetText(stick.Root() + "Копии");
            dialog.Btn_NextClick(nullptr);
            EXPECT_EQ(std::string::npos, journalText().find("z<" + stick.Root())) << journalText();
            // The user plugs the stick in and presses "Далее" again.
            ASSERT_TRUE(stick.Plug(copies_ + "stick\\"));
            dialog.Btn_NextClick(nullptr);
        })
        .Then([&](const TPrompt &p) {
            EXPECT_EQ("Невозможно создать папку:\n" + stick.Root() + "Копии\\QMT5_311\\", p.Text);
            return TPromptAnswer{idOk, {}};
        })
        .Then([](const TPrompt &p) {
            EXPECT_TRUE(Contains(p.Text, "msgid №3011")) << p.Text;
            return TPromptAnswer{idYes, {}};
        });
    {
        // The update itself then fails: its first work file cannot be written.
        FailFileOps fail([](uint64_t, TFileOp kind, const AnsiString &name) {
            return kind == TFileOp::Create && Contains(name, "QMTUPDTA.TMP\\WRK\\") ? SysErrorDiskFull : 0u;
        });
        TForm1 form(nullptr);
        form.SelfPath = form_.SelfPath;
        form.FormActivate(&form);
    }
    EXPECT_EQ(0, prompts.unanswered);
    EXPECT_TRUE(prompts.steps.empty());
    ASSERT_TRUE(FileExists(stick.Root() + "Копии\\QMT5_311\\EXE\\qmt.exe"));
    ASSERT_TRUE(FileExists(journal));

    StartAndRollBack(form_.SelfPath);
    EXPECT_EQ("a photo", ReadWholeFile(stick.Root() + "photo.jpg"));
    EXPECT_FALSE(DirectoryExists(stick.Root() + "Копии"));  // made by the run, and empty once the copy went
    EXPECT_FALSE(FileExists(journal));
}

TEST_F(RunVariant, ACopyInAMissingFolderUnderAUsersFolderLeavesWhatTheUserPutThereOnceRolledBack)
{
    const AnsiString users = copies_ + "Мои документы\\";
    ForceDirectories(users);
    WriteWholeFile(users + "письмо.txt", "a letter");
    {
        KillAtJournalLine kill("*5#");  // the run is stopped before its end
        EXPECT_THROW(CopyRun(users + "Новая\\"), TEngineKilled);
    }
    ASSERT_TRUE(DirectoryExists(users + "Новая\\QMT5_311"));
    // Meanwhile the user keeps a file of their own in the folder the run made.
    WriteWholeFile(users + "Новая\\заметки.txt", "notes");

    StartAndRollBack(form_.SelfPath);
    EXPECT_EQ("a letter", ReadWholeFile(users + "письмо.txt"));
    EXPECT_EQ("notes", ReadWholeFile(users + "Новая\\заметки.txt"));
    EXPECT_FALSE(DirectoryExists(users + "Новая\\QMT5_311"));
    EXPECT_FALSE(FileExists(root_ + "qmt_3.1.1.txt"));
}

TEST_F(RunVariant, AShortcutThatCannotBeSavedOverAUsersReadOnlyFileLeavesItAsItWas)
{
    const AnsiString link = DesktopLink("Копия ЦМТ.LNK");
    ASSERT_FALSE(link.empty());
    FileSetAttr(link, 0);
    DeleteFile(link);
    WriteWholeFile(link, "the user's own file");
    FileSetAttr(link, faReadOnly | faArchive);
    std::vector<AnsiString> protocol;
    {
        FailFileOps refuse([&](uint64_t, TFileOp kind, const AnsiString &name) {
            return kind == TFileOp::Create && name == link ? SysErrorAccessDenied : 0u;
        });
        protocol = CopyRun(copies_, "Копия ЦМТ");
    }
    EXPECT_TRUE(Has(protocol, "Произошла аварийная ситуация Ярлык на рабочем столе не сохранен: Копия ЦМТ.LNK"));
    EXPECT_TRUE(Has(protocol, " Программа выполнена успешно"));
    EXPECT_EQ("the user's own file", ReadWholeFile(link));
    EXPECT_EQ(faReadOnly | faArchive, FileGetAttr(link) & KeptFileAttributes);

    // Attributes that cannot be given back are said in the protocol; the finished copy stands.
    RemoveTree(ExcludeTrailingBackslash(copies_ + "QMT5_311"));
    int attributeChanges = 0;
    {
        FailFileOps refuse([&](uint64_t, TFileOp kind, const AnsiString &name) {
            if (name != link)
                return 0u;
            if (kind == TFileOp::Create)
                return SysErrorAccessDenied;
            return kind == TFileOp::Attributes && ++attributeChanges == 2 ? SysErrorAccessDenied : 0u;
        });
        protocol = CopyRun(copies_, "Копия ЦМТ");
    }
    EXPECT_TRUE(Has(protocol, "Произошла аварийная ситуация Не удалось вернуть атрибуты файла " + link));
    EXPECT_TRUE(Has(protocol, " Программа выполнена успешно"));
    EXPECT_EQ("the user's own file", ReadWholeFile(link));
    FileSetAttr(link, 0);
    DeleteFile(link);
}

namespace {

std::string SharedRead(const AnsiString &file)
{
    TFileStream in(file, fmOpenRead | fmShareDenyNone);
    std::string text(static_cast<size_t>(in.Size()), '\0');
    if (!text.empty())
        in.ReadBuffer(&text[0], static_cast<long>(text.size()));
    return text;
}

// One start of the updater whose variant dialog `act` works; the dialog goes when the start ends, also
// when it is killed. Returns the start's protocol.
template <class Act>
std::vector<AnsiString> DialogRun(const AnsiString &updater, PromptSteps &prompts, Act act)
{
    const ScopedVariantDialog variantDialog;
    prompts.steps.push_front([act](const TPrompt &p) {
        auto *dialog = dynamic_cast<TFrm_SelKU *>(p.Form);
        EXPECT_NE(dialog, nullptr);
        if (dialog)
            act(*dialog);
        return TPromptAnswer{dialog ? dialog->ModalResult() : idCancel, {}};
    });
    TForm1 form(nullptr);
    form.SelfPath = updater;
    form.FormActivate(&form);
    std::vector<AnsiString> protocol;
    for (int i = 0; i < form.LsBx_Prot->Items()->Count(); ++i)
        protocol.push_back(form.LsBx_Prot->Items()->Strings(i));
    return protocol;
}

TPromptAnswer Refused(const TPrompt &p, const AnsiString &path)
{
    EXPECT_EQ("Невозможно создать папку:\n" + path, p.Text);
    return TPromptAnswer{idOk, {}};
}

}  // namespace

TEST_F(RunVariant, AFilesPathAsTheCopysFolderIsRefusedBeforeItIsJournaledAndNoRollbackDeletesTheFile)
{
    const std::string exe = ReadWholeFile(root_ + "EXE\\qmt.exe");
    const AnsiString journal = root_ + "qmt_3.1.1.txt";
    const AnsiString doc = copies_ + "Documents\\Отчет.doc";
    ForceDirectories(copies_ + "Documents");
    WriteWholeFile(doc, "the user's report");
    FileSetAttr(doc, faReadOnly | faArchive);
    // The installation's own executable pasted into the folder field (it lies inside the installation),
    // then a user's read-only document: each refused with a box and nothing journaled for it; then an
    // empty folder, and the run stopped.
    {
        PromptSteps prompts;
        prompts
            .Then([&](const TPrompt &p) {
                EXPECT_EQ("Копию нельзя поместить в папку исходной ЦМТ:\n" + root_ + "EXE\\qmt.exe\\QMT5_311\\",
                          p.Text);
                return TPromptAnswer{idOk, {}};
            })
            .Then([&](const TPrompt &p) { return Refused(p, doc + "\\QMT5_311\\"); })
            .Then([&](const TPrompt &p) { return Refused(p, doc + "\\"); })
            .Answer(idYes);  // 3011
        KillAtJournalLine kill("*5#");
        EXPECT_THROW(DialogRun(form_.SelfPath, prompts,
                               [&](TFrm_SelKU &dialog) {
                                   dialog.Ed_NewFolder->SetText(root_ + "EXE\\qmt.exe");
                                   dialog.Btn_NextClick(nullptr);
                                   dialog.Ed_NewFolder->SetText(doc);
                                   dialog.Btn_NextClick(nullptr);
                                   dialog.Ed_NewFolder->SetText(copies_ + "Documents");
                                   dialog.Ed_CloneName->SetText("Отчет.doc");
                                   dialog.Btn_NextClick(nullptr);
                                   EXPECT_EQ(std::string::npos, SharedRead(journal).find("z<"));
                                   dialog.Ed_NewFolder->SetText(copies_);
                                   dialog.Ed_CloneName->SetText("QMT5_311");
                                   dialog.Btn_NextClick(nullptr);
                               }),
                     TEngineKilled);
        EXPECT_EQ(0, prompts.unanswered);
    }
    ASSERT_TRUE(FileExists(copies_ + "QMT5_311\\EXE\\qmt.exe"));
    EXPECT_EQ(std::string::npos, SharedRead(journal).find("z<" + root_));
    EXPECT_EQ(std::string::npos, SharedRead(journal).find("z<" + doc));
    StartAndRollBack(form_.SelfPath);
    EXPECT_EQ(exe, ReadWholeFile(root_ + "EXE\\qmt.exe"));
    EXPECT_EQ("the user's report", ReadWholeFile(doc));
    EXPECT_FALSE(DirectoryExists(copies_ + "QMT5_311"));
    EXPECT_FALSE(FileExists(journal));

    // The document typed there again, and the updater killed with the dialog still open.
    {
        PromptSteps prompts;
        prompts.Then([&](const TPrompt &p) { return Refused(p, doc + "\\QMT5_311\\"); });
        EXPECT_THROW(DialogRun(form_.SelfPath, prompts,
                               [&](TFrm_SelKU &dialog) {
                                   dialog.Ed_NewFolder->SetText(doc);
                                   dialog.Btn_NextClick(nullptr);
                                   EXPECT_FALSE(dialog.MayClose);
                                   throw TEngineKilled{0, TFileOp::Create, "killed"};
                               }),
                     TEngineKilled);
    }
    EXPECT_EQ(std::string::npos, SharedRead(journal).find("z<"));
    StartAndRollBack(form_.SelfPath);
    EXPECT_EQ("the user's report", ReadWholeFile(doc));
    EXPECT_EQ(faReadOnly | faArchive, FileGetAttr(doc) & KeptFileAttributes);
    EXPECT_FALSE(FileExists(journal));
    FileSetAttr(doc, faArchive);
}

TEST_F(RunVariant, ACopyFolderInsideTheInstallationIsRefusedAndTheDialogStaysOpen)
{
    ForceDirectories(root_ + "Rus\\AutoSave");
    PromptSteps prompts;
    prompts
        .Then([&](const TPrompt &p) {
            EXPECT_EQ("Копию нельзя поместить в папку исходной ЦМТ:\n" + root_ + "Rus\\AutoSave\\", p.Text);
            return TPromptAnswer{idOk, {}};
        })
        .Then([&](const TPrompt &p) {
            EXPECT_EQ("Копию нельзя поместить в папку исходной ЦМТ:\n" + root_ + "rus/../Rus\\AutoSave\\QMT5_311\\",
                      p.Text);
            return TPromptAnswer{idOk, {}};
        })
        .Answer(idNo);  // 3003: no update now
    DialogRun(form_.SelfPath, prompts, [&](TFrm_SelKU &dialog) {
        dialog.Ed_NewFolder->SetText(root_);
        dialog.Ed_CloneName->SetText("Rus\\AutoSave");
        dialog.Btn_NextClick(nullptr);
        dialog.Ed_NewFolder->SetText(root_ + "rus/../Rus\\AutoSave");
        dialog.Ed_CloneName->SetText("QMT5_311");
        dialog.Btn_NextClick(nullptr);
        EXPECT_FALSE(dialog.MayClose);
        dialog.Btn_CancelClick(nullptr);
    });
    EXPECT_EQ(0, prompts.unanswered);
    EXPECT_TRUE(DirectoryExists(root_ + "Rus\\AutoSave"));
    EXPECT_FALSE(DirectoryExists(root_ + "Rus\\AutoSave\\QMT5_311"));
    EXPECT_FALSE(FileExists(root_ + "qmt_3.1.1.txt"));
}
