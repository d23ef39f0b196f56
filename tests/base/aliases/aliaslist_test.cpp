#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/aliases/AliasList.h"
#include "base/text/LangText.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes B(const std::string &s) { return Bytes(s.begin(), s.end()); }

std::string S(const Bytes &b) { return std::string(b.begin(), b.end()); }

void Add(TLBsAls &list, const std::string &line) { list.AddLink(line.data(), static_cast<int>(line.size()), true); }

// A record-form file written by hand from the format: header, one tagged record per entry, end.
Bytes HandMadeRecordFile()
{
    std::string f("\xD6\xCC\xD2"
                  "5\x01\x00\x00\x00",
                  8);
    const std::string e1 = "CFG\x01"
                           "C:\\P\\CFG",
                      e2 = std::string("TWO\x01\x04рус\x05укр");
    for (const std::string &e : {e1, e2}) {
        f += std::string("\x00\x00", 2);
        f += static_cast<char>(e.size());
        f += '\0';
        f += e;
    }
    f += std::string("\x00\x60\xFF\xFF", 4);
    return B(f);
}

// A line-form file written by hand: 7-byte headers, the entries as text lines, the at sign end.
Bytes HandMadeLineFile()
{
    std::string f;
    for (const std::string &e : {std::string("cfg#C:\\P\\CFG"), std::string("two#^рус&укр"), std::string("@")}) {
        f += std::string("\x00\xFF\xFF\xFF\xFF", 5);
        f += static_cast<char>(e.size());
        f += '\0';
        f += e;
    }
    return B(f);
}

std::vector<std::pair<std::string, std::string>> Entries(const TLBsAls &list)
{
    std::vector<std::pair<std::string, std::string>> out;
    for (const SALS_Link *e = list.Head(); e != nullptr; e = e->next)
        out.emplace_back(std::string(e->Id()), std::string(e->Info()));
    return out;
}

const std::vector<std::pair<std::string, std::string>> handMade = {{"CFG", "C:\\P\\CFG"}, {"TWO", "\x04рус\x05укр"}};

}  // namespace

TEST(AliasList, NewListIsEmptyWithDefaultSeparators)
{
    TLBsAls list;
    EXPECT_EQ(nullptr, list.Head());
    EXPECT_EQ(0, list.FlagWord().flags);
    EXPECT_EQ(0x01, list.RecordSeparator());
    EXPECT_EQ('#', list.TextSeparator());
    EXPECT_EQ(0, list.LastError());
}

TEST(AliasList, HandMadeFilesOfEachForm)
{
    TLBsAls records;
    ASSERT_EQ(1, records.LoadBinaryImage(HandMadeRecordFile()));
    EXPECT_TRUE(records.Flag(AlsLoaded));
    EXPECT_EQ(handMade, Entries(records));

    TLBsAls lines;
    lines.SetFlag(AlsLineForm, true);
    ASSERT_EQ(1, lines.LoadBinaryImage(HandMadeLineFile()));
    EXPECT_EQ(handMade, Entries(lines));

    TLBsAls text;
    const std::string file = "// comment\r\nX\r\n\r\n cfg # C:\\P\\CFG \r\n//TWO#no\n\rtwo#рус#укр\n\nLAST#L:\\";
    ASSERT_EQ(1, text.LoadTextImage(B(file)));
    auto expected = handMade;
    expected.emplace_back("LAST", "L:\\");  // a last line without CR LF
    EXPECT_EQ(expected, Entries(text));
}

