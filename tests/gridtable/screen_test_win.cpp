// A stored screen read at run time from "Riza.sfr" on disk, found through the CFG alias.
#include <gtest/gtest.h>

#include "base/files/AppPaths.h"
#include "framework/runtime/SysUtils.h"
#include "gridtable/screens/GridScreen.h"
#include "storage/compound/fun_struct.h"
#include "tests/gridtable/StandInHost.h"
#include "tests/support/GridScreenBuilder.h"
#include "tests/support/ScopedAliases.h"
#include "tests/support/TempFolder.h"

TEST(ScreenOnDisk, LoadedThroughTheCfgAliasAndKeptOpen)
{
    TempFolder temp;
    TScopedAliases aliases{{"CFG", temp.Path()}};
    testdata::GridScreenBuilder b(2, 2);
    b.fixedRows = 1;
    b.fonts.resize(1);
    testdata::ScreenRun run;
    run.text = "Кількість";
    b.Cell(1, 0).runs1 = {run};
    const testdata::Bytes file = b.File(7, 8, true);
    WriteWholeFile(temp / "Riza.sfr", std::string(file.begin(), file.end()));

    TStandInHost host(1, 1);
    TXGridModel table(host);
    TXGridScreenSource source;
    source.NumFileScreen = 7;
    ASSERT_TRUE(LoadGridScreen(table, source));
    EXPECT_NE(RizaFile, nullptr);
    EXPECT_EQ(table.Rows.size(), 2u);
    EXPECT_EQ(table.Rows[1][0].Runs1.at(0).Text, "Кількість");
    EXPECT_EQ(host.currentRow, 1);
    CloseSharedScreenStorage();  // before the folder goes
    EXPECT_EQ(RizaFile, nullptr);
}

TEST(ScreenOnDisk, DesignModeReadsTheConfigurationFolderAndClosesIt)
{
    // The configuration folder is looked for from the program's folder up: one is put beside this
    // program for the test.
    AnsiString programFolder;
    AppFolder(programFolder, nullptr, false);
    const AnsiString cfg = programFolder + "CFG";
    ASSERT_FALSE(DirectoryExists(cfg)) << "left over from another run";
    ASSERT_TRUE(CreateDir(cfg));
    testdata::GridScreenBuilder b(1, 2);
    b.fixedCols = 1;
    const testdata::Bytes file = b.File(2, 3);
    WriteWholeFile(cfg + "\\Riza.sfr", std::string(file.begin(), file.end()));

    TStandInHost host(1, 1);
    TXGridModel table(host);
    TXGridScreenSource source;
    source.Designing = true;
    source.NumFileScreen = 2;
    const bool loaded = LoadGridScreen(table, source);
    source.NumFileScreen = 1;
    const bool missing = LoadGridScreen(table, source);
    RemoveTree(cfg);  // possible only when the loads closed the file

    EXPECT_TRUE(loaded);
    EXPECT_FALSE(missing);
    EXPECT_FALSE(DirectoryExists(cfg));
    EXPECT_EQ(RizaFile, nullptr);
    EXPECT_EQ(host.topLeft, std::make_pair(0, 1));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], MissingScreenText(1));
}
