#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "update/variant/DesktopShortcut.h"

namespace {
struct SavedLink {
    AnsiString target, linkFile, description, workingFolder;
};

class FakeDesktop : public IDesktopServices {
public:
    TRegistryRead registryResult = rrOk;
    AnsiString registryValue = "C:\\Users\\u\\Desktop";
    AnsiString windows = "C:\\WINDOWS";
    std::set<AnsiString> folders;
    bool saveWorks = true;
    std::vector<SavedLink> saved;
    AnsiString askedKey, askedValue;

    TRegistryRead ReadUserString(const AnsiString &keyPath, const AnsiString &valueName, AnsiString &value) override
    {
        askedKey = keyPath;
        askedValue = valueName;
        if (registryResult == rrOk)
            value = registryValue;
        return registryResult;
    }
    AnsiString WindowsFolder() override { return windows; }
    bool FolderExists(const AnsiString &folder) override { return folders.count(folder) > 0; }
    bool SaveLink(const AnsiString &target, const AnsiString &linkFile, const AnsiString &description,
                  const AnsiString &workingFolder) override
    {
        saved.push_back({target, linkFile, description, workingFolder});
        return saveWorks;
    }
};
}  // namespace

TEST(DesktopShortcut, ReadsTheDesktopFromTheUsersShellFolders)
{
    FakeDesktop sys;
    char buffer[DesktopFolderBufferSize];
    EXPECT_EQ(18, ReadDesktopFolder(buffer, sys));
    EXPECT_STREQ("C:\\Users\\u\\Desktop", buffer);
    EXPECT_EQ("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", sys.askedKey);
    EXPECT_EQ("Desktop", sys.askedValue);
    for (TRegistryRead r : {rrNoKey, rrNoValue, rrWrongType}) {
        sys.registryResult = r;
        EXPECT_EQ(0, ReadDesktopFolder(buffer, sys));
        EXPECT_STREQ("", buffer);
    }
}

TEST(DesktopShortcut, APathThatDoesNotFitTheBufferIsNone)
{
    FakeDesktop sys;
    char buffer[DesktopFolderBufferSize + 8];
    buffer[DesktopFolderBufferSize] = 'X';
    sys.registryValue = "C:\\" + AnsiString(257, 'a');  // 260 bytes: fits with its terminator
    EXPECT_EQ(260, ReadDesktopFolder(buffer, sys));
    EXPECT_EQ('X', buffer[DesktopFolderBufferSize]);
    sys.registryValue += "b";
    EXPECT_EQ(0, ReadDesktopFolder(buffer, sys));
    EXPECT_EQ('X', buffer[DesktopFolderBufferSize]);
}

TEST(DesktopShortcut, SavesTheLinkOnTheRegistryDesktop)
{
    FakeDesktop sys;
    bool saved = false;
    EXPECT_TRUE(CreateDesktopShortcut("D:\\Копия\\EXE\\qmt.exe", "Копия.LNK", "D:\\Копия\\", sys, &saved));
    EXPECT_TRUE(saved);
    ASSERT_EQ(1u, sys.saved.size());
    EXPECT_EQ("D:\\Копия\\EXE\\qmt.exe", sys.saved[0].target);
    EXPECT_EQ("C:\\Users\\u\\Desktop\\Копия.LNK", sys.saved[0].linkFile);
    EXPECT_EQ("Копия.LNK", sys.saved[0].description);
    EXPECT_EQ("D:\\Копия\\", sys.saved[0].workingFolder);
}

TEST(DesktopShortcut, FallsBackToTheWindowsFolderDesktops)
{
    for (TRegistryRead r : {rrNoKey, rrNoValue, rrWrongType}) {
        FakeDesktop sys;
        sys.registryResult = r;
        sys.folders = {"C:\\WINDOWS\\DESKTOP", "C:\\WINDOWS\\Рабочий стол"};
        EXPECT_TRUE(CreateDesktopShortcut("t.exe", "L.LNK", "w", sys));
        ASSERT_EQ(1u, sys.saved.size());
        EXPECT_EQ("C:\\WINDOWS\\DESKTOP\\L.LNK", sys.saved[0].linkFile);

        sys.folders = {"C:\\WINDOWS\\Рабочий стол"};
        EXPECT_TRUE(CreateDesktopShortcut("t.exe", "L.LNK", "w", sys));
        EXPECT_EQ("C:\\WINDOWS\\Рабочий стол\\L.LNK", sys.saved.back().linkFile);

        sys.folders.clear();
        bool saved = true;
        EXPECT_FALSE(CreateDesktopShortcut("t.exe", "L.LNK", "w", sys, &saved));
        EXPECT_FALSE(saved);
        EXPECT_EQ(2u, sys.saved.size());

        sys.windows = "";  // the system does not tell its folder
        EXPECT_FALSE(CreateDesktopShortcut("t.exe", "L.LNK", "w", sys));
    }
}

TEST(DesktopShortcut, IsToldTheLinkFileBeforeItIsSavedAndMayKeepItUnsaved)
{
    FakeDesktop sys;
    std::vector<AnsiString> told;
    size_t savedBefore = 0;
    auto before = [&](bool allow) {
        return [&, allow](const AnsiString &linkFile) {
            told.push_back(linkFile);
            savedBefore = sys.saved.size();
            return allow;
        };
    };
    bool saved = false;
    EXPECT_TRUE(CreateDesktopShortcut("t.exe", "L.LNK", "w", sys, &saved, before(true)));
    EXPECT_TRUE(saved);
    ASSERT_EQ(std::vector<AnsiString>{"C:\\Users\\u\\Desktop\\L.LNK"}, told);
    EXPECT_EQ(0u, savedBefore);  // told first, saved after
    EXPECT_EQ(1u, sys.saved.size());

    // Refused: nothing is saved, and the desktop was still found.
    EXPECT_TRUE(CreateDesktopShortcut("t.exe", "L.LNK", "w", sys, &saved, before(false)));
    EXPECT_FALSE(saved);
    EXPECT_EQ(2u, told.size());
    EXPECT_EQ(1u, sys.saved.size());

    // Without a desktop there is no link file to tell.
    sys.registryResult = rrNoKey;
    EXPECT_FALSE(CreateDesktopShortcut("t.exe", "L.LNK", "w", sys, &saved, before(true)));
    EXPECT_EQ(2u, told.size());
}
