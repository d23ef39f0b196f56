// Choosing the temporary folder with made-up drives, folder choices and run steps.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "tests/support/RecordingLog.h"
#include "update/variant/FreeSpace.h"

namespace {

constexpr uint64_t GiB = 1024ull * 1024 * 1024;

struct MadeUpDrive {
    bool fixed = true;
    uint64_t free = 0;
    std::optional<uint32_t> delay;  // none: the speed test fails
};

class MadeUpDrives : public IDriveQueries {
public:
    std::map<char, MadeUpDrive> drives;
    AnsiString windows = "C:\\WINDOWS";
    std::vector<AnsiString> tested;

    uint32_t LogicalDriveMask() override
    {
        uint32_t mask = 0;
        for (auto &[letter, d] : drives)
            mask |= 1u << (letter - 'A');
        return mask;
    }
    AnsiString WindowsFolder() override { return windows; }
    bool IsFixedDrive(const AnsiString &root) override { return drives.at(root[0]).fixed; }
    uint64_t FreeBytes(const AnsiString &folder) override { return drives.at(folder[0]).free; }
    bool TestSpeed(const AnsiString &root, sDskNfo &info) override
    {
        tested.push_back(root);
        const MadeUpDrive &d = drives.at(root[0]);
        if (!d.delay)
            return false;
        info.Delay = *d.delay;
        return true;
    }
};

char Pick(MadeUpDrives &drives, uint64_t C, uint64_t B, const AnsiString &product = "D:\\QMT\\")
{
    RecordingLog log;
    char drive = '?';
    return PickTempDrive(C, B, product, drives, log, drive) ? drive : '\0';
}

}  // namespace

TEST(DiskNfo, ComparesFreeBytesBeyondFourGibibytes)
{
    sDskNfo big{'E', 5 * GiB, 0}, small{'F', 3 * GiB, 0};
    EXPECT_EQ(CompareDiskNfo(big, small), 1);
    EXPECT_EQ(CompareDiskNfo(small, big), 0);
    EXPECT_EQ(CompareDiskNfo(big, big), 0);
}

TEST(DiskNfo, SpeedTestDelayReadsMinutesSecondsAndMillisecondsAsOneNumber)
{
    EXPECT_EQ(SpeedTestDelay(62345), 102345u);  // 1 min 2.345 s: 01 02 345
    EXPECT_EQ(SpeedTestDelay(0), 0u);
    EXPECT_EQ(SpeedTestDelay(7), 7u);
    EXPECT_EQ(SpeedTestDelay(59999), 59999u);
    EXPECT_EQ(SpeedTestDelay(60000), 100000u);
    EXPECT_EQ(SpeedTestDelay(3599999), 5959999u);
}

TEST(PickTempDrive, SkipsDrivesThatAreNotFixedOrLackRoomOrFailTheTest)
{
    MadeUpDrives d;
    d.drives['A'] = {false, 100 * GiB, 1};
    d.drives['E'] = {true, 10, 1};          // too small
    d.drives['F'] = {true, 100 * GiB, {}};  // speed test fails
    EXPECT_EQ(Pick(d, 0, 1000), '\0');
    EXPECT_EQ(d.tested, std::vector<AnsiString>{"F:\\"});  // only a drive with room is tested

    d.drives['G'] = {true, 1000, 9};
    EXPECT_EQ(Pick(d, 0, 1000), 'G');  // exactly B is room enough
}

TEST(PickTempDrive, ProductDriveNeedsGrowthAndTemporaryBytes)
{
    MadeUpDrives d;
    d.drives['D'] = {true, 1500, 1};
    EXPECT_EQ(Pick(d, 600, 1000), '\0');
    EXPECT_EQ(Pick(d, 500, 1000), 'D');
    // The same room on another drive needs B only.
    d.drives.clear();
    d.drives['E'] = {true, 1000, 1};
    EXPECT_EQ(Pick(d, 600, 1000), 'E');
}

TEST(PickTempDrive, FastestWinsAndEqualDelaysPreferFewerFreeBytes)
{
    MadeUpDrives d;
    d.drives['E'] = {true, 9 * GiB, 50};
    d.drives['F'] = {true, 6 * GiB, 50};
    d.drives['G'] = {true, 5 * GiB + 1, 70};
    EXPECT_EQ(Pick(d, 0, 1), 'F');
    d.drives['H'] = {true, 20 * GiB, 49};
    EXPECT_EQ(Pick(d, 0, 1), 'H');
}

