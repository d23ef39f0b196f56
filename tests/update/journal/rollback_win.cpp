#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "framework/runtime/Classes.h"
#include "framework/runtime/Kernel.h"
#include "framework/runtime/SysUtils.h"
#include "framework/windows/PromptScript.h"
#include "tests/support/FailAtFileOp.h"
#include "tests/support/FakeClock.h"
#include "tests/support/InstallationBuilder.h"
#include "tests/support/KillAtFileOp.h"
#include "tests/support/ScopedDrive.h"
#include "tests/support/TempFolder.h"
#include "update/apply/FileOps.h"
#include "update/journal/JournalLine.h"
#include "update/payload/Checksum.h"
#include "update/payload/ChecksumFile.h"
#include "update/run/ProductFolder.h"
#include "update/run/uMain.h"

namespace {

const char *const JournalDate = "06.12.26 23:10:00.000";

std::string ReadBytes(const AnsiString &path)
{
    TFileStream file(path, fmOpenRead | fmShareDenyNone);
    std::string bytes(static_cast<size_t>(file.Size()), '\0');
    if (!bytes.empty())
        file.ReadBuffer(&bytes[0], static_cast<long>(bytes.size()));
    return bytes;
}

void WriteBytes(const AnsiString &path, const std::string &bytes)
{
    ForceDirectories(ExtractFilePath(path));
    TFileStream file(path, fmCreate);
    if (!bytes.empty())
        file.WriteBuffer(bytes.data(), static_cast<long>(bytes.size()));
}

// A clock whose pauses can do something, as another program would while the updater waits.
class HookClock : public FakeClock {
public:
    void Sleep(unsigned milliseconds) override
    {
        FakeClock::Sleep(milliseconds);
        if (onSleep)
            onSleep();
    }
    std::function<void()> onSleep;
};

class RollBack : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = MakeTestFolder("qmt_rollback");
        BuildInstallation(root_);
        temp_ = root_ + "QMTUPDTA.TMP\\";
        Ready(form_);
    }
    // A window as the run has it when it rolls back: before the journal is opened.
    void Ready(TForm1 &form)
    {
        form.ProductFolder = root_;
        form.JournalPath = root_ + "qmt_3.1.1.txt";
        form.SelfPath = root_ + "qmtupdt.exe";
        form.JournalSuspended = 1;
    }
    void TearDown() override { RemoveTree(ExcludeTrailingBackslash(root_)); }  // read-only files too

    // A command line as the engine writes it, and the blank line the journal keeps after it.
    void Cmd(int code, const AnsiString &text)
    {
        journal_ += "\r\n" + JournalCommandLine(JournalDate, code, text) + "\r\n";
    }
    void Protocol(const AnsiString &text) { journal_ += "\r\n" + JournalProtocolLine(JournalDate, text); }
    void SaveJournal() { WriteBytes(form_.JournalPath, journal_); }

    // Saves `bytes` as the backup of `target` (name inside the product folder) in section `section`
    // and journals it; the target then gets `changed`.
    void Backup(const AnsiString &name, const std::string &changed, int section = 0)
    {
        AnsiString backup = temp_ + "BAK" + std::to_string(section) + "\\" + name;
        WriteBytes(backup, ReadBytes(root_ + name));
        uint32_t sum = 0;
        uint64_t size = 0;
        ASSERT_TRUE(ChecksumFile(backup, sum, size));
        Cmd(ejc_Backup,
            root_ + name + "<" + backup + FormatChecksum(sum) + FormatChecksum(static_cast<uint32_t>(size)));
        WriteBytes(root_ + name, changed);
    }
    void Created(const AnsiString &path) { Cmd(ejc_Created, "z<" + path + "00000000000000000000"); }

    std::vector<AnsiString> Protocol() const
    {
        std::vector<AnsiString> lines;
        for (int i = 0; i < form_.LsBx_Prot->Items()->Count(); ++i)
            lines.push_back(form_.LsBx_Prot->Items()->Strings(i));
        return lines;
    }
    bool Logged(const AnsiString &line) const
    {
        for (const AnsiString &l : Protocol())
            if (l == line)
                return true;
        return false;
    }
    int IndexOf(const AnsiString &start) const
    {
        std::vector<AnsiString> lines = Protocol();
        for (size_t i = 0; i < lines.size(); ++i)
            if (lines[i].rfind(start, 0) == 0)
                return static_cast<int>(i);
        return -1;
    }

    AnsiString root_;
    AnsiString temp_;
    std::string journal_;
    HookClock clock_;
    TClockOverride useClock_{clock_};
    TForm1 form_{nullptr};
};

const std::string Original1 = "first file as installed";
const std::string Original2 = "second file, as installed too";

}  // namespace

