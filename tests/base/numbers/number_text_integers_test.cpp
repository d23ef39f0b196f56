#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "base/numbers/NumberText.h"

namespace {

std::string Written(int n, const char *buffer) { return std::string(buffer, static_cast<std::size_t>(n)); }

struct Read {
    std::int64_t value;
    int consumed;
    bool overflow;
};

Read IntN(const char *text, int maximum = 0)
{
    Read r{0, -1, true};
    r.value = DigitsToIntN(text, maximum, &r.consumed, &r.overflow);
    return r;
}

Read UInt(const char *text, int maximum = 0)
{
    Read r{0, -1, false};
    r.value = DigitsToUInt(text, &r.consumed, maximum);
    return r;
}

Read Hex(const char *text, int maximum = 0)
{
    Read r{0, -1, false};
    r.value = HexToUInt(text, &r.consumed, maximum);
    return r;
}

std::string HexText(std::uint32_t value, int options, int bytes)
{
    char buffer[16];
    int n = UIntToHex(value, buffer, options, bytes);
    EXPECT_EQ(n, UIntToHex(value, nullptr, options, bytes));
    return Written(n, buffer);
}

std::uint32_t HexFlags(const char *text, int *valid = nullptr)
{
    std::uint32_t flags = 0xDEAD;
    int result = CheckHexText(text, static_cast<int>(std::strlen(text)), flags);
    if (valid != nullptr)
        *valid = result;
    EXPECT_EQ(result != 0, IsHexText(text, static_cast<int>(std::strlen(text)), flags));
    return flags;
}

}  // namespace

TEST(NumberTextChecks, DecimalAndClassifyEntryPoints)
{
    std::uint32_t flags = 0;
    EXPECT_TRUE(IsDecimalText("-12,5", 0, ',', &flags));
    EXPECT_EQ(DecimalTextFlags::Minus | DecimalTextFlags::Separator, flags);
    EXPECT_FALSE(IsDecimalText("1,2,3", 0, ',', nullptr));
    EXPECT_EQ(ClassifyNumberText(" 0x1F ", 6, ','), ClassifyNumberText(std::string_view(" 0x1F "), ','));
}

TEST(NumberTextChecks, HexTexts)
{
    using namespace HexTextFlags;
    int valid = 0;
    EXPECT_EQ(0x200Cu, HexFlags("0x1F", &valid));
    EXPECT_EQ(-1, valid);
    EXPECT_EQ(0x80Cu, HexFlags("1Fh", &valid));
    EXPECT_EQ(-1, valid);
    EXPECT_EQ(Prefix | Digit | Letter | Suffix, HexFlags("0x1Fh", &valid));
    EXPECT_EQ(0, valid);
    EXPECT_EQ(Digit | Other, HexFlags("1G", &valid));
    EXPECT_EQ(0, valid);
    EXPECT_EQ(Prefix, HexFlags("0x", &valid));
    EXPECT_EQ(-1, valid);
    EXPECT_EQ(Prefix | Letter, HexFlags("Xab", &valid));
    EXPECT_EQ(-1, valid);
    EXPECT_EQ(Digit | Other, HexFlags("1h2", &valid));  // 'h' only as the last byte
    EXPECT_EQ(0, valid);
    EXPECT_EQ(Digit | Other, HexFlags("1 G", &valid));  // the walk stops at the first bad byte
    std::uint32_t flags = 0;
    EXPECT_EQ(-1, CheckHexText("123", 0, flags));  // a count of 0 is an empty text
    EXPECT_EQ(Empty, flags);
}

TEST(NumberTextChecks, CountDigitText)
{
    std::int32_t value = -1;
    int count = -1;
    EXPECT_EQ(0, CountDigitText("123;45", ";", &value, count));
    EXPECT_EQ(3, count);
    EXPECT_EQ(123, value);
    EXPECT_EQ(1, CountDigitText("123;45", nullptr, &value, count));
    EXPECT_EQ(3, count);
    EXPECT_EQ(0, value);
    EXPECT_EQ(1, CountDigitText("12a", ";,", &value, count));
    EXPECT_EQ(0, CountDigitText("2024", nullptr, &value, count));
    EXPECT_EQ(4, count);
    EXPECT_EQ(2024, value);
    EXPECT_EQ(0, CountDigitText("", nullptr, nullptr, count));
    EXPECT_EQ(0, count);
    EXPECT_EQ(1, CountDigitText("\xB9"
                                "5",
                                "-", &value, count));  // bytes from 0x80 up are no digits
    EXPECT_EQ(0, count);
}

