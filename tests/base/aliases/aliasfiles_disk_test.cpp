// Alias lists loaded from and saved to files on disk, and the shared list loaded by its first holder.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/aliases/AliasFileIO.h"
#include "base/aliases/AliasList.h"
#include "base/aliases/SharedAliasList.h"

#ifdef _WIN32
#include "framework/runtime/SysUtils.h"
#include "tests/support/TempFolder.h"
#else
#include <filesystem>
#include <unistd.h>
#endif

namespace {

// A fresh folder for one test, in the build's own path notation (trailing separator included).
class Folder {
public:
#ifdef _WIN32
    AnsiString Path() const { return temp_.Path(); }
    void MakeSubfolder(const AnsiString &name) const { CreateDir(temp_ / name); }

private:
    TempFolder temp_;
#else
    Folder()
        : path_(std::filesystem::temp_directory_path() /
                ("aliasfiles-" + std::to_string(getpid()) + "-" + std::to_string(counter++)))
    {
        std::filesystem::create_directories(path_);
    }
    ~Folder() { std::filesystem::remove_all(path_); }
    AnsiString Path() const { return path_.string() + "/"; }
    void MakeSubfolder(const AnsiString &name) const { std::filesystem::create_directory(Path() + name); }

private:
    static inline int counter = 0;
    std::filesystem::path path_;
#endif
};

std::string Read(const AnsiString &name)
{
    AliasFileImage bytes;
    EXPECT_TRUE(ReadAliasFile(name, bytes)) << name;
    return std::string(bytes.begin(), bytes.end());
}

void Write(const AnsiString &name, const std::string &bytes)
{
    ASSERT_TRUE(WriteAliasFile(name, AliasFileImage(bytes.begin(), bytes.end()))) << name;
}

}  // namespace

TEST(AliasFiles, SavedAndLoadedInEachForm)
{
    Folder folder;
    // A Cyrillic file name: the names are code page 1251 text.
    const AnsiString text = folder.Path() + "псевдонимы.txt", record = folder.Path() + "alias.qmt",
                     lines = folder.Path() + "alias.lin";
    Write(text, "// folders\r\nCFG#@CFG\r\nTWO#рус#укр\r\n");

    TLBsAls source;
    ASSERT_EQ(1, source.LoadText(text.c_str(), static_cast<int>(text.size())));
    ASSERT_EQ(1, source.SaveBinary(record.c_str()));
    source.SetFlag(AlsLineForm, true);
    ASSERT_EQ(1, source.SaveBinary(lines.c_str()));
    ASSERT_EQ(1, source.SaveText(text.c_str()));  // replaces the file, without its comment
    EXPECT_EQ("CFG#@CFG\r\nTWO#рус#укр\r\n", Read(text));

    TLBsAls fromRecords, fromLines;
    fromLines.SetFlag(AlsLineForm, true);
    ASSERT_EQ(1, fromRecords.LoadBinary(record.c_str()));
    ASSERT_EQ(1, fromLines.LoadBinary(lines.c_str()));
    for (TLBsAls *list : {&fromRecords, &fromLines}) {
        ASSERT_NE(nullptr, list->Find("TWO"));
        EXPECT_EQ("\x04рус\x05укр", std::string(list->Find("TWO")->Info()));
        EXPECT_EQ("@CFG", std::string(list->Find("CFG")->Info()));
    }
    EXPECT_EQ(0, Read(record).compare(0, 4,
                                      "\xD6\xCC\xD2"
                                      "5"));
}

TEST(AliasFiles, MissingAndEmptyFiles)
{
    Folder folder;
    TLBsAls list;
    const AnsiString missing = folder.Path() + "missing.qmt";
    EXPECT_EQ(0, list.LoadBinary(missing.c_str()));
    EXPECT_EQ(AliasErrOpen, list.LastError());
    EXPECT_EQ(0, list.LoadText(missing.c_str()));
    EXPECT_EQ(AliasErrOpen, list.LastError());
    EXPECT_EQ(0, list.LoadBinary(nullptr));
    EXPECT_EQ(AliasErrOpen, list.LastError());

    const AnsiString empty = folder.Path() + "empty.qmt";
    Write(empty, "");
    EXPECT_EQ(0, list.LoadBinary(empty.c_str()));
    EXPECT_EQ(AliasErrEmpty, list.LastError());
    EXPECT_FALSE(list.Flag(AlsLoaded));
}