TEST_F(RollBack, JournalWithOnlyItsStart)
{
    Cmd(ejc_Start, JournalStartText);
    Protocol(ProtocolLine(ept_Plain, "...проверка наличия QMT.EXE"));
    SaveJournal();
    TPromptScript script;
    EXPECT_TRUE(form_.RollBack());
    EXPECT_TRUE(script.Seen().empty());
    EXPECT_FALSE(FileExists(form_.JournalPath));
    EXPECT_EQ(0, form_.UpdateVariant);
    // The silent look-up of the product's executable reports on the same line.
    EXPECT_TRUE(Logged("Анализ протокола " + form_.JournalPath + " ...ОК "));
    EXPECT_TRUE(Logged(AnsiString("Откат изменений, восстановление информации к начальному состоянию > ") +
                       JournalDate + "*4#Запуск ...ОК "));
    EXPECT_TRUE(form_.ProductMutex[0].Held());  // the product was found closed and stays so
}

TEST_F(RollBack, BackupsRestoredNewestFirstBackToTheStart)
{
    WriteBytes(root_ + "EXE\\a.dll", Original1);
    WriteBytes(root_ + "Data\\b.dbb", Original2);
    // A command before the start belongs to nothing this run did: undoing it would fail.
    Cmd(ejc_Backup, root_ + "EXE\\a.dll<" + temp_ + "missing" + FormatChecksum(1) + FormatChecksum(1));
    Cmd(ejc_Start, JournalStartText);
    Cmd(ejc_TempFolder, temp_);
    Backup("EXE\\a.dll", "patched first");
    Protocol(ProtocolLine(ept_Patch, root_ + "EXE\\a.dll"));
    Backup("Data\\b.dbb", "patched second, longer than it was");
    Cmd(ejc_Created, "z<PA00000000000000000000");
    WriteBytes(root_ + "EXE\\new.txt", "a file the update brought");
    Created(root_ + "EXE\\new.txt");
    SaveJournal();

    TPromptScript script;
    ASSERT_TRUE(form_.RollBack());
    EXPECT_EQ(Original1, ReadBytes(root_ + "EXE\\a.dll"));
    EXPECT_EQ(Original2, ReadBytes(root_ + "Data\\b.dbb"));
    EXPECT_FALSE(FileExists(root_ + "EXE\\new.txt"));
    EXPECT_FALSE(FileExists(form_.JournalPath));
    EXPECT_EQ(temp_, form_.TempFolder);
    int second = IndexOf("Восстановление файла " + root_ + "Data\\b.dbb");
    int first = IndexOf("Восстановление файла " + root_ + "EXE\\a.dll");
    ASSERT_GE(second, 0);
    EXPECT_GT(first, second);
    EXPECT_LT(IndexOf("Удаление файла " + root_ + "EXE\\new.txt"), second);
    EXPECT_EQ(-1, IndexOf("Восстановление файла " + root_ + "EXE\\a.dll<"));
}

TEST_F(RollBack, CutOffLastLineStopsBeforeAnyChange)
{
    WriteBytes(root_ + "EXE\\a.dll", Original1);
    Cmd(ejc_Start, JournalStartText);
    Backup("EXE\\a.dll", "patched");
    AnsiString last = JournalCommandLine(JournalDate, ejc_Created, "z<" + root_ + "EXE\\a.dll00000000000000000000");
    journal_ += "\r\n" + last.substr(0, last.size() - 7);
    SaveJournal();
    TPromptScript script;
    EXPECT_FALSE(form_.RollBack());
    EXPECT_TRUE(Logged("Файл протокола поврежден " + form_.JournalPath));
    EXPECT_TRUE(FileExists(form_.JournalPath));
    EXPECT_EQ("patched", ReadBytes(root_ + "EXE\\a.dll"));
    EXPECT_EQ(-1, IndexOf("Откат изменений"));
}

TEST_F(RollBack, DamagedProtocolLineIsIgnored)
{
    WriteBytes(root_ + "EXE\\a.dll", Original1);
    Cmd(ejc_Start, JournalStartText);
    Backup("EXE\\a.dll", "patched");
    AnsiString line = JournalProtocolLine(JournalDate, ProtocolLine(ept_Copy, "x"));
    line[5] = '7';
    journal_ += "\r\n" + line + "\r\n; cut off in the midd";
    SaveJournal();
    TPromptScript script;
    EXPECT_TRUE(form_.RollBack());
    EXPECT_EQ(Original1, ReadBytes(root_ + "EXE\\a.dll"));
}