TEST(AliasList, EachFormWrittenAndReadBack)
{
    TLBsAls source;
    ASSERT_EQ(1, source.LoadTextImage(B("CFG#@CFG\r\nTWO#рус#укр\r\nMRK#^a#b&c\r\nONE#^рус\r\n")));
    const auto entries = Entries(source);

    // Record form: information bytes unchanged, the two-language entries included.
    const Bytes recordFile = source.BinaryImage();
    EXPECT_EQ(0, std::memcmp(recordFile.data(),
                             "\xD6\xCC\xD2"
                             "5\x01\x00\x00\x00",
                             8));
    TLBsAls records;
    ASSERT_EQ(1, records.LoadBinaryImage(recordFile));
    EXPECT_EQ(entries, Entries(records));
    EXPECT_EQ(recordFile, records.BinaryImage());

    // Line and text forms with the markers written as '^' and '&'.
    for (bool lineForm : {true, false}) {
        source.SetFlag(AlsWriteMarkers, true);
        source.SetFlag(AlsLineForm, lineForm);
        TLBsAls back;
        back.SetFlag(AlsLineForm, lineForm);
        ASSERT_EQ(1, lineForm ? back.LoadBinaryImage(source.BinaryImage()) : back.LoadTextImage(source.TextImage()));
        EXPECT_EQ(entries, Entries(back)) << (lineForm ? "line form" : "text form");
    }
    EXPECT_EQ("CFG#@CFG\r\nTWO#^рус&укр\r\nMRK#^a#b&c\r\nONE#^рус&\r\n", S(source.TextImage()));
    // Without the markers flag the parts are split by the separator.
    source.SetFlag(AlsWriteMarkers, false);
    TLBsAls plain;
    ASSERT_EQ(1, plain.LoadTextImage(source.TextImage()));
    EXPECT_EQ("\x04рус\x05укр", std::string(plain.Find("TWO")->Info()));
}

TEST(AliasList, LineFormFileLayout)
{
    TLBsAls list;
    Add(list, "A#b");
    list.SetFlag(AlsLoaded, true);
    list.SetFlag(AlsLineForm, true);
    EXPECT_EQ(std::string("\x00\xFF\xFF\xFF\xFF\x03\x00"
                          "A#b"
                          "\x00\xFF\xFF\xFF\xFF\x01\x00@",
                          18),
              S(list.BinaryImage()));
    list.SetFlag(AlsLineForm, false);
    EXPECT_EQ(std::string("\xD6\xCC\xD2"
                          "5\x01\x00\x00\x00"
                          "\x00\x00\x03\x00"
                          "A\x01"
                          "b"
                          "\x00\x60\xFF\xFF",
                          19),
              S(list.BinaryImage()));
}

TEST(AliasList, EntriesWithErrorsStayButAreNeitherFoundNorWritten)
{
    TLBsAls list;
    ASSERT_EQ(1, list.LoadTextImage(
                     B("#nothing\r\n" + std::string(16, 'L') + "#x\r\nBIG#" + std::string(600, 'x') + "\r\nOK#y\r\n")));
    EXPECT_TRUE(list.Flag(AlsHasErrors));
    ASSERT_EQ(4u, Entries(list).size());
    EXPECT_EQ(nullptr, list.Find(""));
    EXPECT_EQ(nullptr, list.Find("BIG"));
    ASSERT_NE(nullptr, list.Find("OK"));
    EXPECT_EQ("OK#y\r\n", S(list.TextImage()));
}

TEST(AliasList, AnIdentifierThatLooksLikeACommentSurvivesTheTextForm)
{
    TLBsAls list;
    ASSERT_EQ(1, list.LoadTextImage(B(" //X#a\r\n")));
    ASSERT_NE(nullptr, list.Find("//X"));
    TLBsAls back;
    ASSERT_EQ(1, back.LoadTextImage(list.TextImage()));
    EXPECT_NE(nullptr, back.Find("//X"));
}

