#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "base/files/PathParts.h"

namespace {

// drive|colon|folder|name|dot|ext, as a readable string.
std::string Split(const std::string &path)
{
    PathParts p = ParsePathParts(path.c_str(), static_cast<int>(path.size()));
    EXPECT_EQ(path.size(), p.Total()) << path;
    std::size_t at = 0;
    auto take = [&](std::uint32_t n) {
        std::string s = path.substr(at, n);
        at += n;
        return s;
    };
    std::string drive = take(p.drive);
    take(p.hasColon ? 1 : 0);
    std::string folder = take(p.folder);
    std::string name = take(p.name);
    take(p.hasDot ? 1 : 0);
    std::string ext = take(p.ext);
    return drive + "|" + (p.hasColon ? ":" : "") + "|" + folder + "|" + name + "|" + (p.hasDot ? "." : "") + "|" + ext;
}

PathRecord Record(const char *path)
{
    PathRecord r;
    SetPathRecord(r, path);
    return r;
}

}  // namespace

TEST(PathParts, SplitsDriveFolderNameAndExtension)
{
    EXPECT_EQ("C|:|\\dir\\|name|.|ext", Split("C:\\dir\\name.ext"));
    EXPECT_EQ("C|:||||", Split("C:"));
    EXPECT_EQ("C|:||name||", Split("C:name"));
    EXPECT_EQ("||\\|||", Split("\\"));
    EXPECT_EQ("|||name|.|", Split("name."));
    EXPECT_EQ("|||a.b|.|c", Split("a.b.c"));
    EXPECT_EQ("|||name||", Split("name"));
    EXPECT_EQ("||dir\\x.y\\|name||", Split("dir\\x.y\\name"));
    EXPECT_EQ("||||.|txt", Split(".txt"));
    EXPECT_EQ("||\\\\server\\share\\|file|.|doc", Split("\\\\server\\share\\file.doc"));
    EXPECT_EQ("C|:|\\a\\|b|.|extension_longer_than_fifteen", Split("C:\\a\\b.extension_longer_than_fifteen"));
    PathParts empty = ParsePathParts("", 0);
    EXPECT_EQ(0u, empty.Total());
    EXPECT_FALSE(empty.hasColon || empty.hasDot);
}

TEST(PathParts, LongPartsKeepTheirLengths)
{
    std::string folder = "C:\\" + std::string(300, 'f') + "\\" + std::string(280, 'n') + ".e";
    PathParts p = ParsePathParts(folder.c_str(), 0);
    EXPECT_EQ(302u, p.folder);
    EXPECT_EQ(280u, p.name);
}

TEST(PathRecord, SetAndGetEveryPart)
{
    PathRecord r = Record("C:\\a\\b.doc");
    EXPECT_EQ("C:", GetPathPartStr(r, PathDrive));
    EXPECT_EQ("\\a\\", GetPathPartStr(r, PathFolder));
    EXPECT_EQ("C:\\a\\", GetPathPartStr(r, PathDriveFolder));
    EXPECT_EQ("b", GetPathPartStr(r, PathName));
    EXPECT_EQ(".doc", GetPathPartStr(r, PathExt));
    EXPECT_EQ("b.doc", GetPathPartStr(r, PathNameExt));
    EXPECT_EQ("C:\\a\\b.doc", GetPathPartStr(r, PathWhole));
    char out[MaxPathText + 1] = "unchanged";
    EXPECT_EQ(0, GetPathPart(r, 7, out));
    EXPECT_EQ(5, GetPathNameExt(r, out));
    EXPECT_STREQ("b.doc", out);
    EXPECT_EQ(4, GetPathExt(r, nullptr));

    // A trailing dot is dropped; the record has no name and no dot.
    PathRecord d = Record("C:\\dir\\.");
    EXPECT_STREQ("C:\\dir\\", d.text);
    EXPECT_EQ(0u, d.parts.name);
    EXPECT_FALSE(d.parts.hasDot);

    PathRecord z = Record(nullptr);
    EXPECT_EQ(0u, z.parts.Total());
    EXPECT_STREQ("", z.text);
}