TEST_F(RollBack, RelativeNamesDeleteNothing)
{
    WriteBytes(root_ + "PA", "an entry of the current folder");
    ForceDirectories(root_ + "Data\\");
    AnsiString previous = GetCurrentDir();
    SetCurrentDir(root_);
    Cmd(ejc_Start, JournalStartText);
    Cmd(ejc_Created, "z<PA00000000000000000000");
    Cmd(ejc_Created, "z<Data00000000000000000000");
    SaveJournal();
    TPromptScript script;
    bool ok = form_.RollBack();
    SetCurrentDir(previous);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(FileExists(root_ + "PA"));
    EXPECT_TRUE(DirectoryExists(root_ + "Data"));
}

TEST_F(RollBack, FinishedRunOnlyLeftItsJournal)
{
    AnsiString copy = root_ + "QMT5_311\\";
    BuildInstallation(copy);
    WriteBytes(copy + "EXE\\a.dll", Original1);
    Cmd(ejc_Start, JournalStartText);
    Cmd(ejc_CopyFolder, copy);
    Cmd(ejc_Variant, "1");
    Cmd(ejc_TempFolder, temp_);
    AnsiString backup = temp_ + "BAK0\\EXE\\a.dll";
    WriteBytes(backup, Original1);
    uint32_t sum = 0;
    uint64_t size = 0;
    ASSERT_TRUE(ChecksumFile(backup, sum, size));
    Cmd(ejc_Backup, copy + "EXE\\a.dll<" + backup + FormatChecksum(sum) + FormatChecksum(static_cast<uint32_t>(size)));
    WriteBytes(copy + "EXE\\a.dll", "updated");
    Cmd(ejc_End, JournalEndText);
    SaveJournal();
    TPromptScript script;
    EXPECT_TRUE(form_.RollBack());
    EXPECT_EQ("updated", ReadBytes(copy + "EXE\\a.dll"));
    EXPECT_FALSE(FileExists(form_.JournalPath));
    EXPECT_EQ(0, form_.UpdateVariant);   // the updated copy is not removed
    EXPECT_EQ(temp_, form_.TempFolder);  // the temporary folder is
    EXPECT_EQ(-1, IndexOf("Откат изменений"));
}

TEST_F(RollBack, CopyOfTheInstallationIsRemovedThenTheJournalEndedThenTheTemporaryFolderAndTheJournal)
{
    AnsiString copy = root_ + "QMT5_311\\";
    BuildInstallation(copy);
    WriteBytes(root_ + "EXE\\a.dll", Original1);
    Cmd(ejc_Start, JournalStartText);
    Cmd(ejc_Variant, "1");
    Cmd(ejc_CopyFolder, copy);
    // Every folder and file of the copy is journaled before it is made.
    for (const char *entry : {"Cfg\\", "Cfg\\CFG.QMT", "EXE\\", "EXE\\qmt.exe"})
        Created(copy + entry);
    Cmd(ejc_TempFolder, temp_);
    Backup("EXE\\a.dll", "changed");  // even a backup that names the product is left alone
    SaveJournal();
    TPromptScript script;
    FailFileOps record([](uint64_t, TFileOp, const AnsiString &) { return 0u; });
    ASSERT_TRUE(form_.RollBack());
    EXPECT_TRUE(script.Seen().empty());
    EXPECT_EQ(1, form_.UpdateVariant);
    EXPECT_EQ(copy, form_.CopyFolder);
    EXPECT_EQ(temp_, form_.TempFolder);
    EXPECT_EQ(ProductMutexName(copy + "EXE\\qmt.exe"), form_.MutexName[1]);
    EXPECT_TRUE(form_.ProductMutex[1].Held());  // the copy's product was found closed
    EXPECT_FALSE(DirectoryExists(copy));
    EXPECT_FALSE(DirectoryExists(temp_));
    EXPECT_EQ("changed", ReadBytes(root_ + "EXE\\a.dll"));
    EXPECT_FALSE(FileExists(form_.JournalPath));

    // The copy goes while the journal still asks for a rollback; then the journal gets the rollback's
    // variant and end lines; then the temporary folder goes, and the journal last of all.
    const std::vector<TFileOp> &kinds = record.Kinds();
    const std::vector<AnsiString> &names = record.Names();
    auto first = [&](auto match) {
        for (size_t i = 0; i < kinds.size(); ++i)
            if (match(kinds[i], names[i]))
                return long(i);
        return -1L;
    };
    auto last = [&](auto match) {
        for (size_t i = kinds.size(); i-- > 0;)
            if (match(kinds[i], names[i]))
                return long(i);
        return -1L;
    };
    auto in = [](const AnsiString &folder) {
        return [folder](TFileOp kind, const AnsiString &name) {
            return kind != TFileOp::JournalWrite && name.rfind(folder, 0) == 0;
        };
    };
    auto line = [](const AnsiString &mark) {
        return [mark](TFileOp kind, const AnsiString &name) {
            return kind == TFileOp::JournalWrite && name.find(mark) != AnsiString::npos;
        };
    };
    const long variantLine = first(line("*2#-1"));
    const long endLine = first(line("*5#Конец"));
    ASSERT_GE(variantLine, 0);
    EXPECT_EQ(variantLine + 1, endLine);
    EXPECT_LT(last(in(copy)), variantLine);
    EXPECT_GT(first(in(temp_)), endLine);
    EXPECT_EQ(long(kinds.size()) - 1, last(in(form_.JournalPath)));
    EXPECT_EQ(TFileOp::Delete, kinds.back());
}

