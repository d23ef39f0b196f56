// The list of what a copy of an installation takes, over an installation held in memory; the paths
// and texts of the update-variant dialog.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "framework/runtime/Classes.h"
#include "framework/runtime/SysUtils.h"
#include "tests/support/FakeFolders.h"
#include "update/variant/uSelKindUpdtList.h"

namespace {

constexpr int64_t Big = 5'000'000'000;  // a file beyond 4 GiB

class Installation {
public:
    Installation()
    {
        fs.AddFolder("C:\\P");
        for (const char *folder : ProductFolders) {
            AnsiString f = folder;
            if (f.find('\\') != AnsiString::npos && !fs.Exists("C:\\P\\" + f.substr(0, 3)))
                fs.AddFolder("C:\\P\\" + f.substr(0, 3));
        }
        // The AutoSave folders stored with other letter cases than the table's.
        for (const char *folder : ProductFolders) {
            AnsiString f = folder;
            if (f == "Rus\\AutoSave")
                f = "Rus\\AUTOSAVE";
            if (f == "Ukr\\AutoSave")
                f = "Ukr\\autosave";
            fs.AddFolder("C:\\P\\" + f);
            File("C:\\P\\" + f + "\\file.dat", 10);
        }
        File("C:\\P\\Exe\\qmtupdt.exe", 1000);  // the updater itself
        File("C:\\P\\qmt_3.1.1.txt", 1000);     // the journal
        File("C:\\P\\readme.txt", 1000);
        fs.AddFolder("C:\\P\\Rus\\AUTOSAVE\\old");
        File("C:\\P\\Rus\\AUTOSAVE\\old\\s.sav", 10);
        fs.AddFolder("C:\\P\\Projects");
        File("C:\\P\\Projects\\p1.prj", Big);
        fs.AddFolder("C:\\P\\Rus\\Other");
        File("C:\\P\\Rus\\Other\\o.txt", 10);
    }

    void File(const AnsiString &path, int64_t size)
    {
        fs.AddFile(path);
        sizes[AnsiUpperCase(path)] = size;
    }

    uint64_t Build(bool clean, bool noAutoSave)
    {
        TFileSizeQuery size = [this](const AnsiString &path) -> int64_t {
            auto it = sizes.find(AnsiUpperCase(path));
            return it == sizes.end() ? -1 : it->second;
        };
        TLogClosure log = [this](int8_t index, const AnsiString &text, bool newLine) {
            EXPECT_EQ(index, 0);
            EXPECT_TRUE(newLine);
            lines.push_back(text);
            return true;
        };
        return BuildCopyList("C:\\P\\", "c:\\p\\QMT_3.1.1.TXT", "C:\\P\\EXE\\QMTUPDT.EXE", {clean, noAutoSave}, fs,
                             size, list, log);
    }

    std::vector<AnsiString> Entries() const
    {
        std::vector<AnsiString> v;
        for (int i = 0; i < list.Count(); ++i)
            v.push_back(list.Strings(i));
        return v;
    }
    bool Has(const AnsiString &entry) const { return list.IndexOf(entry) >= 0; }
    int CountUnder(const AnsiString &prefix) const
    {
        int n = 0;
        for (const AnsiString &e : Entries())
            if (AnsiUpperCase(e).compare(0, prefix.size(), AnsiUpperCase(prefix)) == 0)
                ++n;
        return n;
    }

    FakeFolders fs;
    std::map<AnsiString, int64_t> sizes;
    TStringList list;
    std::vector<AnsiString> lines;
};

}  // namespace