TEST(PathRecord, TheTwoHundredSixtyCharacterBoundary)
{
    std::string fits = "C:\\" + std::string(257, 'x');
    PathRecord r;
    EXPECT_EQ(260, SetPathRecord(r, fits.c_str()));
    EXPECT_EQ(fits, r.text);

    // Longer texts are refused, not cut, and empty the record: its old path is not used on.
    std::string tooLong = fits + "y";
    EXPECT_EQ(0, SetPathRecord(r, tooLong.c_str()));
    EXPECT_STREQ("", r.text);
    EXPECT_EQ(0u, r.parts.Total());
    ASSERT_EQ(260, SetPathRecord(r, fits.c_str()));
    std::string longer(300, 'z');
    EXPECT_EQ(0, SetPathRecord(r, longer.c_str()));
    EXPECT_STREQ("", r.text);

    PathRecord s = Record("C:\\a\\b.doc");
    EXPECT_EQ(0, SetPathExt(s, std::string(254, 'e').c_str(), 0));
    EXPECT_STREQ("C:\\a\\b.doc", s.text);
    EXPECT_EQ(260, SetPathExt(s, std::string(253, 'e').c_str(), 0));
}

TEST(PathRecord, ReplaceEachPart)
{
    PathRecord r = Record("C:\\a\\b.doc");
    EXPECT_EQ(10, SetPathExt(r, "txt", 0));
    EXPECT_STREQ("C:\\a\\b.txt", r.text);
    EXPECT_EQ(6, SetPathExt(r, "", 0));
    EXPECT_STREQ("C:\\a\\b", r.text);
    EXPECT_EQ(0, SetPathExt(r, nullptr, 0));
    EXPECT_STREQ("C:\\a\\b", r.text);

    PathRecord f = Record("C:b.doc");
    EXPECT_EQ(10, SetPathFolder(f, "x", 0));
    EXPECT_STREQ("C:\\x\\b.doc", f.text);
    EXPECT_EQ("\\x\\", GetPathPartStr(f, PathFolder));
    SetPathFolder(f, "\\y\\z\\", 0);
    EXPECT_STREQ("C:\\y\\z\\b.doc", f.text);

    SetPathDrive(f, "D", 0);
    EXPECT_STREQ("D:\\y\\z\\b.doc", f.text);
    SetPathDriveFolder(f, "\\\\srv\\share", 0);
    EXPECT_STREQ("\\\\srv\\share\\b.doc", f.text);
    EXPECT_EQ("\\\\srv\\share\\", GetPathPartStr(f, PathFolder));
    SetPathName(f, "report", 0);
    EXPECT_STREQ("\\\\srv\\share\\report.doc", f.text);
    SetPathNameExt(f, "a.b.c", 3);
    EXPECT_STREQ("\\\\srv\\share\\a.b", f.text);
    EXPECT_EQ(".b", GetPathPartStr(f, PathExt));
    SetPathWhole(f, "E:\\n.", 0);
    // The replacer keeps a trailing dot.
    EXPECT_STREQ("E:\\n.", f.text);
    EXPECT_TRUE(f.parts.hasDot);

    PathRecord copy;
    AssignPathRecord(copy, &f);
    EXPECT_STREQ("E:\\n.", copy.text);
    AssignPathRecord(copy, nullptr);
    EXPECT_STREQ("", copy.text);
}

TEST(PathParts, GettersOverPlainTexts)
{
    char out[64];
    EXPECT_EQ(3, GetExtOf(out, "C:\\d.x\\n.a.txt", 0));
    EXPECT_STREQ("txt", out);
    EXPECT_EQ(7, GetNameExtOf(out, "C:\\d.x\\n.a.txt", 0));
    EXPECT_STREQ("n.a.txt", out);
    EXPECT_EQ(7, GetDriveFolderOf(out, "C:\\d.x\\n.a.txt", 0));
    EXPECT_STREQ("C:\\d.x\\", out);
    EXPECT_EQ(3, GetNameOf(out, "C:\\d.x\\n.a.txt", 0));
    EXPECT_STREQ("n.a", out);
    EXPECT_EQ(0, GetExtOf(out, "C:\\noext", 0));

    EXPECT_EQ(10, ChangeExtOf(out, "C:\\a\\b.doc", "bak", 0, 0));
    EXPECT_STREQ("C:\\a\\b.bak", out);
    EXPECT_EQ(10, ChangeExtOf(out, "C:\\a\\b", ".bak", 0, 0));
    EXPECT_STREQ("C:\\a\\b.bak", out);
    EXPECT_EQ(6, ChangeExtOf(out, "C:\\a\\b.doc", nullptr, 0, 0));
    EXPECT_STREQ("C:\\a\\b", out);
    std::strcpy(out, "keep");
    EXPECT_EQ(0, ChangeExtOf(out, ".doc", "bak", 0, 0));
    EXPECT_STREQ("keep", out);
}

