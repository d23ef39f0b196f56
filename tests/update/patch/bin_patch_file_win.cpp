#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "framework/runtime/Classes.h"
#include "framework/runtime/Kernel.h"
#include "framework/runtime/SysUtils.h"
#include "tests/support/KillAtFileOp.h"
#include "tests/support/PatchWriter.h"
#include "tests/support/RecordingLog.h"
#include "tests/support/TempFolder.h"
#include "update/patch/BinPatchFile.h"
#include "update/journal/JournalLine.h"
#include "update/run/uMain.h"

namespace {

using Lines = std::vector<AnsiString>;

std::string RandomText(std::size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::string s(n, '\0');
    for (auto &c : s)
        c = static_cast<char>(rng());
    return s;
}

std::string Patch(const std::string &oldBytes, const std::string &newBytes)
{
    const auto p = WritePatch({reinterpret_cast<const std::uint8_t *>(oldBytes.data()), oldBytes.size()},
                              {reinterpret_cast<const std::uint8_t *>(newBytes.data()), newBytes.size()});
    return std::string(p.begin(), p.end());
}

std::string Encoded(const PatchImage &image)
{
    const auto p = EncodePatch(image);
    return std::string(p.begin(), p.end());
}

class PatchFiles : public ::testing::Test {
protected:
    PatchFiles() : oldName(dir / "old.dat"), outName(dir / "new.dat"), patchName(dir / "patch.bdt") {}

    bool Apply(const AnsiString &oldFile, const AnsiString &patchFile)
    {
        return ApplyPatchFiles(log, oldFile, outName, patchFile,
                               [this](int position, int maximum) { progress.emplace_back(position, maximum); });
    }
    bool Apply() { return Apply(oldName, patchName); }

    TempFolder dir;
    AnsiString oldName, outName, patchName;
    RecordingLog log;
    std::vector<std::pair<int, int>> progress;
};

TEST_F(PatchFiles, BuildsTheNewFileAndLogsNothing)
{
    const std::string a = RandomText(5000, 1), b = RandomText(3000, 2);
    const std::string oldBytes = a + b, newBytes = b + a.substr(100, 2000) + RandomText(77, 3) + a + RandomText(9, 4);
    WriteWholeFile(oldName, oldBytes);
    WriteWholeFile(patchName, Patch(oldBytes, newBytes));
    WriteWholeFile(outName, RandomText(20000, 5));  // a longer file in the way is replaced exactly
    ASSERT_TRUE(Apply());
    EXPECT_EQ(ReadWholeFile(outName), newBytes);
    EXPECT_TRUE(log.Lines.empty());
    EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));
    // The inputs stay as they were.
    EXPECT_EQ(ReadWholeFile(oldName), oldBytes);
}

TEST_F(PatchFiles, MissingInputsAreNamed)
{
    WriteWholeFile(patchName, Patch("abc", "abcabc"));
    EXPECT_FALSE(Apply());
    EXPECT_EQ(log.Lines, (Lines{"#26 Невозможно открыть файл", oldName}));

    log.Lines.clear();
    WriteWholeFile(oldName, "abc");
    EXPECT_FALSE(Apply(oldName, dir / "missing.bdt"));
    EXPECT_EQ(log.Lines, (Lines{"#26 Невозможно открыть файл", dir / "missing.bdt"}));
    EXPECT_FALSE(FileExists(outName));
}

TEST_F(PatchFiles, EmptyFilesCannotBeMapped)
{
    WriteWholeFile(oldName, "");
    WriteWholeFile(patchName, Patch("", "new bytes"));
    EXPECT_FALSE(Apply());
    EXPECT_EQ(log.Lines, (Lines{"#26 Невозможно создать hMapIn мэппинг"}));
    EXPECT_FALSE(FileExists(outName));

    log.Lines.clear();
    WriteWholeFile(oldName, "old bytes");
    WriteWholeFile(patchName, Patch("old bytes", ""));
    EXPECT_FALSE(Apply());
    EXPECT_EQ(log.Lines, (Lines{"#26 Невозможно создать hMapOut мэппинг"}));
    EXPECT_FALSE(FileExists(outName));  // the created output is removed again
}