TEST(BuildCopyList, WholeInstallationWithoutRootFilesJournalOrUpdater)
{
    Installation inst;
    const uint64_t total = inst.Build(false, false);
    EXPECT_EQ(total, 16 * 10 + 10 + Big + 10);
    EXPECT_TRUE(inst.Has("Projects\\"));
    EXPECT_TRUE(inst.Has("Projects\\p1.prj"));
    EXPECT_TRUE(inst.Has("Rus\\"));
    EXPECT_TRUE(inst.Has("Rus\\AUTOSAVE\\old\\s.sav"));
    EXPECT_TRUE(inst.Has("Exe\\file.dat"));
    EXPECT_FALSE(inst.Has("Exe\\qmtupdt.exe"));
    EXPECT_FALSE(inst.Has("qmt_3.1.1.txt"));
    EXPECT_FALSE(inst.Has("readme.txt"));
    EXPECT_FALSE(inst.Has(""));
    // Sorted without case, so each folder comes before what it holds.
    std::vector<AnsiString> entries = inst.Entries();
    EXPECT_TRUE(std::is_sorted(entries.begin(), entries.end(),
                               [](const AnsiString &a, const AnsiString &b) { return AnsiCompareText(a, b) < 0; }));
    EXPECT_EQ(inst.lines,
              (std::vector<AnsiString>{"Построение списка файлов C:\\P\\", "Подсчет размера", "Завершено"}));
}

TEST(BuildCopyList, WholeInstallationWithoutAutoSaveDropsThemInAnyLetterCase)
{
    Installation inst;
    EXPECT_EQ(inst.Build(false, true), 14 * 10 + 10 + Big);
    EXPECT_EQ(inst.CountUnder("Rus\\AutoSave\\"), 0);
    EXPECT_EQ(inst.CountUnder("Ukr\\AutoSave\\"), 0);
    EXPECT_TRUE(inst.Has("Rus\\Other\\o.txt"));
    EXPECT_TRUE(inst.Has("Projects\\p1.prj"));
}

TEST(BuildCopyList, CleanCopyTakesTheTableFoldersOnly)
{
    Installation inst;
    EXPECT_EQ(inst.Build(true, false), 16 * 10 + 10u);
    EXPECT_EQ(inst.CountUnder("Projects\\"), 0);
    EXPECT_EQ(inst.CountUnder("Rus\\Other\\"), 0);
    EXPECT_FALSE(inst.Has("Rus\\"));  // a parent of table folders is not itself listed
    for (const char *folder : ProductFolders)
        EXPECT_TRUE(inst.Has(AnsiString(folder) + "\\file.dat")) << folder;
    EXPECT_TRUE(inst.Has("Rus\\AutoSave\\old\\s.sav"));
    EXPECT_FALSE(inst.Has("Exe\\qmtupdt.exe"));
}

TEST(BuildCopyList, CleanCopyWithoutAutoSaveTakesTheFirstFourteen)
{
    Installation inst;
    EXPECT_EQ(inst.Build(true, true), 14 * 10u);
    for (int i = 0; i < ProductFolderCount; ++i)
        EXPECT_EQ(inst.Has(AnsiString(ProductFolders[i]) + "\\"), i < ProductFoldersWithoutAutoSave) << i;
    EXPECT_EQ(inst.CountUnder("Rus\\AutoSave\\"), 0);
    EXPECT_EQ(inst.CountUnder("Ukr\\AutoSave\\"), 0);
    EXPECT_EQ(inst.list.Count(), 28);  // each folder and its one file
}

TEST(BuildCopyList, ABuildReplacesThePreviousList)
{
    Installation inst;
    inst.Build(false, false);
    const int whole = inst.list.Count();
    inst.Build(true, true);
    EXPECT_LT(inst.list.Count(), whole);
    inst.Build(false, false);
    EXPECT_EQ(inst.list.Count(), whole);
}

TEST(SelKindPaths, FullPathAndParentFolder)
{
    EXPECT_EQ(CopyFullPath(" D:\\Work ", " QMT5_311 "), "D:\\Work\\QMT5_311\\");
    EXPECT_EQ(CopyFullPath("D:\\", "Q\\"), "D:\\Q\\");
    EXPECT_EQ(CopyFullPath("", "Q"), "Q\\");
    EXPECT_EQ(CopyFullPath("D:\\Work", ""), "D:\\Work\\");
    EXPECT_EQ(CopyFullPath(" ", " "), "");
    EXPECT_EQ(ParentOfRoot("C:\\Prod\\QMT\\"), "C:\\Prod");
    EXPECT_EQ(ParentOfRoot("C:\\QMT\\"), "C:\\");
}