TEST(PathParts, TrailingBackslash)
{
    char out[16] = "x";
    EXPECT_EQ(0, CopyWithBackslash(out, "", 0));
    EXPECT_STREQ("", out);
    EXPECT_EQ(5, CopyWithBackslash(out, "C:\\a\\", 0));
    EXPECT_STREQ("C:\\a\\", out);
    EXPECT_EQ(5, CopyWithBackslash(out, "C:\\a", 0));
    EXPECT_STREQ("C:\\a\\", out);
    EXPECT_EQ(2, CopyWithoutBackslash(out, "C:\\", 0));
    EXPECT_STREQ("C:", out);
    EXPECT_EQ(4, CopyWithoutBackslash(out, "C:\\a", 0));
    EXPECT_STREQ("C:\\a", out);
}

namespace {

struct FakeTree {
    std::set<std::string> folders;
    std::vector<std::string> tried;
};

bool Probe(const AnsiString &path, void *context)
{
    auto *tree = static_cast<FakeTree *>(context);
    tree->tried.push_back(path);
    return tree->folders.count(path) != 0;
}

}  // namespace

TEST(PathParts, UpwardSearchFromANestedFolder)
{
    FakeTree tree{{"C:\\P\\CFG"}, {}};
    AnsiString out;
    EXPECT_EQ(8, FindFolderUpwardsFrom(out, "C:\\P\\EXE\\", "CFG", Probe, &tree));
    EXPECT_EQ("C:\\P\\CFG\\", out);
    EXPECT_EQ((std::vector<std::string>{"C:\\P\\EXE\\CFG", "C:\\P\\CFG"}), tree.tried);

    // Nothing found: every ancestor up to the drive root is tried; the last candidate stays.
    FakeTree none;
    EXPECT_EQ(0, FindFolderUpwardsFrom(out, "C:\\P\\EXE\\", "CFG", Probe, &none));
    EXPECT_EQ((std::vector<std::string>{"C:\\P\\EXE\\CFG", "C:\\P\\CFG", "C:\\CFG"}), none.tried);
    EXPECT_EQ("C:\\CFG", out);

    FakeTree root{{"C:\\CFG"}, {}};
    EXPECT_EQ(6, FindFolderUpwardsFrom(out, "C:\\P\\EXE", "CFG", Probe, &root));
    EXPECT_EQ("C:\\CFG\\", out);

    EXPECT_EQ(9, FindFolderUpwardsFrom(out, "C:\\P\\EXE\\", nullptr, Probe, &root));
    EXPECT_EQ("C:\\P\\EXE\\", out);
}

TEST(PathParts, AppFolderCutAfterAText)
{
    EXPECT_EQ("C:\\P\\", CutAppFolder("C:\\P\\EXE\\", "P", false));
    EXPECT_EQ("C:\\P", CutAppFolder("C:\\P\\EXE\\", "P", true));
    EXPECT_EQ("C:\\P\\EXE\\", CutAppFolder("C:\\P\\EXE\\", "Q", false));
    EXPECT_EQ("C:\\P\\EXE", CutAppFolder("C:\\P\\EXE\\", nullptr, true));
    // A cut text at the very end keeps the whole folder.
    EXPECT_EQ("C:\\P\\EXE\\", CutAppFolder("C:\\P\\EXE\\", "EXE\\", false));
    EXPECT_EQ(260u, CutAppFolder("C:\\" + std::string(300, 'd') + "\\", nullptr, false).size());
}

TEST(PathParts, UpwardSearchSkipsCandidatesTooLongForAPath)
{
    std::string deep = "C:\\" + std::string(255, 'd') + "\\";
    FakeTree tree{{deep + "CFG", "C:\\CFG"}, {}};
    AnsiString out;
    EXPECT_EQ(6, FindFolderUpwardsFrom(out, deep, "CFG", Probe, &tree));
    EXPECT_EQ("C:\\CFG\\", out);
}