TEST(AliasFiles, AFailedSaveKeepsTheOldFile)
{
    Folder folder;
    const AnsiString name = folder.Path() + "alias.txt";
    Write(name, "OLD#1\r\n");
    TLBsAls list;
    ASSERT_EQ(1, list.LoadText(name.c_str()));
    list.AddLink("NEW#2", 5, true);

    // The new file cannot be written beside the old one: the old one stays whole.
    folder.MakeSubfolder("alias.txt.new");
    EXPECT_EQ(0, list.SaveText(name.c_str()));
    EXPECT_EQ(AliasErrOpen, list.LastError());
    EXPECT_EQ("OLD#1\r\n", Read(name));

    // A folder that does not exist.
    const AnsiString nowhere = folder.Path() + "no-such-folder" + folder.Path().back() + "alias.txt";
    EXPECT_EQ(0, list.SaveBinary(nowhere.c_str()));
    EXPECT_EQ(AliasErrOpen, list.LastError());
}

TEST(AliasFiles, ASaveReplacesTheFileInOneStep)
{
    Folder folder;
    const AnsiString name = folder.Path() + "alias.txt";
    Write(name, "OLD#1\r\n");
    Write(name + ".old", "someone else's file");
    TLBsAls list;
    ASSERT_EQ(1, list.LoadText(name.c_str()));
    list.AddLink("NEW#2", 5, true);
    ASSERT_EQ(1, list.SaveText(name.c_str()));
    EXPECT_EQ("OLD#1\r\nNEW#2\r\n", Read(name));
    EXPECT_EQ("someone else's file", Read(name + ".old")) << "no file beside it is touched";
    AliasFileImage none;
    EXPECT_FALSE(ReadAliasFile(AliasFileTempName(name), none));

    // A place the file cannot take: the new file does not stay behind.
    const AnsiString taken = folder.Path() + "taken.txt";
    folder.MakeSubfolder("taken.txt");
    EXPECT_EQ(0, list.SaveText(taken.c_str()));
    EXPECT_FALSE(ReadAliasFile(AliasFileTempName(taken), none));
}

// ---- the shared list -------------------------------------------------------------------------

TEST(SharedAliasList, HoldersShareOneLoadAndTheLastFreesIt)
{
    Folder folder;
    const AnsiString name = folder.Path() + "alias.qmt";
    {
        TLBsAls source;
        ASSERT_EQ(1, source.LoadTextImage(AliasFileImage{'C', 'F', 'G', '#', 'C', ':', '\\', 'P'}));
        ASSERT_EQ(1, source.SaveBinary(name.c_str()));
    }
    ASSERT_EQ(0, TLUAls::Users());
    auto first = std::make_unique<TLUAls>();
    ASSERT_EQ(1, first->Acquire(name.c_str()));
    EXPECT_EQ(1, TLUAls::Users());
    EXPECT_TRUE(first->Flag(AlsFolderBackslash));
    EXPECT_EQ(1, first->Acquire(name.c_str()));  // a holder counts once
    EXPECT_EQ(1, TLUAls::Users());

    // Later holders do not read the file again.
    WriteAliasFile(name, AliasFileImage{});
    TLUAls second;
    EXPECT_EQ(1, second.Load(name));
    EXPECT_EQ(2, TLUAls::Users());
    EXPECT_EQ(first->Head(), second.Head());
    AnsiString out;
    EXPECT_EQ(5, second.ResolveAlias(out, 1, 3, "CFG"));
    EXPECT_EQ("C:\\P\\", out);

    // A holder that never acquired lets go of nothing; its first lookup acquires.
    {
        TLUAls bystander;
        bystander.Release();
        EXPECT_EQ(2, TLUAls::Users());
        EXPECT_EQ(nullptr, bystander.Head());
        EXPECT_EQ(5, bystander.ResolveAlias(out, 1, 3, "CFG"));
        EXPECT_EQ(3, TLUAls::Users());
    }
    EXPECT_EQ(2, TLUAls::Users());

    first.reset();
    EXPECT_EQ(1, TLUAls::Users());
    ASSERT_NE(nullptr, second.Find("CFG"));  // still there for the remaining holder
    second.Release();
    second.Release();
    EXPECT_EQ(0, TLUAls::Users());
    EXPECT_EQ(nullptr, second.Head());

    // The last holder freed the list: the next one reads the file again (now empty).
    TLUAls third;
    EXPECT_EQ(0, third.Acquire(name.c_str()));
    EXPECT_EQ(AliasErrEmpty, third.LastError());
}