TEST(DecimalIntegers, SeparatedAndFixedWidthTexts)
{
    char buffer[16];
    EXPECT_EQ("-42;", Written(IntToDigitsSep(-42, buffer, ';', '0'), buffer));
    EXPECT_EQ(std::string("0\0", 2), Written(IntToDigitsSep(0, buffer, 0, '0'), buffer));
    EXPECT_EQ(";", Written(IntToDigitsSep(0, buffer, ';', 0), buffer));
    EXPECT_EQ("4294967295|", Written(UIntToDigitsSep(4294967295u, buffer, '|', '0'), buffer));
    EXPECT_EQ("7", Written(UIntToDigits(7, buffer, '0'), buffer));
    EXPECT_EQ("1000000000", Written(UIntToDigits(1000000000u, buffer, '0'), buffer));
    EXPECT_EQ("", Written(UIntToDigits(0, buffer, 0), buffer));

    EXPECT_EQ("   42", Written(IntToFixedWidth(42, buffer, 5, ' '), buffer));
    EXPECT_EQ("*****", Written(IntToFixedWidth(123456, buffer, 5, ' '), buffer));
    EXPECT_EQ("00-42", Written(IntToFixedWidth(-42, buffer, 5, '0'), buffer));
    EXPECT_EQ("0", Written(IntToFixedWidth(0, buffer, 1, ' '), buffer));
    EXPECT_EQ("-2147483648", Written(IntToFixedWidth(INT32_MIN, buffer, 11, ' '), buffer));
    EXPECT_EQ(5, IntToFixedWidth(123456, nullptr, 5, ' '));
}

TEST(DecimalIntegers, SignedReaderWithoutBlanks)
{
    Read r = IntN("-12x");
    EXPECT_EQ(-12, r.value);
    EXPECT_EQ(3, r.consumed);
    r = IntN("-12x", 2);
    EXPECT_EQ(-1, r.value);
    EXPECT_EQ(2, r.consumed);
    EXPECT_TRUE(IntN("3000000000").overflow);
    EXPECT_FALSE(IntN("2147483647").overflow);
    EXPECT_FALSE(IntN("-2147483648").overflow);
    EXPECT_TRUE(IntN("+2147483648").overflow);
    r = IntN(" 5");
    EXPECT_EQ(0, r.value);
    EXPECT_EQ(0, r.consumed);
    r = IntN("+-5");
    EXPECT_EQ(0, r.value);
    EXPECT_EQ(1, r.consumed);
    r = IntN(nullptr);
    EXPECT_EQ(0, r.consumed);
    EXPECT_FALSE(r.overflow);
}

TEST(DecimalIntegers, UnsignedReaderSkipsSignsAndWraps)
{
    Read r = UInt(" +-4294967295");
    EXPECT_EQ(4294967295, r.value);
    EXPECT_EQ(13, r.consumed);
    r = UInt("12345678901");
    EXPECT_EQ(1234567890, r.value);
    EXPECT_EQ(10, r.consumed);
    r = UInt("4294967296");
    EXPECT_EQ(0, r.value);  // modulo 2^32, no report
    r = UInt("  12", 2);
    EXPECT_EQ(0, r.value);
    EXPECT_EQ(2, r.consumed);
    r = UInt("-123", 3);
    EXPECT_EQ(12, r.value);
    EXPECT_EQ(3, r.consumed);
    r = UInt(nullptr);
    EXPECT_EQ(0, r.consumed);
}

TEST(HexIntegers, Readers)
{
    Read r = Hex("0x1F");
    EXPECT_EQ(31, r.value);
    EXPECT_EQ(4, r.consumed);
    r = Hex("  ff");
    EXPECT_EQ(255, r.value);
    EXPECT_EQ(4, r.consumed);
    r = Hex("01");
    EXPECT_EQ(1, r.value);
    EXPECT_EQ(2, r.consumed);
    r = Hex("123456789");
    EXPECT_EQ(0x12345678, r.value);
    EXPECT_EQ(8, r.consumed);
    r = Hex("Xa");
    EXPECT_EQ(10, r.value);
    EXPECT_EQ(2, r.consumed);
    r = Hex("0x1F", 1);  // the prefix does not fit: the '0' is a digit
    EXPECT_EQ(0, r.value);
    EXPECT_EQ(1, r.consumed);
    r = Hex("0x1F", 3);
    EXPECT_EQ(1, r.value);
    EXPECT_EQ(3, r.consumed);
    EXPECT_EQ(0, Hex(nullptr).consumed);

    int consumed = -1;
    EXPECT_EQ(255u, HexToUIntN("0FFh", 0, &consumed));
    EXPECT_EQ(3, consumed);
    EXPECT_EQ(0xABCu, HexToUIntN("ABCD", 3, &consumed));
    EXPECT_EQ(3, consumed);
    EXPECT_EQ(0x12345678u, HexToUIntN("0123456789", 9, &consumed));  // above 8 means 8
    EXPECT_EQ(9, consumed);
    EXPECT_EQ(0u, HexToUIntN("x1", 0, &consumed));
    EXPECT_EQ(0, consumed);
    EXPECT_EQ(0u, HexToUIntN(nullptr, 0, &consumed));
    EXPECT_EQ(0, consumed);
}