TEST_F(RollBack, AJournalThatCannotBeEndedFailsTheRollbackAndKeepsEverythingItNames)
{
    WriteBytes(root_ + "EXE\\a.dll", Original1);
    Cmd(ejc_Start, JournalStartText);
    Cmd(ejc_TempFolder, temp_);
    Backup("EXE\\a.dll", "changed");
    SaveJournal();
    TPromptScript script;
    {
        FailFileOps full([](uint64_t, TFileOp kind, const AnsiString &name) {
            return kind == TFileOp::JournalWrite && name.find("*2#-1") != AnsiString::npos ? SysErrorDiskFull : 0u;
        });
        TForm1 first(nullptr);  // holds the product's mutex while it lives
        Ready(first);
        EXPECT_FALSE(first.RollBack());
    }
    // The file is back, but the backups stay with the journal that names them: rolled back again, the
    // same journal finds nothing more to copy and is ended and removed with them.
    EXPECT_EQ(Original1, ReadBytes(root_ + "EXE\\a.dll"));
    EXPECT_EQ(journal_, ReadBytes(form_.JournalPath));
    EXPECT_TRUE(DirectoryExists(temp_));
    TForm1 again(nullptr);
    Ready(again);
    EXPECT_TRUE(again.RollBack());
    EXPECT_EQ(Original1, ReadBytes(root_ + "EXE\\a.dll"));
    EXPECT_FALSE(DirectoryExists(temp_));
    EXPECT_FALSE(FileExists(form_.JournalPath));
}

TEST_F(RollBack, CopyOfTheInstallationThatIsGone)
{
    AnsiString copy = root_ + "QMT5_311\\";
    WriteBytes(root_ + "EXE\\a.dll", Original1);
    Cmd(ejc_Start, JournalStartText);
    Cmd(ejc_Variant, "1");
    Cmd(ejc_CopyFolder, copy);
    Backup("EXE\\a.dll", "changed");
    SaveJournal();
    TPromptScript script;
    ASSERT_TRUE(form_.RollBack());
    EXPECT_EQ("changed", ReadBytes(root_ + "EXE\\a.dll"));
    EXPECT_FALSE(form_.ProductMutex[1].Held());
    EXPECT_FALSE(FileExists(form_.JournalPath));
}

TEST_F(RollBack, BackupWithAnotherChecksumFails)
{
    WriteBytes(root_ + "EXE\\a.dll", Original1);
    Cmd(ejc_Start, JournalStartText);
    Backup("EXE\\a.dll", "patched");
    WriteBytes(temp_ + "BAK0\\EXE\\a.dll", "first file as installeD");  // same size, other bytes
    SaveJournal();
    TPromptScript script;
    EXPECT_FALSE(form_.RollBack());
    EXPECT_EQ("patched", ReadBytes(root_ + "EXE\\a.dll"));
    EXPECT_TRUE(FileExists(form_.JournalPath));
    EXPECT_EQ(0u, Protocol().back().find("Сравнение контрольной суммы с эталоном " + temp_ +
                                         "BAK0\\EXE\\a.dll ...Были ошибки "));
}

TEST_F(RollBack, ProductStillRunning)
{
    WriteBytes(root_ + "EXE\\a.dll", Original1);
    Cmd(ejc_Start, JournalStartText);
    Backup("EXE\\a.dll", "patched");
    SaveJournal();
    TNamedMutex product;
    ASSERT_TRUE(product.Create(ProductMutexName(root_ + "EXE\\qmt.exe")));
    TPromptScript script;
    script.Answer(idNo).Answer(idOk);  // 3007, 5007
    EXPECT_FALSE(form_.RollBack());
    ASSERT_EQ(2u, script.Seen().size());
    EXPECT_NE(AnsiString::npos, script.Seen()[0].Text.find("(msgid №3007)"));
    EXPECT_TRUE(Logged("Ошибка № 5007"));
    EXPECT_NE(
        -1,
        IndexOf(" Программа ЦМТ либо еще одно обновление обнаружены в памяти. Ожидаем 1 секунду. Попытка 10 из 10"));
    EXPECT_EQ("patched", ReadBytes(root_ + "EXE\\a.dll"));
    EXPECT_TRUE(FileExists(form_.JournalPath));
}

