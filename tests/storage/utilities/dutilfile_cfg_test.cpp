// The search for the configuration folder over folders that a test says exist.
#include <gtest/gtest.h>

#include <set>

#include "base/messages/TZExcept.h"
#include "storage/utilities/dutilfile.h"

namespace {

// Folders that exist, named without a trailing backslash; a probe accepts a name with or without one,
// as the system does.
struct Folders {
    std::set<AnsiString> names;
    static bool Probe(const AnsiString &path, void *context)
    {
        AnsiString name = path;
        if (name.size() > 3 && name.back() == '\\')
            name.pop_back();
        return static_cast<Folders *>(context)->names.count(name) != 0;
    }
    AnsiString Find(const AnsiString &programFolder) { return FindCfgFolderFrom(programFolder, Probe, this); }
};

class CfgSearch : public ::testing::Test {
protected:
    void SetUp() override { ProductRootFolder = "left over"; }
    void TearDown() override { ProductRootFolder.clear(); }
    Folders folders;
};

}  // namespace

TEST_F(CfgSearch, FoundBelowBesideOrFarAboveTheProgram)
{
    folders.names = {"C:\\P\\CFG", "C:\\P\\EXE\\CFG"};
    EXPECT_EQ(folders.Find("C:\\P\\EXE\\"), "C:\\P\\EXE\\CFG\\") << "below the program's folder";
    EXPECT_EQ(ProductRootFolder, "C:\\P\\EXE\\");

    folders.names = {"C:\\P\\CFG"};
    EXPECT_EQ(folders.Find("C:\\P\\EXE\\"), "C:\\P\\CFG\\") << "beside it";
    EXPECT_EQ(ProductRootFolder, "C:\\P\\");

    EXPECT_EQ(folders.Find("C:\\P\\A\\B\\C\\EXE\\"), "C:\\P\\CFG\\") << "far above it";
    EXPECT_EQ(ProductRootFolder, "C:\\P\\");

    folders.names = {"C:\\CFG"};
    EXPECT_EQ(folders.Find("C:\\P\\EXE\\"), "C:\\CFG\\") << "at the drive's root";
    EXPECT_EQ(ProductRootFolder, "C:\\");
}

TEST_F(CfgSearch, DefaultFolderWhenNoneIsAboveTheProgram)
{
    folders.names = {"E:\\QMT3\\CFG", "D:\\OTHER\\CFG"};
    EXPECT_EQ(folders.Find("C:\\P\\EXE\\"), "E:\\QMT3\\CFG\\");
    EXPECT_EQ(ProductRootFolder, "E:\\QMT3\\");
}

TEST_F(CfgSearch, BesideAProgramFolderTooLongForTheUpwardSearch)
{
    // The parent's "CFG" is exactly 260 characters long: too long for the upward search's buffer,
    // still found beside the program's folder, and the product's root follows it.
    const AnsiString parent = "C:\\" + AnsiString(253, 'p') + "\\";
    ASSERT_EQ((parent + "CFG").size(), 260u);
    folders.names = {parent + "CFG"};
    EXPECT_EQ(folders.Find(parent + "EXE\\"), parent + "CFG\\");
    EXPECT_EQ(ProductRootFolder, parent);
}

TEST_F(CfgSearch, NoneAnywhereRaisesAndLeavesNoRoot)
{
    folders.names = {"C:\\P\\EXE", "D:\\CFG"};
    try {
        folders.Find("C:\\P\\EXE\\");
        ADD_FAILURE() << "no TZExcept was raised";
    } catch (const TZExcept &e) {
        EXPECT_EQ(e.Message(), "Отсутствует директория CFG");
        EXPECT_EQ(e.Code(), 0u);
    }
    EXPECT_EQ(ProductRootFolder, "");
}
