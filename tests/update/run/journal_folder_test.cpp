#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "update/apply/ApplyPlan.h"
#include "update/apply/ItemHandlers.h"
#include "update/journal/JournalLine.h"
#include "update/run/JournalFolder.h"

namespace {

using Commands = std::vector<std::pair<int, AnsiString>>;

std::vector<AnsiString> Journal(const Commands &commands)
{
    std::vector<AnsiString> lines;
    for (const auto &[code, text] : commands)
        lines.push_back(JournalCommandLine("07.12.26 10:00:00.000", code, text));
    return lines;
}

// Names that read differently are never one folder.
bool NeverSame(const AnsiString &, const AnsiString &) { return false; }

AnsiString Other(const Commands &commands, const AnsiString &folder, const TSameFolder &same = NeverSame)
{
    return OtherFolderOfJournal(JournalFolderOf(Journal(commands)), folder, same);
}

AnsiString Backup(const AnsiString &target, const AnsiString &backup)
{
    return BackupCommandText(target, backup, 7, 9);
}

}  // namespace

TEST(JournalFolder, AJournalNamingItsFolderIsThatFoldersWhateverItsOtherPathsSay)
{
    const Commands run = {{ejc_Start, JournalStartText},
                          {ejc_ProductFolder, "C:\\P\\"},
                          {ejc_TempFolder, "E:\\QMTUPDT.TMP\\RUN00000001\\"},
                          {ejc_Backup, Backup("C:\\P\\Rus\\norm.dat", "E:\\QMTUPDT.TMP\\RUN00000001\\BAK0\\norm.dat")}};
    EXPECT_EQ("", Other(run, "C:\\P\\"));
    EXPECT_EQ("", Other(run, "c:/p"));  // however the same name is written
    EXPECT_EQ("C:\\P\\", Other(run, "C:\\P2\\"));
    EXPECT_EQ("C:\\P\\", Other(run, "C:\\P\\Sub\\"));

    // Another name of the same folder (a short name, another drive onto it) is the folder.
    const TSameFolder shortName = [](const AnsiString &a, const AnsiString &b) {
        return a == "C:\\P\\" && b == "C:\\PROGRA~1\\P\\";
    };
    EXPECT_EQ("", Other(run, "C:\\PROGRA~1\\P\\", shortName));

    // The newest folder line counts; one that fails its signature tells nothing.
    std::vector<AnsiString> appended = Journal(run);
    for (const AnsiString &line :
         Journal({{ejc_End, JournalEndText}, {ejc_Start, JournalStartText}, {ejc_ProductFolder, "D:\\Q\\"}}))
        appended.push_back(line);
    EXPECT_EQ("D:\\Q\\", JournalFolderOf(appended).Named);
    appended.back()[3] = '9';
    EXPECT_EQ("C:\\P\\", JournalFolderOf(appended).Named);
}

TEST(JournalFolder, AnEarlierBuildsJournalIsToldByItsTemporaryFolderAndTheFilesItBackedUp)
{
    // In place, with the temporary folder in the product folder.
    const Commands inPlace = {
        {ejc_Start, JournalStartText},
        {ejc_TempFolder, "C:\\P\\QMTUPDTA.TMP\\"},
        {ejc_Backup, Backup("C:\\P\\Rus\\Data\\norm.dat", "C:\\P\\QMTUPDTA.TMP\\BAK0\\Rus\\Data\\norm.dat")},
        {ejc_Created, CreatedCommandText("C:\\P\\Rus\\new.dat", 0, 0)}};
    EXPECT_EQ("", Other(inPlace, "C:\\P\\"));
    EXPECT_EQ("", Other(inPlace, "c:\\p"));
    EXPECT_EQ("C:\\P\\", Other(inPlace, "C:\\P2\\"));

    // In place, with the temporary folder on another drive: the product files it backed up lie in it.
    const Commands elsewhere = {
        {ejc_Start, JournalStartText},
        {ejc_TempFolder, "E:\\QMTUPDT.TMP\\RUN00000001\\"},
        {ejc_Backup, Backup("C:\\P\\Rus\\Data\\norm.dat", "E:\\QMTUPDT.TMP\\RUN00000001\\BAK0\\n")},
        {ejc_Backup, Backup("C:\\P\\exe\\qmt.exe", "E:\\QMTUPDT.TMP\\RUN00000001\\BAK1\\q")}};
    EXPECT_EQ("", Other(elsewhere, "C:\\P\\"));
    EXPECT_EQ("C:\\P\\", Other(elsewhere, "C:\\P2\\"));
    EXPECT_EQ("C:\\P\\", Other(elsewhere, "C:\\P\\Rus\\"));
    // A folder above the files known as the folder by another name.
    const TSameFolder linked = [](const AnsiString &a, const AnsiString &b) { return a == "C:\\P\\" && b == "L:\\"; };
    EXPECT_EQ("", Other(elsewhere, "L:\\", linked));

    // A copy run backs up the copy's files and the desktop's shortcut, and makes the copy's folders
    // before it journals its variant: none of that tells the product folder; its temporary folder does.
    const Commands copyRun = {
        {ejc_Start, JournalStartText},
        {ejc_Created, CreatedFolderCommandText("D:\\Copies\\")},
        {ejc_Variant, "1"},
        {ejc_CopyFolder, "D:\\Copies\\QMT5_311\\"},
        {ejc_Created, CreatedCommandText("D:\\Copies\\QMT5_311\\Cfg\\CFG.QMT", 0, 0)},
        {ejc_TempFolder, "E:\\QMTUPDT.TMP\\RUN00000001\\"},
        {ejc_Backup, Backup("D:\\Copies\\QMT5_311\\Cfg\\CFG.QMT", "E:\\QMTUPDT.TMP\\RUN00000001\\c")},
        {ejc_Backup, Backup("C:\\Users\\u\\Desktop\\ЦМТ.lnk", "E:\\QMTUPDT.TMP\\RUN00000001\\LNK\\l")}};
    EXPECT_EQ("", Other(copyRun, "C:\\P\\"));
    Commands copyRunInPlace = copyRun;
    copyRunInPlace[5].second = "C:\\P\\QMTUPDTA.TMP\\";
    EXPECT_EQ("", Other(copyRunInPlace, "C:\\P\\"));
    EXPECT_EQ("C:\\P\\", Other(copyRunInPlace, "C:\\P2\\"));

    // A journal with nothing that tells is taken for the folder's own.
    EXPECT_EQ("", Other({{ejc_Start, JournalStartText}}, "C:\\P2\\"));
}