TEST(PickTempDrive, WindowsDriveOnlyWhenItIsTheSingleCandidate)
{
    MadeUpDrives d;
    d.windows = "c:\\windows";
    d.drives['C'] = {true, 100 * GiB, 1};
    d.drives['E'] = {true, 1 * GiB, 900};
    EXPECT_EQ(Pick(d, 0, 1), 'E');
    d.drives.erase('E');
    EXPECT_EQ(Pick(d, 0, 1), 'C');

    // Without a known Windows folder no drive is held back.
    d.windows = "";
    d.drives['E'] = {true, 1 * GiB, 900};
    EXPECT_EQ(Pick(d, 0, 1), 'C');
}

TEST(PickTempDrive, LogsTheWindowsFolderAndEachFixedDrive)
{
    MadeUpDrives d;
    d.drives['B'] = {false, 0, 1};
    d.drives['E'] = {true, 10, 1};
    RecordingLog log;
    char drive = 0;
    EXPECT_FALSE(PickTempDrive(0, 100, "D:\\Q\\", d, log, drive));
    EXPECT_EQ(log.Lines, (std::vector<AnsiString>{"i: Папка с ОС:C:\\WINDOWS", "Рассматривается диск E:\\"}));
}

TEST(ChooseFolderWithSpace, PickedFolderOnTheProductDriveNeedsGrowthToo)
{
    EXPECT_EQ(PickedFolderNeed("d:\\x\\", 7 * GiB, 2 * GiB, 'D'), 9 * GiB);
    EXPECT_EQ(PickedFolderNeed("E:\\x\\", 7 * GiB, 2 * GiB, 'D'), 2 * GiB);
}

namespace {
struct ScriptedChoice {
    std::vector<std::optional<AnsiString>> browse;  // none: cancelled
    std::map<char, uint64_t> free;
    std::vector<bool> again;
    std::vector<std::pair<uint64_t, uint64_t>> asked;
    int browsed = 0;

    TFolderChoice Choice()
    {
        TFolderChoice c;
        c.Browse = [this](const AnsiString &title, AnsiString &path) {
            EXPECT_EQ(title, "Заголовок");
            auto answer = browse.at(browsed++);
            if (!answer)
                return false;
            path = *answer;
            return true;
        };
        c.FreeBytes = [this](const AnsiString &folder) { return free.at(folder[0]); };
        c.AskChooseAgain = [this](uint64_t f, uint64_t n) {
            asked.emplace_back(f, n);
            bool yes = again.at(asked.size() - 1);
            return yes;
        };
        return c;
    }
};
}  // namespace

TEST(ChooseFolderWithSpace, AsksAgainUntilAFolderHasRoom)
{
    ScriptedChoice s;
    s.browse = {AnsiString("D:\\Work"), AnsiString(""), AnsiString("E:\\Tmp")};
    s.free = {{'D', 8 * GiB}, {'E', 2 * GiB}};
    s.again = {true};
    EXPECT_EQ(ChooseFolderWithSpace("Заголовок", 7 * GiB, 2 * GiB, 'D', s.Choice()), "E:\\Tmp\\");
    // The question shows the true 64-bit figures.
    ASSERT_EQ(s.asked.size(), 1u);
    EXPECT_EQ(s.asked[0], std::make_pair(8 * GiB, 9 * GiB));
    EXPECT_EQ(s.browsed, 3);  // the item without a path was browsed again
}

TEST(ChooseFolderWithSpace, GivingUpGivesNoFolder)
{
    ScriptedChoice cancelled;
    cancelled.browse = {std::nullopt};
    EXPECT_EQ(ChooseFolderWithSpace("Заголовок", 1, 1, 'D', cancelled.Choice()), "");

    ScriptedChoice refused;
    refused.browse = {AnsiString("E:\\")};
    refused.free = {{'E', 1}};
    refused.again = {false};
    EXPECT_EQ(ChooseFolderWithSpace("Заголовок", 0, 2, 'D', refused.Choice()), "");
    EXPECT_EQ(refused.asked.size(), 1u);
}

namespace {
struct RunSteps {
    uint64_t productFree = 0;
    std::optional<char> scanned;  // none: no drive found
    AnsiString chosen;            // the user's folder ("" gives up)
    bool journalOk = true;
    std::vector<AnsiString> calls;
    std::vector<AnsiString> commands;
    uint64_t chooseC = 0, chooseB = 0;
    char chooseDrive = 0;