TEST_F(PatchFiles, BrokenPatchesAreRefusedBeforeTheOutputIsTouched)
{
    const std::string oldBytes = RandomText(100, 6);
    WriteWholeFile(oldName, oldBytes);
    const std::vector<std::pair<std::string, AnsiString>> cases = {
        {Encoded({.newSize = 10, .steps = {{0, 0, 10}}}).substr(0, 29),
         "#26 Неверный патч: таблица шагов выходит за конец файла"},
        {Encoded({.newSize = 10, .steps = {{95, 0, 6}}}),
         "#26 Неверный патч: копирование за концом старого файла (шаг 1)"},
        {Encoded({.newSize = 10, .steps = {{-1, 0, 1}}}),
         "#26 Неверный патч: позиция чтения вне старого файла (шаг 1)"},
        {Encoded({.newSize = 10, .steps = {{0, 3, 3}}, .data = {1, 2, 3}}),
         "#26 Неверный патч: не хватает данных для конца файла"},
        {"BDT", "#26 Неверный патч: файл короче заголовка"},
    };
    for (const auto &[patch, line] : cases) {
        SCOPED_TRACE(line);
        WriteWholeFile(outName, "what was there");
        WriteWholeFile(patchName, patch);
        log.Lines.clear();
        progress.clear();
        EXPECT_FALSE(Apply());
        EXPECT_EQ(log.Lines, Lines{line});
        EXPECT_EQ(ReadWholeFile(outName), "what was there");
        EXPECT_TRUE(progress.empty());
    }
    EXPECT_EQ(ReadWholeFile(oldName), oldBytes);
}

TEST_F(PatchFiles, LockedOutputIsLeftAlone)
{
    WriteWholeFile(oldName, "old bytes, old bytes");
    WriteWholeFile(patchName, Patch("old bytes, old bytes", "new bytes, old bytes"));
    WriteWholeFile(outName, "locked");
    {
        TFileStream lock(outName, fmOpenReadWrite | fmShareExclusive);
        EXPECT_FALSE(Apply());
    }
    EXPECT_EQ(log.Lines, (Lines{"#26 Невозможно создать файл", outName}));
    EXPECT_EQ(ReadWholeFile(outName), "locked");

    // Nor can the output replace the old file it is built from.
    log.Lines.clear();
    EXPECT_FALSE(ApplyPatchFiles(log, oldName, oldName, patchName, [](int, int) {}));
    EXPECT_EQ(log.Lines, (Lines{"#26 Невозможно создать файл", oldName}));
    EXPECT_EQ(ReadWholeFile(oldName), "old bytes, old bytes");
}

TEST_F(PatchFiles, MappingsOfAnotherUpdaterRunningAtTheSameTimeDoNotDisturbThePatch)
{
    WriteWholeFile(oldName, "old bytes, old bytes");
    WriteWholeFile(patchName, Patch("old bytes, old bytes", "new bytes, old bytes"));
    // Named as an updater of an earlier make named its mappings.
    TFileMapping otherOld, otherPatch;
    ASSERT_TRUE(otherOld.MapMemory(4096, "hMapInFl"));
    ASSERT_TRUE(otherPatch.MapMemory(4096, "PtchFile"));
    EXPECT_TRUE(Apply());
    EXPECT_EQ(ReadWholeFile(outName), "new bytes, old bytes");
}

TEST_F(PatchFiles, MainWindowMemberShowsProgressAndLogsFailures)
{
    TForm1 form(nullptr);
    WriteWholeFile(oldName, "old bytes, old bytes");
    WriteWholeFile(patchName, Patch("old bytes, old bytes", "new bytes, old bytes, old"));
    ASSERT_TRUE(form.ApplyPatchMapped(oldName, outName, patchName));
    EXPECT_EQ(ReadWholeFile(outName), "new bytes, old bytes, old");
    EXPECT_EQ(form.PrBar->Max(), 3);
    EXPECT_EQ(form.PrBar->Position(), 3);
    EXPECT_EQ(form.LsBx_Prot->Items()->Count(), 0);

    EXPECT_FALSE(form.ApplyPatchMapped(dir / "missing.dat", outName, patchName));
    ASSERT_EQ(form.LsBx_Prot->Items()->Count(), 2);
    EXPECT_EQ(form.LsBx_Prot->Items()->Strings(0), AnsiString(ProtocolText(26)) + " Невозможно открыть файл");
    EXPECT_NE(form.LsBx_Prot->Items()->Strings(1).find(dir / "missing.dat"), AnsiString::npos);
}

}  // namespace

TEST_F(PatchFiles, KilledAtItsFileChangesItLeavesTheFilesAsTheyStand)
{
    const std::string oldBytes = RandomText(4000, 7), newBytes = RandomText(3000, 8) + oldBytes;
    WriteWholeFile(oldName, oldBytes);
    WriteWholeFile(patchName, Patch(oldBytes, newBytes));
    {
        KillAtFileOp count;
        ASSERT_TRUE(Apply());
        EXPECT_EQ(count.PassedKinds(), (std::vector<TFileOp>{TFileOp::Create, TFileOp::Map, TFileOp::Resize}));
    }
    DeleteFile(outName);
    {
        KillAtFileOp kill(1);
        EXPECT_THROW(Apply(), TEngineKilled);
        EXPECT_FALSE(FileExists(outName));
    }
    {
        KillAtFileOp kill(2);
        EXPECT_THROW(Apply(), TEngineKilled);
        EXPECT_EQ(ReadWholeFile(outName), "");  // created, nothing mapped: a dead program cleans nothing up
    }
    EXPECT_TRUE(log.Lines.empty());
    EXPECT_EQ(ReadWholeFile(oldName), oldBytes);
}