TEST_F(RollBack, JournalThatChangesDuringTheWaitIsNotUndone)
{
    WriteBytes(root_ + "EXE\\a.dll", Original1);
    Cmd(ejc_Start, JournalStartText);
    Backup("EXE\\a.dll", "patched");
    SaveJournal();
    // Another updater rolls back and removes the journal while this one waits for the product.
    clock_.onSleep = [&] { DeleteFile(form_.JournalPath); };
    TPromptScript script;
    EXPECT_FALSE(form_.RollBack());
    EXPECT_EQ("patched", ReadBytes(root_ + "EXE\\a.dll"));
    EXPECT_TRUE(Logged(" Файл отката изменился во время ожидания: " + form_.JournalPath));
}

TEST_F(RollBack, InterruptedAtEachFileOperationThenRunAgain)
{
    WriteBytes(root_ + "EXE\\a.dll", Original1);
    WriteBytes(root_ + "Data\\b.dbb", Original2);
    Cmd(ejc_Start, JournalStartText);
    Cmd(ejc_TempFolder, temp_);
    Backup("EXE\\a.dll", "patched first");
    Backup("Data\\b.dbb", std::string(3 << 20, 'x'));  // more than one piece to copy back
    Created(root_ + "EXE\\new.txt");
    std::string changedB = ReadBytes(root_ + "Data\\b.dbb");
    const std::map<AnsiString, std::string> backups = ReadTree(temp_);
    // The state the failed run left, set up again before every attempt.
    auto leftByTheRun = [&] {
        WriteBytes(root_ + "EXE\\a.dll", "patched first");
        WriteBytes(root_ + "Data\\b.dbb", changedB);
        WriteBytes(root_ + "EXE\\new.txt", "a file the update brought");
        RemoveTree(ExcludeTrailingBackslash(temp_));
        WriteTree(temp_, backups);
        SaveJournal();
    };
    // Restored, and nothing of the run left: its backups and journal go with everything else.
    auto restored = [&] {
        return ReadBytes(root_ + "EXE\\a.dll") == Original1 && ReadBytes(root_ + "Data\\b.dbb") == Original2 &&
               !FileExists(root_ + "EXE\\new.txt") && !DirectoryExists(temp_) && !FileExists(form_.JournalPath);
    };

    TPromptScript script;
    leftByTheRun();
    uint64_t operations = 0;
    {
        KillAtFileOp count;
        TForm1 whole(nullptr);
        Ready(whole);
        ASSERT_TRUE(whole.RollBack());
        operations = count.Passed();
    }
    ASSERT_TRUE(restored());
    ASSERT_GE(operations, 6u);  // two restores of at least a create and a write, a deletion, the journal

    for (uint64_t n = 1; n <= operations; ++n) {
        SCOPED_TRACE("killed at operation " + std::to_string(n));
        leftByTheRun();
        {
            KillAtFileOp kill(n);
            TForm1 killed(nullptr);
            Ready(killed);
            EXPECT_THROW(killed.RollBack(), TEngineKilled);
        }
        TForm1 again(nullptr);
        Ready(again);
        EXPECT_TRUE(again.RollBack());
        EXPECT_TRUE(restored());
    }
    EXPECT_TRUE(script.Seen().empty());
}

TEST_F(RollBack, HiddenSystemAndReadOnlyTargetsAreRestored)
{
    for (int attributes : {faHidden, faSysFile, faReadOnly, faHidden | faSysFile | faReadOnly}) {
        SCOPED_TRACE("attributes " + std::to_string(attributes));
        journal_.clear();
        FileSetAttr(root_ + "EXE\\a.dll", 0);
        WriteBytes(root_ + "EXE\\a.dll", Original1);
        Cmd(ejc_Start, JournalStartText);
        Backup("EXE\\a.dll", "patched");
        SaveJournal();
        ASSERT_EQ(0, FileSetAttr(root_ + "EXE\\a.dll", attributes));
        // Windows creates no file over a hidden, system or read-only one.
        RefuseCreateOverProtectedFiles windows;
        TPromptScript script;
        TForm1 form(nullptr);
        Ready(form);
        EXPECT_TRUE(form.RollBack());
        EXPECT_EQ(Original1, ReadBytes(root_ + "EXE\\a.dll"));
        EXPECT_FALSE(FileExists(form.JournalPath));
        EXPECT_TRUE(windows.Failed().empty());
    }
}

