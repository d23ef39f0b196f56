#include <gtest/gtest.h>

#include "base/files/AppPaths.h"
#include "framework/runtime/Kernel.h"
#include "framework/runtime/SysUtils.h"

namespace {

AnsiString ExeFolder() { return ExtractFilePath(GetModuleFileName()); }

// A folder made for one test and removed after it.
struct ScratchFolder {
    explicit ScratchFolder(AnsiString p) : path(std::move(p)) { EXPECT_TRUE(CreateDir(path)) << path; }
    ~ScratchFolder() { RemoveDir(path); }
    AnsiString path;
};

}  // namespace

TEST(AppPaths, ExistenceTests)
{
    AnsiString exe = GetModuleFileName();
    EXPECT_TRUE(IsFile(exe));
    EXPECT_FALSE(IsDirectory(exe));
    EXPECT_TRUE(IsDirectory(ExeFolder()));
    EXPECT_FALSE(IsFile(ExeFolder()));
    EXPECT_FALSE(IsFile(ExeFolder() + "no such file.qmt"));
    EXPECT_FALSE(IsDirectory(ExeFolder() + "no such folder"));
}

TEST(AppPaths, AppFolderIsTheProgramsFolder)
{
    AnsiString folder;
    EXPECT_EQ(static_cast<int>(ExeFolder().size()), AppFolder(folder, nullptr, false));
    EXPECT_EQ(ExeFolder(), folder);
    AppFolder(folder, nullptr, true);
    EXPECT_EQ(ExeFolder().substr(0, ExeFolder().size() - 1), folder);
    // Cut after the "tests" folder of the build tree.
    AppFolder(folder, "\\tests", false);
    EXPECT_EQ(ExeFolder(), folder);
}

TEST(AppPaths, FindFolderUpwardsFromTheProgramsFolder)
{
    AnsiString parent = ExtractFilePath(ExeFolder().substr(0, ExeFolder().size() - 1));
    ScratchFolder probe(parent + "QMTUPWARD");
    AnsiString found;
    EXPECT_EQ(static_cast<int>(probe.path.size()), FindFolderUpwards(found, "QMTUPWARD"));
    EXPECT_EQ(probe.path + "\\", found);

    EXPECT_EQ(0, FindFolderUpwards(found, "QMT NO SUCH FOLDER"));
    EXPECT_EQ(static_cast<int>(ExeFolder().size()), FindFolderUpwards(found, nullptr));
    EXPECT_EQ(ExeFolder(), found);

    PathRecord record;
    SetPathRecord(record, "X:\\old\\riza.sfr");
    EXPECT_EQ(0, SetFolderFromAppTree(record, "", 0));
    EXPECT_STREQ("X:\\old\\riza.sfr", record.text);
    EXPECT_EQ(static_cast<int>(probe.path.size()) + 1, SetFolderFromAppTree(record, "QMTUPWARDxyz", 9));
    EXPECT_EQ(probe.path + "\\riza.sfr", AnsiString(record.text));
    EXPECT_EQ(0, SetFolderFromAppTree(record, "QMT NO SUCH FOLDER", 0));
    EXPECT_STREQ("", record.text);
}

TEST(AppPaths, CurrentFolderUpperKeepsTheUkrainianI)
{
    ScratchFolder folder(ExeFolder() + "пробаі");
    AnsiString before = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(folder.path));
    char out[MaxPathText] = {};
    int n = CurrentFolderUpper(out);
    SetCurrentDir(before);
    AnsiString upper(out, static_cast<std::size_t>(n));
    EXPECT_EQ(AnsiUpperCase(folder.path), upper);
    ASSERT_GE(n, 6);
    EXPECT_EQ("ПРОБАІ", upper.substr(upper.size() - 6));
    EXPECT_EQ('\xB2', upper.back());
    EXPECT_TRUE(IsDirectory(upper));
    EXPECT_EQ(static_cast<int>(AnsiUpperCase(GetCurrentDir()).size()), CurrentFolderUpper(nullptr));
}