TEST(AliasList, DamagedFilesOfEachFormAreRefused)
{
    const Bytes record = HandMadeRecordFile();
    std::vector<Bytes> badRecords = {
        Bytes(record.begin(), record.begin() + 5),   // shorter than the header
        Bytes(record.begin(), record.begin() + 8),   // header without end record
        Bytes(record.begin(), record.end() - 4),     // end record missing
        Bytes(record.begin(), record.begin() + 14),  // first record cut short
    };
    Bytes longRecord = record;
    longRecord[10] = 0xF0;  // first record claims more than the file holds
    badRecords.push_back(longRecord);
    for (const Bytes &bad : badRecords) {
        TLBsAls list;
        Add(list, "KEEP#me");
        EXPECT_EQ(0, list.LoadBinaryImage(bad));
        EXPECT_EQ(AliasErrDamaged, list.LastError());
        EXPECT_FALSE(list.Flag(AlsLoaded));
        EXPECT_EQ(1u, Entries(list).size());  // nothing added, nothing lost
    }

    const Bytes line = HandMadeLineFile();
    Bytes longLine = line;
    longLine[5] = 0xFF;
    for (const Bytes &bad : {Bytes(line.begin(), line.end() - 8), Bytes(line.begin(), line.begin() + 6),
                             Bytes(line.begin(), line.end() - 1), longLine}) {
        TLBsAls list;
        list.SetFlag(AlsLineForm, true);
        EXPECT_EQ(0, list.LoadBinaryImage(bad));
        EXPECT_EQ(AliasErrDamaged, list.LastError());
        EXPECT_EQ(nullptr, list.Head());
    }

    TLBsAls text;
    EXPECT_EQ(0, text.LoadTextImage(B(std::string("A#b\r\nC#\0d\r\n", 11))));
    EXPECT_EQ(AliasErrDamaged, text.LastError());
    EXPECT_EQ(nullptr, text.Head());
    // A refused list can be loaded again.
    EXPECT_EQ(1, text.LoadTextImage(B("A#b")));
    EXPECT_NE(nullptr, text.Find("A"));
}

TEST(AliasList, EmptyFilesAndSecondLoads)
{
    TLBsAls list;
    EXPECT_EQ(0, list.LoadBinaryImage({}));
    EXPECT_EQ(AliasErrEmpty, list.LastError());
    EXPECT_EQ(0, list.LoadTextImage({}));
    EXPECT_EQ(AliasErrEmpty, list.LastError());
    EXPECT_FALSE(list.Flag(AlsLoaded));

    Add(list, "FIRST#1");
    ASSERT_EQ(1, list.LoadTextImage(B("SECOND#2")));
    EXPECT_EQ(1, list.LoadTextImage(B("THIRD#3")));  // already loaded: nothing happens
    EXPECT_EQ((std::vector<std::pair<std::string, std::string>>{{"FIRST", "1"}, {"SECOND", "2"}}), Entries(list));
}

TEST(AliasList, ChainOperations)
{
    TLBsAls list;
    SALS_Link *a = list.AddLink("A#1", 3, true);
    SALS_Link *b = list.AddLink("B\x01"
                                "2",
                                3, false);
    SALS_Link *c = list.AddLink("C#3", 0, true);
    EXPECT_EQ(a, list.Head());
    EXPECT_EQ(c, list.Last());
    EXPECT_EQ(a, list.Before(b));
    EXPECT_EQ(nullptr, list.Before(a));
    EXPECT_EQ(c, TLBsAls::After(b));
    EXPECT_EQ("2", b->Info());
    EXPECT_EQ(b, list.Find("B", 1));
    EXPECT_EQ(b, list.Find("Bxx", 1));
    EXPECT_EQ(nullptr, list.Find("b"));
    list.FreeAll();
    EXPECT_EQ(nullptr, list.Head());
    EXPECT_EQ(nullptr, list.Last());
    // Appending after the chain was freed starts a new one.
    SALS_Link *d = list.AddLink("D#4", 0, true);
    EXPECT_EQ(d, list.Head());
    EXPECT_EQ(d, list.Last());
    EXPECT_EQ(nullptr, d->next);
}