TEST_F(RollBack, ATargetEqualToItsBackupIsLeftAsItIs)
{
    // The run backed the file up and stopped before it changed it: a read-only file stays read-only
    // and untouched.
    WriteBytes(root_ + "EXE\\a.dll", Original1);
    Cmd(ejc_Start, JournalStartText);
    Backup("EXE\\a.dll", Original1);
    SaveJournal();
    ASSERT_EQ(0, FileSetAttr(root_ + "EXE\\a.dll", faReadOnly));
    ASSERT_EQ(0, FileSetAttr(temp_ + "BAK0\\EXE\\a.dll", faReadOnly));  // as the backup keeps it
    {
        RefuseCreateOverProtectedFiles windows;
        TPromptScript script;
        EXPECT_TRUE(form_.RollBack());
        for (const AnsiString &name : windows.Names())
            EXPECT_NE(root_ + "EXE\\a.dll", name);
    }
    EXPECT_NE(-1, IndexOf(" Файл не изменялся, восстановление не требуется: " + root_ + "EXE\\a.dll ...ОК"));
    EXPECT_EQ(faReadOnly, FileGetAttr(root_ + "EXE\\a.dll") & faReadOnly);
    FileSetAttr(root_ + "EXE\\a.dll", 0);

    // Equal size and sum are not equal bytes: two aligned words swapped keep both.
    const std::string words = "AAAABBBBCCCC";
    form_.ProductMutex[0].Close();
    TForm1 again(nullptr);
    Ready(again);
    journal_.clear();
    WriteBytes(root_ + "EXE\\a.dll", words);
    Cmd(ejc_Start, JournalStartText);
    Backup("EXE\\a.dll", "BBBBAAAACCCC");
    SaveJournal();
    TPromptScript script;
    EXPECT_TRUE(again.RollBack());
    EXPECT_EQ(words, ReadBytes(root_ + "EXE\\a.dll"));
}

TEST_F(RollBack, RestoredFilesGetBackTheAttributesTheirBackupsKept)
{
    const int kept = faHidden | faReadOnly | faSysFile;
    for (const std::string &left : {std::string("patched"), Original1}) {
        // The run changed the file (it is a new plain file now), or a rollback stopped after it had
        // copied the bytes back and before it gave back the attributes.
        SCOPED_TRACE(left);
        journal_.clear();
        FileSetAttr(root_ + "EXE\\a.dll", 0);
        WriteBytes(root_ + "EXE\\a.dll", Original1);
        Cmd(ejc_Start, JournalStartText);
        Backup("EXE\\a.dll", left);
        const AnsiString backup = temp_ + "BAK0\\EXE\\a.dll";
        ASSERT_EQ(0, FileSetAttr(backup, kept));
        SaveJournal();
        TPromptScript script;
        TForm1 form(nullptr);
        Ready(form);
        EXPECT_TRUE(form.RollBack());
        EXPECT_EQ(Original1, ReadBytes(root_ + "EXE\\a.dll"));
        // Wine keeps the archive attribute on every file; Windows gives it back as the backup has it.
        EXPECT_EQ(FileGetAttr(backup) & KeptFileAttributes, FileGetAttr(root_ + "EXE\\a.dll") & KeptFileAttributes);
        EXPECT_EQ(kept, FileGetAttr(root_ + "EXE\\a.dll") & kept);
        FileSetAttr(backup, 0);
    }
}

TEST_F(RollBack, AttributesThatCannotBeGivenBackFailTheRollbackAndKeepTheJournal)
{
    WriteBytes(root_ + "EXE\\a.dll", Original1);
    Cmd(ejc_Start, JournalStartText);
    Backup("EXE\\a.dll", "patched");
    ASSERT_EQ(0, FileSetAttr(temp_ + "BAK0\\EXE\\a.dll", faHidden));
    SaveJournal();
    TPromptScript script;
    {
        FailFileOps refuse([](uint64_t, TFileOp kind, const AnsiString &) {
            return kind == TFileOp::Attributes ? SysErrorAccessDenied : 0u;
        });
        EXPECT_FALSE(form_.RollBack());
    }
    EXPECT_NE(-1,
              IndexOf("Произошла аварийная ситуация Не удалось восстановить атрибуты файла " + root_ + "EXE\\a.dll"));
    EXPECT_TRUE(FileExists(form_.JournalPath));
    // The next attempt gives them back; the bytes are there already.
    form_.ProductMutex[0].Close();
    TForm1 again(nullptr);
    Ready(again);
    EXPECT_TRUE(again.RollBack());
    EXPECT_EQ(Original1, ReadBytes(root_ + "EXE\\a.dll"));
    EXPECT_EQ(faHidden, FileGetAttr(root_ + "EXE\\a.dll") & (faHidden | faReadOnly | faSysFile));
}