    TFreeSpaceSteps Steps()
    {
        TFreeSpaceSteps s;
        s.FreeBytes = [this](const AnsiString &) { return productFree; };
        s.RemoveTempFolder = [this](const AnsiString &f) { calls.push_back("remove " + f); };
        s.RunFolderIn = [](const AnsiString &shared) { return shared + "RUN1\\"; };
        s.ScanDrives = [this](uint64_t, uint64_t, char &drive) {
            calls.push_back("scan");
            if (scanned)
                drive = *scanned;
            return scanned.has_value();
        };
        s.ChooseFolder = [this](const AnsiString &title, uint64_t C, uint64_t B, char productDrive) {
            calls.push_back("choose " + title);
            chooseC = C;
            chooseB = B;
            chooseDrive = productDrive;
            return chosen;
        };
        s.LogCmd = [this](int32_t code, const AnsiString &text) {
            commands.push_back(std::to_string(code) + " " + text);
            return journalOk;
        };
        return s;
    }
};

bool RunCheck(RunSteps &r, uint64_t C, uint64_t B, bool problems, AnsiString &temp, RecordingLog &log,
              const AnsiString &product = "d:\\QMT\\")
{
    return CheckFreeSpace(product, C, B, problems, temp, log, r.Steps());
}
}  // namespace

TEST(CheckFreeSpace, FreeExactlyTheGrowthPassesButNeedsAnotherPlaceForTemporaryFiles)
{
    RunSteps r;
    r.productFree = 10 * GiB;
    r.scanned = 'E';
    RecordingLog log;
    AnsiString temp;
    EXPECT_TRUE(RunCheck(r, 10 * GiB, 0, false, temp, log));
    EXPECT_EQ(temp, "E:\\QMTUPDT.TMP\\RUN1\\");
    EXPECT_EQ(r.commands, std::vector<AnsiString>{"8 E:\\QMTUPDT.TMP\\RUN1\\"});
    EXPECT_EQ(log.Lines[2], "Папка ЦМТ (размер после обновления) ...ОК");
}

TEST(CheckFreeSpace, FreeExactlyGrowthPlusTemporaryIsNotEnoughForTheProductFolder)
{
    RunSteps r;
    r.productFree = 6 * GiB;
    r.scanned = 'F';
    RecordingLog log;
    AnsiString temp;
    EXPECT_TRUE(RunCheck(r, 5 * GiB, 1 * GiB, false, temp, log));
    EXPECT_EQ(temp, "F:\\QMTUPDT.TMP\\RUN1\\");

    RunSteps roomy;
    roomy.productFree = 6 * GiB + 1;
    AnsiString temp2;
    RecordingLog log2;
    EXPECT_TRUE(RunCheck(roomy, 5 * GiB, 1 * GiB, false, temp2, log2));
    EXPECT_EQ(temp2, "d:\\QMT\\QMTUPDTA.TMP\\");
    EXPECT_TRUE(roomy.calls.empty());
    EXPECT_EQ(roomy.commands, std::vector<AnsiString>{"8 d:\\QMT\\QMTUPDTA.TMP\\"});
}

TEST(CheckFreeSpace, TooLittleForTheGrowthFailsWithTheTrueFigureAndJournalsNothing)
{
    RunSteps r;
    r.productFree = 5 * GiB;
    RecordingLog log;
    AnsiString temp;
    EXPECT_FALSE(RunCheck(r, 5 * GiB + 1, 0, false, temp, log));
    EXPECT_EQ(log.Lines.back(), "НЕДОСТАТОЧНО МЕСТА, необходимо освободить минимум 5368709121 байт");
    EXPECT_TRUE(r.commands.empty());
    EXPECT_TRUE(temp.empty());
}

TEST(CheckFreeSpace, AfterLastRunProblemsTheUserPicksWithoutAScan)
{
    RunSteps r;
    r.productFree = 10;
    r.scanned = 'E';
    r.chosen = "G:\\Work";
    RecordingLog log;
    AnsiString temp;
    EXPECT_TRUE(RunCheck(r, 4, 7, true, temp, log));
    EXPECT_EQ(r.calls, std::vector<AnsiString>{"choose Выбор папки для временных файлов"});
    EXPECT_EQ(temp, "G:\\Work\\QMTUPDTM.TMP\\RUN1\\");
    EXPECT_EQ(r.chooseC, 4u);
    EXPECT_EQ(r.chooseB, 7u);
    EXPECT_EQ(r.chooseDrive, 'D');
    EXPECT_NE(std::find(log.Lines.begin(), log.Lines.end(),
                        "В связи с проблемами прошлого запуска Вы должны выбрать папку вручную"),
              log.Lines.end());
}