TEST(AliasList, ForEachCountsTrueResultsUntilFalse)
{
    TLBsAls list;
    for (const char *l : {"A#1", "B#2", "C#3"})
        Add(list, l);
    std::string seen;
    auto collect = [](void *context, TLBsAls &, SALS_Link &entry, void *parameter) {
        *static_cast<std::string *>(context) += entry.Id();
        return entry.Id() != *static_cast<std::string *>(parameter);
    };
    std::string stopAt = "B";
    EXPECT_EQ(1, list.ForEach(&stopAt, collect, &seen));
    EXPECT_EQ("AB", seen);
    stopAt = "none";
    EXPECT_EQ(3, list.ForEach(&stopAt, collect, &seen));
    EXPECT_EQ(0, list.ForEach(&stopAt, nullptr, &seen));
}

TEST(AliasList, ResolveAliasInEachLanguage)
{
    SetAliasAppFolder("C:\\APP");
    TLBsAls list;
    for (const char *l : {"TWO#рус#укр", "APP#@", "SUB#@CFG", "ABS#@\\X", "MIX#^@R&U:\\", "EMPTY#"})
        Add(list, l);
    AnsiString out;
    EXPECT_EQ(3, list.ResolveAlias(out, LangRus, 3, "TWO"));
    EXPECT_EQ("рус", out);
    list.ResolveAlias(out, LangUkr, 3, "TWO");
    EXPECT_EQ("укр", out);
    list.ResolveAlias(out, LangWhole, 3, "TWO");
    EXPECT_EQ("\x04рус\x05укр", out);
    list.ResolveAlias(out, LangRus, 3, "APP");
    EXPECT_EQ("C:\\APP", out);
    list.ResolveAlias(out, LangRus, 3, "SUB");
    EXPECT_EQ("C:\\APP\\CFG", out);
    list.ResolveAlias(out, LangRus, 3, "ABS");
    EXPECT_EQ("C:\\APP\\X", out);
    list.ResolveAlias(out, LangRus, 3, "MIX");
    EXPECT_EQ("C:\\APP\\R", out);
    list.ResolveAlias(out, LangUkr, 3, "MIX");
    EXPECT_EQ("U:\\", out);
    EXPECT_EQ(0, list.ResolveAlias(out, LangRus, 5, "EMPTY"));
    EXPECT_EQ(0, list.ResolveAlias(out, LangRus, 3, "XYZ"));
    EXPECT_EQ("", out);

    list.SetFlag(AlsFolderBackslash, true);
    list.ResolveAlias(out, LangRus, 3, "SUB");
    EXPECT_EQ("C:\\APP\\CFG\\", out);
    list.ResolveAlias(out, LangUkr, 3, "MIX");
    EXPECT_EQ("U:\\", out);
}

TEST(AliasList, Substitute)
{
    SetAliasAppFolder("C:\\APP");
    TLBsAls list;
    Add(list, "CFG#@CFG");
    Add(list, "P#C:\\P");
    AnsiString out;
    EXPECT_EQ(static_cast<int>(std::strlen("C:\\APP\\CFGcfg.qmt")), list.Substitute(out, LangRus, 0, "CFG#cfg.qmt"));
    EXPECT_EQ("C:\\APP\\CFGcfg.qmt", out);
    EXPECT_EQ(10, list.Substitute(out, LangRus, 4, "cfg#cfg.qmt"));  // the length counts
    EXPECT_EQ("C:\\APP\\CFG", out);
    list.SetFlag(AlsFolderBackslash, true);
    list.Substitute(out, LangRus, 0, "CFG#cfg.qmt");
    EXPECT_EQ("C:\\APP\\CFG\\cfg.qmt", out);
    list.Substitute(out, LangRus, 0, " p #x\\y");
    EXPECT_EQ("C:\\P\\x\\y", out);
    EXPECT_EQ(8, list.Substitute(out, LangRus, 0, "C:\\plain"));
    EXPECT_EQ("C:\\plain", out);
    EXPECT_EQ(0, list.Substitute(out, LangRus, 0, "XYZ#a"));
    EXPECT_EQ("", out);
    EXPECT_EQ(0, list.Substitute(out, LangRus, 0, "#a"));
    EXPECT_EQ(0, list.Substitute(out, LangRus, 0, ""));
}