TEST_F(RollBack, AJournalOfAnEarlierBuildNamingTheSharedPlaceItselfRollsBackAndLeavesOtherRunsFolders)
{
    // Earlier builds worked in a drive's shared place itself; newer runs keep folders of their own there.
    temp_ = root_ + "E\\QMTUPDT.TMP\\";
    const AnsiString others = temp_ + "RUN0000ABCD\\BAK0\\EXE\\a.dll";
    WriteBytes(others, "another installation's backup");
    WriteBytes(root_ + "EXE\\a.dll", Original1);
    Cmd(ejc_Start, JournalStartText);
    Cmd(ejc_TempFolder, temp_);
    Backup("EXE\\a.dll", "patched");
    WriteBytes(temp_ + "WRK\\EXE\\a.dll", "the unpacked item");
    SaveJournal();
    TPromptScript script;
    ASSERT_TRUE(form_.RollBack());
    EXPECT_EQ(Original1, ReadBytes(root_ + "EXE\\a.dll"));
    EXPECT_FALSE(DirectoryExists(temp_ + "BAK0"));
    EXPECT_FALSE(DirectoryExists(temp_ + "WRK"));
    EXPECT_EQ("another installation's backup", ReadBytes(others));
    EXPECT_FALSE(FileExists(form_.JournalPath));
}

TEST_F(RollBack, AJournalALaterRunAppendedToIsUndoneWithTheNewestRunsSettings)
{
    // An earlier copy run, rolled back, whose temporary folder could not be removed: its journal stayed,
    // ended, and the next run appended to it. A user's file now lies where that copy was.
    const AnsiString oldCopy = root_ + "Old\\QMT5_311\\";
    WriteBytes(oldCopy + "EXE\\qmt.exe", "a user's file");
    const AnsiString oldTemp = root_ + "Old\\QMTUPDTM.TMP\\";  // as an earlier build named it
    WriteBytes(oldTemp + "WRK\\qmt.exe", "the earlier run's work file");
    Cmd(ejc_Start, JournalStartText);
    Cmd(ejc_Variant, "1");
    Cmd(ejc_CopyFolder, oldCopy);
    Created(oldCopy + "EXE\\qmt.exe");
    Cmd(ejc_TempFolder, root_ + "Old\\QMTUPDTM.TMP\\");
    Cmd(ejc_Variant, RolledBackVariantText);
    Cmd(ejc_End, JournalEndText);
    // The later run updates in place and is stopped half way.
    WriteBytes(root_ + "EXE\\a.dll", Original1);
    Cmd(ejc_Start, JournalStartText);
    Cmd(ejc_TempFolder, temp_);
    Backup("EXE\\a.dll", "half patched");
    SaveJournal();
    TPromptScript script;
    ASSERT_TRUE(form_.RollBack());
    EXPECT_EQ(0, form_.UpdateVariant);
    EXPECT_EQ(temp_, form_.TempFolder);
    EXPECT_EQ(Original1, ReadBytes(root_ + "EXE\\a.dll"));
    EXPECT_EQ("a user's file", ReadBytes(oldCopy + "EXE\\qmt.exe"));
    EXPECT_FALSE(DirectoryExists(temp_));
    EXPECT_FALSE(DirectoryExists(oldTemp));  // nothing would name it once the journal is gone
    EXPECT_FALSE(FileExists(form_.JournalPath));
}

TEST_F(RollBack, AFolderTheRunMadeThatCannotBeRemovedIsNamedInTheProtocol)
{
    const AnsiString made = root_ + "NEW\\";
    WriteBytes(made + "new.txt", "new");
    Cmd(ejc_Start, JournalStartText);
    Cmd(ejc_TempFolder, temp_);
    Created(made);
    Created(made + "new.txt");
    SaveJournal();
    TPromptScript script;
    FailFileOps held([&](uint64_t, TFileOp kind, const AnsiString &name) {
        return kind == TFileOp::RemoveFolder && AnsiSameText(name, ExcludeTrailingBackslash(made))
                   ? SysErrorAccessDenied
                   : 0u;
    });
    ASSERT_TRUE(form_.RollBack());
    EXPECT_FALSE(FileExists(made + "new.txt"));
    EXPECT_TRUE(Logged(" Папка, созданная обновлением, не удалена: " + made));
}