TEST(CheckFreeSpace, NoDriveFoundTellsTheNeedsThenTheUserPicksOrGivesUp)
{
    RunSteps r;
    r.productFree = 6 * GiB;
    RecordingLog log;
    AnsiString temp;
    EXPECT_FALSE(RunCheck(r, 5 * GiB, 3 * GiB, false, temp, log));
    EXPECT_EQ(r.calls, (std::vector<AnsiString>{"scan", "choose Выбор папки для временных файлов"}));
    const std::vector<AnsiString> tail(log.Lines.end() - 7, log.Lines.end());
    EXPECT_EQ(tail, (std::vector<AnsiString>{
                        "В папке ЦМТ недостаточно места. Выбор папки для временных файлов. ...Были ошибки",
                        "Недостаточно места на диске(дисках)",
                        "Попробуйте освободить место и задать папку вручную",
                        "Требуется: ",
                        "Если выбран диск \"d\" - 8589934592 байт",
                        "Если другой - 3221225472 байт",
                        "Пользователь оказался от выбора",
                    }));
    EXPECT_TRUE(r.commands.empty());
    EXPECT_TRUE(temp.empty());

    RunSteps picked;
    picked.productFree = 6 * GiB;
    picked.chosen = "E:\\T\\";
    AnsiString temp2;
    EXPECT_TRUE(RunCheck(picked, 5 * GiB, 3 * GiB, false, temp2, log));
    EXPECT_EQ(temp2, "E:\\T\\QMTUPDTM.TMP\\RUN1\\");
    EXPECT_EQ(picked.commands, std::vector<AnsiString>{"8 E:\\T\\QMTUPDTM.TMP\\RUN1\\"});
}

TEST(CheckFreeSpace, ClearsAndRemovesATemporaryFolderLeftFromEarlier)
{
    RunSteps r;
    r.productFree = 100;
    RecordingLog log;
    AnsiString temp = "E:\\QMTUPDT.TMP\\";
    EXPECT_TRUE(RunCheck(r, 1, 1, false, temp, log));
    EXPECT_EQ(r.calls, std::vector<AnsiString>{"remove E:\\QMTUPDT.TMP\\"});
    EXPECT_EQ(temp, "d:\\QMT\\QMTUPDTA.TMP\\");
}

TEST(CheckFreeSpace, AChoiceThatCannotBeJournaledFailsTheStep)
{
    RunSteps r;
    r.productFree = 100;
    r.journalOk = false;
    RecordingLog log;
    AnsiString temp;
    EXPECT_FALSE(RunCheck(r, 1, 1, false, temp, log));
    EXPECT_TRUE(temp.empty());
}

TEST(RunTempFolder, EachRunKeepsItsFilesInAFolderOfItsOwnInsideTheSharedPlace)
{
    std::set<AnsiString> existing;
    const auto exists = [&](const AnsiString &f) { return existing.count(f) != 0; };
    const AnsiString a = RunTempFolder("E:\\QMTUPDT.TMP\\", "D:\\A\\qmt_3.1.1.txt", exists);
    const AnsiString b = RunTempFolder("E:\\QMTUPDT.TMP", "D:\\B\\qmt_3.1.1.txt", exists);
    EXPECT_EQ(a.substr(0, 18), "E:\\QMTUPDT.TMP\\RUN");
    EXPECT_EQ(a.size(), 27u);
    EXPECT_EQ(a.back(), '\\');
    EXPECT_NE(a, b);
    // The same journal in another letter case is the same run; a folder that is there already is
    // someone's, and the next name is taken.
    EXPECT_EQ(a, RunTempFolder("E:\\QMTUPDT.TMP\\", "d:\\a\\QMT_3.1.1.TXT", exists));
    existing.insert(a);
    const AnsiString next = RunTempFolder("E:\\QMTUPDT.TMP\\", "D:\\A\\qmt_3.1.1.txt", exists);
    EXPECT_NE(next, a);
    EXPECT_EQ(next.substr(0, 18), "E:\\QMTUPDT.TMP\\RUN");
}

TEST(RunTempFolder, SharedPlacesAndWhatEarlierBuildsMadeInThem)
{
    for (const char *shared : {"E:\\QMTUPDT.TMP\\", "e:\\qmtupdt.tmp", "G:\\Work\\QMTUPDTM.TMP\\"})
        EXPECT_TRUE(IsSharedTempFolder(shared)) << shared;
    for (const char *own : {"E:\\QMTUPDT.TMP\\RUN0000001F\\", "D:\\QMT\\QMTUPDTA.TMP\\", "E:\\", ""})
        EXPECT_FALSE(IsSharedTempFolder(own)) << own;
    for (const char *entry : {"WRK", "lnk", "BAK0", "BAK12"})
        EXPECT_TRUE(EarlierRunsEntry(entry)) << entry;
    for (const char *entry : {"BAK", "BAK1a", "RUN0000001F", "Мои файлы", "WRK2"})
        EXPECT_FALSE(EarlierRunsEntry(entry)) << entry;
}
