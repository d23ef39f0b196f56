#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/aliases/AliasEntry.h"
#include "base/records/HeaderMagic5.h"

namespace {

SALS_Link Line(const std::string &text)
{
    SALS_Link e;
    ParseAliasLine(e, text, '#');
    return e;
}

SALS_Link Record(const std::string &bytes, char separator = 0x01)
{
    SALS_Link e;
    ParseAliasRecord(e, bytes, separator);
    return e;
}

}  // namespace

TEST(AliasEntry, LineTrimsAndUpperCasesTheIdentifier)
{
    SALS_Link e = Line("  cfg #C:\\P\\CFG\\  ");
    EXPECT_EQ(0, e.error);
    EXPECT_EQ("CFG", e.Id());
    EXPECT_EQ("C:\\P\\CFG\\", e.Info());
    EXPECT_EQ(0, e.info[e.infoLength]);

    e = Line(" my dir#x");  // inner spaces stay, Cyrillic is upper-cased too
    EXPECT_EQ("MY DIR", e.Id());
    EXPECT_EQ("ПАПКА", Line("папка#y").Id());
    EXPECT_EQ("ID", Line("id").Id());  // no separator: no information
    EXPECT_EQ("", Line("id").Info());
}

TEST(AliasEntry, LineLanguageParts)
{
    EXPECT_EQ("\x04рус\x05укр", Line("ID#рус#укр").Info());
    EXPECT_EQ("рус", Line("ID#рус#").Info());
    EXPECT_EQ("", Line("ID##укр").Info());  // plain mode: an empty part leaves the Russian alone
    EXPECT_EQ("\x04рус\x05укр", Line("ID#рус  #укр  ").Info());

    SALS_Link marked = Line("ID# ^рус&укр");
    EXPECT_EQ("\x04рус\x05укр", marked.Info());
    EXPECT_EQ(AliasEntryMarkers, marked.flags);
    EXPECT_EQ("\x04рус\x05укр", Line("ID#&укр^рус").Info());
    EXPECT_EQ("\x04"
              "a#b\x05",
              Line("ID#^a#b").Info());            // '#' is ordinary in marker mode
    EXPECT_EQ("a^b&c", Line("ID#a^b&c").Info());  // and the markers in plain mode
    EXPECT_EQ(0, Line("ID#a^b&c").flags);
}

TEST(AliasEntry, LineErrors)
{
    EXPECT_EQ(AliasErrNoId, Line("#info").error);
    EXPECT_EQ(AliasErrNoId, Line("   #info").error);
    EXPECT_EQ(AliasErrIdTooLong, Line(std::string(16, 'A') + "#x").error);
    EXPECT_EQ(0, Line(std::string(15, 'A') + "#x").error);
    EXPECT_EQ(0, Line(std::string(15, 'A') + "   #x").error);  // trailing spaces do not count

    EXPECT_EQ(0, Line("ID#" + std::string(dfMaxLenAliasInfo, 'x')).error);
    SALS_Link tooLong = Line("ID#" + std::string(dfMaxLenAliasInfo + 1, 'x'));
    EXPECT_EQ(AliasErrInfoTooLong, tooLong.error);
    EXPECT_EQ("ID", tooLong.Id());  // the identifier still names the prefix
    EXPECT_EQ(0, tooLong.infoLength);
    // Two parts whose markers push the information over the limit.
    EXPECT_EQ(AliasErrInfoTooLong, Line("ID#" + std::string(300, 'a') + "#" + std::string(221, 'b')).error);
    EXPECT_EQ(0, Line("ID#" + std::string(300, 'a') + "#" + std::string(220, 'b')).error);
}

TEST(AliasEntry, ParsingResetsAllButTheChain)
{
    SALS_Link next, e;
    e.next = &next;
    ParseAliasLine(e, "ID#^a&b", '#');
    ParseAliasLine(e, "#x", '#');
    EXPECT_EQ(&next, e.next);
    EXPECT_EQ(0, e.flags);
    EXPECT_EQ(0, e.idLength);
    EXPECT_EQ(0, e.infoLength);
    EXPECT_EQ(0, e.info[0]);
}

TEST(AliasEntry, RecordKeepsBytesUnchanged)
{
    SALS_Link e = Record(std::string("cfg \x01\x04рус\x05укр", 13));
    EXPECT_EQ(0, e.error);
    EXPECT_EQ("cfg ", e.Id());  // separator 0x01: the identifier as stored
    EXPECT_EQ("\x04рус\x05укр", e.Info());

    e = Record("cfg  |x y ", '|');
    EXPECT_EQ("CFG", e.Id());
    EXPECT_EQ("x y ", e.Info());
    EXPECT_EQ("ID", Record("ID").Id());

    EXPECT_EQ(AliasErrNoId, Record("\x01x").error);
    EXPECT_EQ(AliasErrIdTooLong, Record(std::string(16, 'A') + "\x01x").error);
    EXPECT_EQ(AliasErrInfoTooLong, Record("A\x01" + std::string(dfMaxLenAliasInfo + 1, 'x')).error);
    EXPECT_EQ(0, Record("A\x01" + std::string(dfMaxLenAliasInfo, 'x')).error);
}

TEST(AliasEntry, Formatting)
{
    const SALS_Link two = Line("ID#рус#укр");
    EXPECT_EQ("ID#рус#укр", FormatAliasLine(two, '#', false));
    EXPECT_EQ("ID#^рус&укр", FormatAliasLine(two, '#', true));
    EXPECT_EQ("ID\x01\x04рус\x05укр", FormatAliasRecord(two, 0x01));
    const SALS_Link plain = Line("ID#a^b");
    EXPECT_EQ("ID#a^b", FormatAliasLine(plain, '#', true));
    EXPECT_EQ("ID|a^b", FormatAliasRecord(plain, '|'));
}

TEST(AliasEntry, ErrorTexts)
{
    EXPECT_STREQ("Отсутствует идентификатор(имя) Alias", AliasErrorText(1));
    EXPECT_STREQ("Список Alias пустой", AliasErrorText(9));
    EXPECT_STREQ("В списке Alias есть ошибки", AliasErrorText(10));
    EXPECT_STREQ("", AliasErrorText(4));
    EXPECT_STREQ("", AliasErrorText(0));
}

TEST(HeaderMagic5, ShortAndLongForms)
{
    HeaderMagic5 h;
    const std::uint8_t expected[8] = {0xD6, 0xCC, 0xD2, 0x35, 0, 0, 0, 0};
    ASSERT_EQ(8u, h.Size());
    EXPECT_EQ(0, std::memcmp(expected, h.Data(), 8));
    h.SetFlagA(1);
    h.SetFlagB(7);
    EXPECT_EQ(1, h.FlagA());
    EXPECT_EQ(7, h.FlagB());
    EXPECT_EQ(1, h.Data()[4]);
    EXPECT_EQ(7, h.Data()[5]);

    h.InitLong();
    const std::uint8_t expectedLong[16] = {0xD6, 0xCC, 0xD2, 0x35, 0, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(16u, h.Size());
    EXPECT_EQ(0, std::memcmp(expectedLong, h.Data(), 16));
    h.Init();
    EXPECT_EQ(8u, h.Size());
    EXPECT_EQ(0, h.FlagA());
}