TEST(SharedAliasList, EntriesHoldersAppendJoinTheOneChainInOrder)
{
    Folder folder;
    const AnsiString name = folder.Path() + "alias.qmt";
    {
        TLBsAls source;
        ASSERT_EQ(1, source.LoadTextImage(AliasFileImage{'C', 'F', 'G', '#', 'C', ':', '\\', 'P'}));
        ASSERT_EQ(1, source.SaveBinary(name.c_str()));
    }
    TLUAls first, second;
    ASSERT_EQ(1, first.Acquire(name.c_str()));
    SALS_Link *a = first.AddLink("A#1", 0, true);
    ASSERT_EQ(1, second.Acquire(name.c_str()));
    // Each holder appends behind what the other appended, not behind what it appended itself.
    SALS_Link *b = second.AddLink("B#2", 0, true);
    SALS_Link *c = first.AddLink("C#3", 0, true);
    SALS_Link *d = second.AddLink("D#4", 0, true);
    std::string order;
    for (const SALS_Link *e = first.Head(); e != nullptr; e = e->next)
        order += std::string(e->Id()) + ' ';
    EXPECT_EQ("CFG A B C D ", order);
    EXPECT_EQ(a->next, b);
    EXPECT_EQ(c->next, d);
    EXPECT_EQ(d, first.Last());
    EXPECT_EQ(d, second.Last());
    EXPECT_EQ(c, second.Find("C"));
}

TEST(SharedAliasList, AFailedLoadCountsItsUserAndCanBeRetried)
{
    Folder folder;
    const AnsiString name = folder.Path() + "alias.qmt";
    TLUAls early;
    EXPECT_EQ(0, early.Load(name));  // no file yet
    EXPECT_EQ(AliasErrOpen, early.LastError());
    EXPECT_EQ(1, TLUAls::Users());
    early.AddLink("OWN#x", 5, true);  // entries of its own are freed with it

    TLUAls later;
    AnsiString out;
    EXPECT_EQ(0, later.Substitute(out, 1, 0, "CFG#x"));
    EXPECT_EQ(2, TLUAls::Users());

    {
        TLBsAls source;
        ASSERT_EQ(1, source.LoadTextImage(AliasFileImage{'C', 'F', 'G', '#', 'D', ':'}));
        ASSERT_EQ(1, source.SaveBinary(name.c_str()));
    }
    EXPECT_EQ(1, later.Load(name));
    EXPECT_EQ(2, TLUAls::Users());
    EXPECT_EQ(1, early.Load(name));
    EXPECT_EQ(nullptr, early.Find("OWN"));
    later.Substitute(out, 1, 0, "CFG#x");
    EXPECT_EQ("D:\\x", out);
    early.Release();
    later.Release();
    EXPECT_EQ(0, TLUAls::Users());
}

TEST(SharedAliasList, HoldersOnManyThreads)
{
    Folder folder;
    const AnsiString name = folder.Path() + "alias.qmt";
    {
        TLBsAls source;
        ASSERT_EQ(1, source.LoadTextImage(AliasFileImage{'A', '#', 'B'}));
        ASSERT_EQ(1, source.SaveBinary(name.c_str()));
    }
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 200; ++i) {
                TLUAls holder;
                if (holder.Load(name) != 1 || holder.Find("A") == nullptr)
                    ++failures;
            }
        });
    }
    for (auto &t : threads)
        t.join();
    EXPECT_EQ(0, failures.load());
    EXPECT_EQ(0, TLUAls::Users());
}
