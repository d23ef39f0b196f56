// Two corrections of different versions on one installation: each names its journal after its own new
// version, and both keep their backups in the product folder's one temporary folder. A run of the one
// that finds the other's run stopped rolls that back first, or changes nothing at all.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/runtime/SysUtils.h"
#include "framework/windows/PromptScript.h"
#include "tests/support/EveryItemUpdate.h"
#include "tests/support/InstallationBuilder.h"
#include "tests/support/KillAtFileOp.h"
#include "tests/support/TempFolder.h"
#include "update/apply/FileOps.h"
#include "update/run/uMain.h"

namespace {

const char *const UpdaterA = "qmtupdt.exe";    // to 3.1.1.5
const char *const UpdaterB = "qmtupdt_6.exe";  // to 3.1.1.6

class OtherVersionJournal : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = MakeTestFolder("qmt_other_version");
        update_ = MakeEveryItemUpdate(0);
        const std::vector<uint8_t> a = update_.Payload.Build().Bytes;
        update_.Payload.NewVersion = "3.1.1.6";
        const std::vector<uint8_t> b = update_.Payload.Build().Bytes;
        a_.assign(a.begin(), a.end());
        b_.assign(b.begin(), b.end());
        Install();
        old_ = Installation();
    }
    void TearDown() override { RemoveTree(ExcludeTrailingBackslash(root_)); }

    void Install()
    {
        RemoveTree(ExcludeTrailingBackslash(root_));
        ForceDirectories(root_);
        BuildInstallation(root_, update_.Installation);
        WriteTree(root_, update_.OldFiles);
        WriteWholeFile(root_ + UpdaterA, a_);
        WriteWholeFile(root_ + UpdaterB, b_);
    }

    // Everything in the product folder (journals and the temporary folder included) but the updaters
    // and the protocols they save there.
    TestTree Installation() const
    {
        TestTree tree = ReadTree(root_);
        tree.erase(UpdaterA);
        tree.erase(UpdaterB);
        std::erase_if(tree, [](const auto &entry) { return entry.first.rfind("Протокол_", 0) == 0; });
        return tree;
    }

    // One start of an updater, its prompts answered in turn; returns its protocol and the message ids
    // of the prompts it showed.
    std::vector<AnsiString> Start(const char *updater, std::vector<int> answers, std::vector<int> *ids = nullptr)
    {
        TPromptScript script;
        for (int answer : answers)
            script.Answer(answer);
        TForm1 form(nullptr);
        form.SelfPath = root_ + updater;
        form.FormActivate(&form);
        if (ids) {
            ids->clear();
            for (const TPrompt &prompt : script.Seen()) {
                const size_t at = prompt.Text.find("(msgid №");
                ids->push_back(at == AnsiString::npos ? 3003 : std::stoi(prompt.Text.substr(at + 8)));
            }
        }
        EXPECT_EQ(0, script.Unanswered());
        std::vector<AnsiString> lines;
        for (int i = 0; i < form.LsBx_Prot->Items()->Count(); ++i)
            lines.push_back(form.LsBx_Prot->Items()->Strings(i));
        return lines;
    }

    // A's run stopped as it writes its end line: every product file is changed, and the only copies of
    // the old ones lie in the product folder's temporary folder.
    void StopA()
    {
        static uint64_t endLine = 0;
        if (endLine == 0) {
            KillAtFileOp count;
            Start(UpdaterA, {idNo});  // 3009
            endLine = count.LastOf(TFileOp::JournalWrite);
            Install();
        }
        KillAtFileOp kill(endLine);
        EXPECT_THROW(Start(UpdaterA, {}), TEngineKilled);
        ASSERT_TRUE(FileExists(root_ + "qmt_3.1.1.5.txt"));
        ASSERT_TRUE(DirectoryExists(root_ + "QMTUPDTA.TMP"));
        ASSERT_NE(old_, Installation());
    }

    // Whether a protocol line begins with `start`.
    static bool Has(const std::vector<AnsiString> &protocol, const AnsiString &start)
    {
        return std::any_of(protocol.begin(), protocol.end(),
                           [&](const AnsiString &line) { return line.rfind(start, 0) == 0; });
    }

    AnsiString root_;
    EveryItemUpdate update_;
    std::string a_, b_;
    TestTree old_;
};

}  // namespace

TEST_F(OtherVersionJournal, RefusedItsRollbackChangesNothingAndTakenItGivesTheInstallationBackByteForByte)
{
    StopA();
    const TestTree stopped = Installation();
    std::vector<int> ids;

    Start(UpdaterB, {idNo, idOk}, &ids);
    EXPECT_EQ((std::vector<int>{3001, 5003}), ids);
    EXPECT_EQ(stopped, Installation());  // A's journal and backups as A left them; no journal of B's

    const std::vector<AnsiString> protocol = Start(UpdaterB, {idYes, idNo}, &ids);
    EXPECT_EQ((std::vector<int>{3001, 3003}), ids);
    EXPECT_TRUE(Has(protocol, "Анализ протокола " + root_ + "qmt_3.1.1.5.txt"));
    EXPECT_EQ(old_, Installation());

    // And A, started again, finds nothing to undo.
    Start(UpdaterA, {idNo}, &ids);  // 3009
    EXPECT_EQ(std::vector<int>{3009}, ids);
}

TEST_F(OtherVersionJournal, RolledBackTheRunGoesOnToTheEnd)
{
    StopA();
    // Files of a journal's name that are no journal: the user's, left alone.
    const TestTree users = {{"qmt_notes.txt", "заметки"},
                            {"qmt_3.0.txt", "> 01.01.26 00:00:00.000*4#Запуск0000000000"}};
    WriteTree(root_, users);
    std::vector<int> ids;
    const std::vector<AnsiString> protocol = Start(UpdaterB, {idYes, idYes, idNo}, &ids);
    EXPECT_EQ((std::vector<int>{3001, 3003, 3009}), ids);
    EXPECT_TRUE(Has(protocol, " Восстановление завершено успешно"));
    EXPECT_TRUE(Has(protocol, " Программа выполнена успешно"));

    TestTree expected = old_;
    expected.insert(users.begin(), users.end());
    for (const auto &[name, bytes] : update_.Changes)
        expected[name] = bytes;
    TestTree now = Installation();
    ASSERT_TRUE(now.count("Cfg\\CFG.QMT"));
    EXPECT_EQ(0, std::string(now["Cfg\\CFG.QMT"].c_str() + 38).compare("3.1.1.6"));
    now.erase("Cfg\\CFG.QMT");
    expected.erase("Cfg\\CFG.QMT");
    EXPECT_EQ(expected, now);  // no journal and no temporary folder left either
}