TEST(HexIntegers, WriterOptionsAndByteCounts)
{
    EXPECT_EQ("001F", HexText(0x1F, 0, 2));
    EXPECT_EQ("1F", HexText(0x1F, HexNoLeadingZeros, 2));
    EXPECT_EQ("0x1F", HexText(0x1F, HexNoLeadingZeros | HexPrefix0x, 2));
    EXPECT_EQ("x1F", HexText(0x1F, HexNoLeadingZeros | HexPrefixX | HexPrefix0x, 2));
    EXPECT_EQ("0", HexText(0, HexNoLeadingZeros, 4));
    EXPECT_EQ("DEADBEEF", HexText(0xDEADBEEF, 0, 4));
    EXPECT_EQ("DEADBEEF", HexText(0xDEADBEEF, 0, 9));
    EXPECT_EQ("EF", HexText(0xDEADBEEF, 0, 1));
    EXPECT_EQ("EF", HexText(0xDEADBEEF, 0, 0));  // 0 bytes count as one
}

TEST(HexIntegers, WrittenValuesReadBack)
{
    std::mt19937 random(20240229);
    const int options[] = {0, HexNoLeadingZeros, HexPrefixX, HexPrefix0x, HexNoLeadingZeros | HexPrefix0x};
    for (int i = 0; i < 2000; ++i) {
        std::uint32_t value = random() >> (random() % 32);
        int bytes = static_cast<int>(random() % 5);
        int option = options[random() % 5];
        std::string text = HexText(value, option, bytes);
        std::uint32_t mask = bytes >= 4 ? 0xFFFFFFFFu : (1u << (8 * (bytes ? bytes : 1))) - 1;
        int consumed = 0;
        ASSERT_EQ(value & mask, HexToUInt(text.c_str(), &consumed, 0)) << text;
        ASSERT_EQ(static_cast<int>(text.size()), consumed) << text;
    }
}

TEST(HexIntegers, BytePairsStringsAndNibbles)
{
    char pair[2];
    EXPECT_EQ(2, ByteToHexPair(pair, 0xA7));
    EXPECT_EQ("A7", Written(2, pair));
    int count = -1;
    EXPECT_EQ(0xA7, HexPairToByte("a7f", count));
    EXPECT_EQ(2, count);
    EXPECT_EQ(0xA, HexPairToByte("Ag", count));
    EXPECT_EQ(1, count);
    EXPECT_EQ(0, HexPairToByte("g", count));
    EXPECT_EQ(0, count);
    EXPECT_EQ(0, HexPairToByte("", count));
    EXPECT_EQ(0, count);

    std::uint8_t bytes[8] = {};
    EXPECT_EQ(2, HexToBytes("ABC", 3, bytes));
    EXPECT_EQ(0xAB, bytes[0]);
    EXPECT_EQ(0x0C, bytes[1]);
    EXPECT_EQ(2, HexToBytes("ABC", 3, nullptr));
    EXPECT_EQ(2, HexToBytes("0102x03", 7, bytes));
    EXPECT_EQ(2, HexToBytes("01A-3", 5, bytes));  // a single digit before a non-digit
    EXPECT_EQ(0x0A, bytes[1]);
    EXPECT_EQ(1, HexToBytes("01A", 2, bytes));
    EXPECT_EQ(0, HexToBytes("01", 0, bytes));
    EXPECT_EQ(0, HexToBytes(nullptr, 2, bytes));

    const std::uint8_t source[] = {0x12, 0xAF};
    std::uint8_t nibbles[5] = {};
    EXPECT_EQ(4, BytesToNibbles(source, 2, nullptr));
    EXPECT_EQ(4, BytesToNibbles(source, 2, nibbles));
    EXPECT_EQ(1, nibbles[0]);
    EXPECT_EQ(2, nibbles[1]);
    EXPECT_EQ(10, nibbles[2]);
    EXPECT_EQ(15, nibbles[3]);
    EXPECT_EQ(0, BytesToNibbles(nullptr, 2, nibbles));
    nibbles[4] = 9;  // unpaired: ignored
    std::uint8_t back[3] = {};
    EXPECT_EQ(2, NibblesToBytes(nibbles, 5, nullptr));
    EXPECT_EQ(2, NibblesToBytes(nibbles, 5, back));
    EXPECT_EQ(0x12, back[0]);
    EXPECT_EQ(0xAF, back[1]);
    EXPECT_EQ(0, back[2]);
    const std::uint8_t wide[] = {0x1F, 0x23};
    EXPECT_EQ(1, NibblesToBytes(wide, 2, back));
    EXPECT_EQ(0xF3, back[0]);  // low 8 bits of 0x1F << 4 | 0x23
    EXPECT_EQ(0, NibblesToBytes(nullptr, 2, back));
}

