#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/text/TextPrims.h"

TEST(TextPrims, FindByteForwardBackwardAndAtTheEnds)
{
    const char abcb[] = {'a', 'b', 'c', 'b'};
    EXPECT_EQ(2, FindByte(abcb, 4, 'b'));
    EXPECT_EQ(4, FindByte(abcb, -4, 'b'));
    EXPECT_EQ(0, FindByte(abcb, 0, 'b'));
    EXPECT_EQ(1, FindByte(abcb, 4, 'a'));
    EXPECT_EQ(1, FindByte(abcb, -4, 'a'));
    EXPECT_EQ(0, FindByte(abcb, 4, 'z'));
    EXPECT_EQ(0, FindByte(abcb, 3, 'z'));
    EXPECT_EQ(3, FindByte(std::string_view("xy\xFF"), '\xFF'));
    EXPECT_EQ(0, FindByte(std::string_view(), 'a'));
    EXPECT_EQ(4, FindLastByte('b', "abcb", 0));
    EXPECT_EQ(0, FindLastByte('b', "", 0));
}

TEST(TextPrims, FindSubstringAtFirstAndLastPositionAndTooLongPatterns)
{
    EXPECT_EQ(1, FindSubstring("abcde", "ab", 0, 0));
    EXPECT_EQ(4, FindSubstring("abcde", "de", 0, 0));
    EXPECT_EQ(0, FindSubstring("abcde", "def", 0, 0));
    EXPECT_EQ(0, FindSubstring("ab", "abc", 0, 0));
    EXPECT_EQ(1, FindSubstring("abc", "abc", 0, 0));
    EXPECT_EQ(0, FindSubstring("abc", "", 0, 0));
    // Counted: the match must lie inside the counted part.
    EXPECT_EQ(0, FindSubstring("abcde", "de", 4, 2));
    EXPECT_EQ(3, FindSubstring(std::string_view("a\0bc", 4), std::string_view("bc")));
}

TEST(TextPrims, FindAnyOfBothDirections)
{
    EXPECT_EQ(2, FindAnyOf("a,b;c", 5, ";,", 2));
    EXPECT_EQ(5, FindAnyOf("abcd;", 5, ";", 1));
    EXPECT_EQ(0, FindAnyOf("abcd", 4, ";", 1));
    EXPECT_EQ(0, FindAnyOf(nullptr, 4, ";", 1));
    EXPECT_EQ(0, FindAnyOf("a;", 0, ";", 1));
    EXPECT_EQ(0, FindAnyOf("a;", 2, ";", 0));

    EXPECT_EQ(2, FindAnyOfDir("a,b;c", 5, ";,", 2, true));
    EXPECT_EQ(4, FindAnyOfDir("a,b;c", 5, ";,", -2, true));
    EXPECT_EQ(1, FindAnyOfDir(",bc", 3, ",", -1, true));
    EXPECT_EQ(0, FindAnyOfDir("abc", 0, ",", 1, true));
    EXPECT_EQ(2, FindAnyOfDir("a,c", 0, ",", 0, false));
    EXPECT_EQ(0, FindAnyOfDir(nullptr, 3, ",", 1, false));
}

TEST(TextPrims, LengthsAndCountedCopies)
{
    EXPECT_EQ(3, StrLenTo("abc"));
    EXPECT_EQ(1, StrLenTo("a#bc", '#'));
    EXPECT_EQ(3, StrLenToEither("abcdef", 3, '#', '|'));
    EXPECT_EQ(2, StrLenToEither("ab|c#", 0, '#', '|'));
    EXPECT_EQ(2, StrLenToEither("ab", 9, '#', '|'));

    char out[16] = {};
    EXPECT_EQ(3, MemCopyN(out, "abc", 0));
    EXPECT_STREQ("abc", out);
    EXPECT_EQ(3, CopyToStop(nullptr, "abc#d", 0, '#'));
    EXPECT_EQ(2, CopyToStop(out, "xyz#d", 2, '#'));
    EXPECT_STREQ("xyc", out);
    EXPECT_EQ(4, CopyBounded(out, 4, "123456", 0));
    EXPECT_EQ(0, CopyBounded(out, 4, nullptr, 3));
    EXPECT_EQ(2, CopyBounded(nullptr, 4, "12", 2));
    EXPECT_EQ(5, UpperCopy(out, "abвгі", 0));
    EXPECT_EQ(std::string("ABВГI"), std::string(out, 5));

    char over[] = "abcdef";
    EXPECT_EQ(4, MemMoveN(over + 2, over, 4));
    EXPECT_STREQ("ababcd", over);

    char rep[] = "a.b.c";
    EXPECT_EQ(5, ReplaceByte(rep, '.', '/', 0));
    EXPECT_STREQ("a/b/c", rep);
}

TEST(TextPrims, FillPlaceholderMergesAtPlaceholders)
{
    char out[64];
    EXPECT_EQ(20, FillPlaceholder(out, "Файл $ не найден", "a.txt", '$', 0, 0));
    EXPECT_STREQ("Файл a.txt не найден", out);
    EXPECT_EQ(14, FillPlaceholder(out, "No file: ", "a.txt", '$', 0, 0));
    EXPECT_STREQ("No file: a.txt", out);
    // The parameter's pieces fill successive placeholders; leftover placeholders vanish.
    EXPECT_EQ("a1b2c", FillPlaceholder("a$b$c", "1$2"));
    EXPECT_EQ("a1bc", FillPlaceholder("a$b$c", "1"));
    EXPECT_EQ("ab12", FillPlaceholder("ab", "1$2"));
    EXPECT_EQ("text", FillPlaceholder("text", ""));
    EXPECT_EQ("x", FillPlaceholder("", "x"));
    EXPECT_EQ(0, FillPlaceholder(nullptr, "a", "b", '$', 0, 0));
    EXPECT_EQ(1, FillPlaceholder(out, "a$", nullptr, '$', 0, 0));
    EXPECT_STREQ("a", out);
}