TEST(SelKindPaths, ACopyFolderInsideTheInstallationIsFoundHoweverItIsWritten)
{
    const AnsiString root = "C:\\Prog\\ЦМТ\\";
    EXPECT_TRUE(FolderWithin("C:\\Prog\\ЦМТ\\Rus\\AutoSave\\", root));
    EXPECT_TRUE(FolderWithin("c:/prog/цмт/rus/autosave/QMT5_311/", root));
    EXPECT_TRUE(FolderWithin("C:\\Prog\\цмт", root));
    EXPECT_TRUE(FolderWithin("C:\\Prog\\Другая\\..\\ЦМТ\\.\\EXE\\", root));
    EXPECT_TRUE(FolderWithin("C:\\Prog\\ЦМТ.\\Rus\\", root));
    EXPECT_TRUE(FolderWithin("\\\\сервер\\ресурс\\ЦМТ\\Копия", "\\\\СЕРВЕР\\Ресурс\\ЦМТ"));
    EXPECT_FALSE(FolderWithin("C:\\Prog\\ЦМТ2\\", root));
    EXPECT_FALSE(FolderWithin("C:\\Prog\\ЦМТ\\..\\QMT5_311\\", root));
    EXPECT_FALSE(FolderWithin("C:\\Prog\\", root));
    EXPECT_FALSE(FolderWithin("D:\\Prog\\ЦМТ\\", root));
    // ".." never climbs above the drive or the share.
    EXPECT_FALSE(FolderWithin("C:\\..\\..\\Копии\\", "C:\\Копии\\ЦМТ\\"));
    EXPECT_TRUE(FolderWithin("C:\\..\\Prog\\ЦМТ\\x", root));
}

TEST(SecurityProductsText, KindsWithProductsUnderTheirHeaders)
{
    std::vector<TSecurityKind> kinds = {
        {TSecurityKind::AntiVirus, {"Страж", "", "Guard 2"}},
        {TSecurityKind::AntiSpyware, {}},
        {TSecurityKind::Firewall, {"7"}},
    };
    EXPECT_EQ(SecurityProductsText(kinds, false),
              "  Антивирусное ПО:\n    Страж\n    Guard 2\n  Межсетевой экран:\n    7");
    EXPECT_EQ(SecurityProductsText(kinds, true),
              "  Антивірусне ПЗ:\n    Страж\n    Guard 2\n  Міжмережевий екран:\n    7");
    EXPECT_EQ(SecurityProductsText({{TSecurityKind::AntiSpyware, {"x"}}}, false), "  Антишпионское ПО:\n    x");
    EXPECT_EQ(SecurityProductsText({{TSecurityKind::AntiVirus, {}}}, false), "");
}

TEST(SecurityProductsText, WarningNamesBothFolders)
{
    const AnsiString text = SecurityWarningText("  Антивирусное ПО:\n    Страж", "D:\\New\\", "C:\\Old\\");
    EXPECT_EQ(text.find("  Антивирусное ПО:\n    Страж\n\nСоздана папка:\nD:\\New\\\n\n"), 0u);
    EXPECT_NE(text.find("ЦМТ:\n\nD:\\New\\\n   и\nC:\\Old\\\n\nиз проверки"), AnsiString::npos);
    EXPECT_NE(text.find("(добавлены ли папки ЦМТ в \"исключения\"?)"), AnsiString::npos);
}

TEST(SecurityProductsText, ValuesAsText)
{
    auto v = [](TWmiValue::Kind kind, long long number, const AnsiString &text = AnsiString()) {
        TWmiValue value;
        value.Type = kind;
        value.Number = number;
        value.Text = text;
        return value;
    };
    EXPECT_EQ(SecurityValueText(v(TWmiValue::String, 0, "Страж")), "Страж");
    EXPECT_EQ(SecurityValueText(v(TWmiValue::Int32, -5)), "-5");
    EXPECT_EQ(SecurityValueText(v(TWmiValue::UInt8, 255)), "255");
    EXPECT_EQ(SecurityValueText(v(TWmiValue::Boolean, 1)), "true");
    EXPECT_EQ(SecurityValueText(v(TWmiValue::Boolean, 0)), "false");
    EXPECT_EQ(SecurityValueText(v(TWmiValue::OtherScalar, 0)), "?");
    EXPECT_EQ(SecurityValueText(v(TWmiValue::None, 0)), "");
}