TEST(NumberTextBounds, WritersGiveTheLengthTheyWrite)
{
    std::mt19937 random(7);
    char buffer[32];
    for (int i = 0; i < 500; ++i) {
        auto uvalue = static_cast<std::uint32_t>(random() >> (random() % 32));
        auto value = static_cast<std::int32_t>((random() & 1) ? uvalue : 0u - uvalue);
        char zero = (random() & 1) ? '0' : 0;
        EXPECT_EQ(IntToDigits(value, nullptr, zero), IntToDigits(value, buffer, zero));
        EXPECT_EQ(IntToDigitsSep(value, nullptr, ';', zero), IntToDigitsSep(value, buffer, ';', zero));
        EXPECT_EQ(UIntToDigits(uvalue, nullptr, zero), UIntToDigits(uvalue, buffer, zero));
        EXPECT_EQ(UIntToDigitsSep(uvalue, nullptr, ';', zero), UIntToDigitsSep(uvalue, buffer, ';', zero));
        int width = static_cast<int>(random() % 12);
        EXPECT_EQ(IntToFixedWidth(value, nullptr, width, ' '), IntToFixedWidth(value, buffer, width, ' '));
        int options = static_cast<int>(random() % 8);
        int bytes = static_cast<int>(random() % 6);
        EXPECT_EQ(UIntToHex(uvalue, nullptr, options, bytes), UIntToHex(uvalue, buffer, options, bytes));
    }
}

// Random texts, each in a heap block of exactly its size, so that the sanitizers catch any read
// beyond the limit a reader is given.
TEST(NumberTextBounds, ReadersStayWithinTheirLimits)
{
    static const char alphabet[] = "0123456789abcdefABCDEFxXhH +-,.g\xB9";
    std::mt19937 random(12345);
    for (int round = 0; round < 20000; ++round) {
        int size = 1 + static_cast<int>(random() % 14);
        std::unique_ptr<char[]> text(new char[static_cast<std::size_t>(size)]);
        for (int i = 0; i < size; ++i)
            text[static_cast<std::size_t>(i)] = alphabet[random() % (sizeof alphabet - 1)];
        int consumed = -1;
        bool overflow = false;
        DigitsToIntN(text.get(), size, &consumed, &overflow);
        ASSERT_LE(consumed, size);
        DigitsToUInt(text.get(), &consumed, size);
        ASSERT_LE(consumed, size);
        HexToUInt(text.get(), &consumed, size);
        ASSERT_LE(consumed, size);
        ASSERT_LE(HexToBytes(text.get(), size, nullptr), size);
        std::uint32_t flags = 0;
        CheckHexText(text.get(), size, flags);
        if (size >= 2) {
            HexToUIntN(text.get(), size - 1, &consumed);
            ASSERT_LE(consumed, size);
        }
        // The NUL-terminated readers, on the same bytes with their NUL.
        std::unique_ptr<char[]> terminated(new char[static_cast<std::size_t>(size) + 1]);
        std::memcpy(terminated.get(), text.get(), static_cast<std::size_t>(size));
        terminated[static_cast<std::size_t>(size)] = 0;
        int count = -1;
        HexPairToByte(terminated.get(), count);
        std::int32_t value = 0;
        CountDigitText(terminated.get(), ",", &value, count);
        ASSERT_LE(count, size);
    }
}