TEST(TextPrims, TrimBothSides)
{
    char t[] = "--ab-";
    char out[8];
    EXPECT_EQ(3, TrimLeft(t, 0, '-', out));
    EXPECT_STREQ("ab-", out);
    EXPECT_EQ(3, TrimLeft(t, 0, '-', nullptr));
    EXPECT_STREQ("ab-", t);

    char r[] = "ab  ";
    EXPECT_EQ(2, TrimRight(r, 0, ' ', nullptr));
    EXPECT_STREQ("ab", r);
    EXPECT_EQ(1, TrimRight(r, 0, 'b', out));
    EXPECT_STREQ("a", out);

    // A counted text with nothing to drop is left alone: no NUL lands past its count.
    char counted[] = {'a', 'b', 'X'};
    EXPECT_EQ(2, TrimRight(counted, 2, ' ', nullptr));
    EXPECT_EQ('X', counted[2]);
    EXPECT_EQ(2, TrimLeft(counted, 2, ' ', nullptr));
    EXPECT_EQ('X', counted[2]);
    char all[] = "   ";
    EXPECT_EQ(0, TrimRight(all, 0, ' ', nullptr));
    EXPECT_STREQ("", all);
}

TEST(TextPrims, AlignTextInAField)
{
    char f[8];
    auto field = [&](int width, int align) {
        std::memset(f, '#', sizeof f);
        int r = AlignText(f, width, "ab", 2, static_cast<std::uint16_t>(align << 8 | '0'));
        return std::to_string(r) + ":" + std::string(f, static_cast<std::size_t>(width));
    };
    EXPECT_EQ("5:000ab", field(5, 0));
    EXPECT_EQ("5:0ab00", field(5, 1));
    EXPECT_EQ("5:ab000", field(5, 2));
    EXPECT_EQ("5:ab000", field(5, 7));
    EXPECT_EQ("3:ab0", field(3, 1));
    EXPECT_EQ("2:ab", field(2, 0));
    std::memset(f, '#', sizeof f);
    EXPECT_EQ(0, AlignText(f, 1, "ab", 2, '0'));
    EXPECT_EQ('#', f[0]);
}

TEST(TextPrims, CollapseBlanksAndTranslate)
{
    char out[16];
    EXPECT_EQ(3, CollapseBlanks(out, "  a\t b ", 0));
    EXPECT_EQ(std::string("a b"), std::string(out, 3));
    EXPECT_EQ(3, CollapseBlanks(nullptr, "  a\t b ", 0));
    EXPECT_EQ("", CollapseBlanks(" \t "));
    EXPECT_EQ("x y z", CollapseBlanks("x  y\t\tz"));

    char t[] = "a-b_c";
    EXPECT_EQ(5, TranslateBytes(t, t, "-+_\0", 0));
    EXPECT_EQ(std::string("a+bc"), std::string(t, 4));
}

TEST(TextPrims, CompareCountedOfDifferentLengthsIsNeverEqual)
{
    EXPECT_EQ(0, CompareCounted("abc", "abc", 0, 0));
    EXPECT_EQ(0, CompareCounted("", "", 0, 0));
    EXPECT_LT(CompareCounted("abc", "abcd", 0, 0), 0);
    EXPECT_GT(CompareCounted("abcd", "abc", 0, 0), 0);
    EXPECT_EQ('d', CompareCounted("abcd", "abc", 0, 0));
    EXPECT_GT(CompareCounted("\xE0", "A", 0, 0), 0);
    // The longer text goes on with a zero byte: still not equal.
    const char withZero[] = {'a', 'b', 0};
    EXPECT_LT(CompareCounted("ab", withZero, 2, 3), 0);
    EXPECT_GT(CompareCounted(withZero, "ab", 3, 2), 0);
    EXPECT_LT(CompareCounted(std::string_view("ab"), std::string_view(withZero, 3)), 0);
    EXPECT_GT(CompareCounted(std::string_view("b"), std::string_view("ab")), 0);
}

TEST(TextPrims, SmallSearches)
{
    const std::uint32_t values[] = {7, 9, 11};
    EXPECT_EQ(1, FindU32(7, values, sizeof values));
    EXPECT_EQ(3, FindU32(11, values, sizeof values));
    EXPECT_EQ(0, FindU32(11, values, 8));
    EXPECT_EQ(0, FindU32(5, values, sizeof values));

    struct Entry {
        char key[8];
        int extra;
    };
    const Entry table[] = {{{'A', 'L', 'I', 'A', 'S', 0, 0, 0}, 1}, {{'C', 'F', 'G', 0, 0, 0, 0, 0}, 2}};
    const char cfg[8] = {'C', 'F', 'G', 0, 0, 0, 0, 0};
    EXPECT_EQ(1, FindKey8(cfg, table, 2, sizeof(Entry)));
    EXPECT_EQ(1, FindKey8(cfg, table, 1, sizeof(Entry)));

    EXPECT_EQ('\\', EndsWithByte("c:\\dir\\", '\\', 0));
    EXPECT_EQ(0, EndsWithByte("c:\\dir", '\\', 0));
    EXPECT_EQ(0, EndsWithByte("", '\\', 0));

    EXPECT_EQ('a', IsTextChar('a', nullptr, 0));
    EXPECT_EQ('\r', IsTextChar('\r', nullptr, 0));
    EXPECT_EQ(0, IsTextChar('\t', nullptr, 0));
    EXPECT_EQ('\t', IsTextChar('\t', "\t", 0));
    EXPECT_EQ(0, IsTextChar('\0', "\t", 0));
}