TEST_F(RollBack, ACopyRunsShortcutSavedOverAFileInsideTheInstallationIsPutBackAndNothingElseThere)
{
    // The user's desktop lies inside the installation; the copy's link was saved over a file there.
    const AnsiString copy = root_ + "Copies\\QMT5_311\\";
    const AnsiString link = root_ + "Desktop\\QMT5_311.LNK";
    WriteBytes(link, "the user's own file");
    WriteBytes(root_ + "EXE\\a.dll", Original1);
    Cmd(ejc_Start, JournalStartText);
    Cmd(ejc_Variant, "1");
    Cmd(ejc_CopyFolder, copy);
    Cmd(ejc_TempFolder, temp_);
    Backup("EXE\\a.dll", "changed");  // a backup naming the installation is never undone by a copy's rollback
    const AnsiString backup = temp_ + "LNK\\QMT5_311.LNK";
    WriteBytes(backup, ReadBytes(link));
    uint32_t sum = 0;
    uint64_t size = 0;
    ASSERT_TRUE(ChecksumFile(backup, sum, size));
    Cmd(ejc_Backup, link + "<" + backup + FormatChecksum(sum) + FormatChecksum(static_cast<uint32_t>(size)));
    WriteBytes(link, "the link to the copy");
    SaveJournal();
    TPromptScript script;
    ASSERT_TRUE(form_.RollBack());
    EXPECT_EQ("the user's own file", ReadBytes(link));
    EXPECT_EQ("changed", ReadBytes(root_ + "EXE\\a.dll"));
    EXPECT_FALSE(FileExists(form_.JournalPath));
}

TEST_F(RollBack, AFolderTheRunMadeGoesOnlyWithWhatTheRunPutThereAndADrivesRootNever)
{
    // A run of an earlier build journaled the root of a stick that was not plugged in as a folder it
    // made; the stick is plugged in at the rollback.
    TScopedDrive stick;
    WriteBytes(root_ + "stick\\photo.jpg", "a photo");
    WriteBytes(root_ + "stick\\Копии\\notes.txt", "the user's notes");
    ASSERT_TRUE(stick.Plug(root_ + "stick\\"));
    Cmd(ejc_Start, JournalStartText);
    Created(stick.Root());
    Created(stick.Root() + "Копии");
    // A new folder of the update with its file; the user put a file of their own into it since.
    Created(root_ + "NEW");
    Created(root_ + "NEW\\SUB");
    Created(root_ + "NEW\\SUB\\new.txt");
    WriteBytes(root_ + "NEW\\SUB\\new.txt", "the update's file");
    WriteBytes(root_ + "NEW\\mine.txt", "the user's file");
    SaveJournal();
    TPromptScript script;
    ASSERT_TRUE(form_.RollBack());
    EXPECT_EQ("a photo", ReadBytes(stick.Root() + "photo.jpg"));
    EXPECT_EQ("the user's notes", ReadBytes(stick.Root() + "Копии\\notes.txt"));
    EXPECT_FALSE(DirectoryExists(root_ + "NEW\\SUB"));
    EXPECT_EQ("the user's file", ReadBytes(root_ + "NEW\\mine.txt"));
    EXPECT_GE(IndexOf(" Папка не удалена, в ней есть то, что не создано обновлением: " + root_ + "NEW"), 0);
    EXPECT_TRUE(Logged("     " + root_ + "NEW\\mine.txt"));
    EXPECT_FALSE(FileExists(form_.JournalPath));
}

TEST_F(RollBack, ACopysEmptyFolderThatCannotBeRemovedFailsTheRollbackAndKeepsTheJournal)
{
    const AnsiString copy = root_ + "QMT5_311\\";
    ForceDirectories(copy + "EXE");
    Cmd(ejc_Start, JournalStartText);
    Cmd(ejc_Variant, "1");
    Cmd(ejc_CopyFolder, copy);
    Created(copy + "EXE\\");
    SaveJournal();
    TPromptScript script;
    {
        FailFileOps held([&](uint64_t, TFileOp kind, const AnsiString &name) {
            return kind == TFileOp::RemoveFolder && AnsiSameText(name, ExcludeTrailingBackslash(copy))
                       ? SysErrorAccessDenied
                       : 0u;
        });
        TForm1 first(nullptr);  // holds the product's mutex while it lives
        Ready(first);
        EXPECT_FALSE(first.RollBack());
        bool logged = false;
        for (int i = 0; i < first.LsBx_Prot->Items()->Count(); ++i)
            logged = logged || first.LsBx_Prot->Items()->Strings(i) == " Не удалось удалить копию ЦМТ " + copy;
        EXPECT_TRUE(logged);
    }
    EXPECT_TRUE(DirectoryExists(copy));
    EXPECT_TRUE(FileExists(form_.JournalPath));  // offered again at the next start

    TForm1 again(nullptr);
    Ready(again);
    EXPECT_TRUE(again.RollBack());
    EXPECT_FALSE(DirectoryExists(copy));
    EXPECT_FALSE(FileExists(form_.JournalPath));
}