TEST(AliasList, SplitAliasPrefix)
{
    TLBsAls list;
    SALS_Link entry;
    int length = 0;
    EXPECT_EQ(4, list.SplitAliasPrefix(entry, "cfg#a#b", length));
    EXPECT_EQ(7, length);
    EXPECT_EQ("CFG", entry.Id());
    length = 0;
    EXPECT_EQ(0, list.SplitAliasPrefix(entry, "plain", length));
    EXPECT_EQ(5, length);
    length = 0;
    EXPECT_EQ(0, list.SplitAliasPrefix(entry, "", length));
}

TEST(AliasList, SetInfoFromText)
{
    TLBsAls list;
    Add(list, "CFG#old");
    EXPECT_EQ(5, list.SetInfoFromText("cfg#\x04"
                                      "a\x05"
                                      "b\x01"));
    EXPECT_EQ("\x04"
              "a\x05"
              "b\x01",
              std::string(list.Find("CFG")->Info()));
    EXPECT_EQ(0, list.SetInfoFromText("CFG#"));
    EXPECT_EQ("", std::string(list.Find("CFG")->Info()));
    EXPECT_EQ(0, list.SetInfoFromText("XYZ#new"));
    EXPECT_EQ(0, list.SetInfoFromText("CFG"));
    const std::string tooLong = "CFG#" + std::string(dfMaxLenAliasInfo + 1, 'x');
    list.SetInfoFromText("CFG#kept");
    EXPECT_EQ(-1, list.SetInfoFromText(tooLong.c_str()));
    EXPECT_EQ("kept", std::string(list.Find("CFG")->Info()));
    EXPECT_EQ(dfMaxLenAliasInfo, list.SetInfoFromText(tooLong.c_str(), static_cast<int>(tooLong.size()) - 1));
}

TEST(AliasList, LookupsCallTheLoaderButFindDoesNot)
{
    struct Context {
        TLBsAls *list;
        int calls = 0;
    };
    TLBsAls list;
    Context context{&list};
    list.SetLoader(
        [](void *c) {
            auto *ctx = static_cast<Context *>(c);
            ++ctx->calls;
            return ctx->list->LoadTextImage(B("CFG#C:\\CFG"));
        },
        &context);
    EXPECT_EQ(nullptr, list.Find("CFG"));
    EXPECT_EQ(0, context.calls);
    AnsiString out;
    EXPECT_EQ(6, list.ResolveAlias(out, LangRus, 3, "CFG"));
    EXPECT_EQ(1, context.calls);
    list.Substitute(out, LangRus, 0, "CFG#x");
    EXPECT_EQ(1, context.calls);  // loaded now
    EXPECT_EQ("C:\\CFGx", out);
}

TEST(AliasList, ExpandAliases)
{
    SetAliasAppFolder("C:\\APP");
    TLBsAls list;
    Add(list, "CFG#@CFG");
    Add(list, "ROOT#D:\\");
    EXPECT_EQ("data.txt", ExpandAliases(list, "@data.txt", ""));
    EXPECT_EQ("", ExpandAliases(list, "@", ""));
    EXPECT_EQ("data.txt", ExpandAliases(list, "data.txt", "CFG"));
    EXPECT_EQ("C:\\APP\\CFG\\data.txt", ExpandAliases(list, "@data.txt", "CFG"));
    EXPECT_EQ("C:\\APP\\CFG\\data.txt", ExpandAliases(list, "@data.txt", "cfg#"));
    EXPECT_EQ("D:\\data.txt", ExpandAliases(list, "@data.txt", "ROOT"));
    // An unknown alias gives no path at all rather than a bare file name.
    EXPECT_EQ("", ExpandAliases(list, "@data.txt", "XYZ"));
}

TEST(AliasList, SavingAListThatWasNeverLoadedWritesNothing)
{
    TLBsAls list;
    Add(list, "A#b");
    EXPECT_EQ(0, list.SaveBinary("never-written.als"));
    EXPECT_EQ(0, list.SaveText("never-written.als"));
    EXPECT_EQ(0, list.LastError());
}
