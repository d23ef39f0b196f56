#include <gtest/gtest.h>

#include <string>

#include "base/text/LangText.h"
#include "base/memory/PackedWord.h"

namespace {

const std::string RusFirst = "\x04Файл\x05Файл укр";
const std::string UkrFirst = "\x05Файл укр\x04Файл";

std::string Part(std::uint8_t lang, const std::string &text, bool alt = false)
{
    const char *start = nullptr;
    int n = LocateLangPart(lang, text.c_str(), static_cast<int>(text.size()), alt, &start);
    EXPECT_NE(nullptr, start);
    return std::string(start, static_cast<std::size_t>(n));
}

std::string Copy(std::uint8_t lang, const std::string &text, int length, bool alt = false)
{
    std::string out(text.size() + 1, '#');
    int n = alt ? CopyLangTextAlt(lang, text.c_str(), length, out.data())
                : CopyLangText(lang, text.c_str(), length, out.data());
    EXPECT_EQ(0, out[static_cast<std::size_t>(n)]);
    return out.substr(0, static_cast<std::size_t>(n));
}

std::pair<int, int> Span(std::uint8_t lang, const std::string &text, bool alt = false)
{
    std::uint32_t w = alt ? LocateLangSpanAlt(lang, text.c_str(), 0) : LocateLangSpanPlain(lang, text.c_str(), 0);
    return {PackedLow(w), PackedHigh(w)};
}

}  // namespace

TEST(LangText, BothMarkersInBothOrders)
{
    for (const std::string &t : {RusFirst, UkrFirst}) {
        EXPECT_EQ("Файл", Part(LangRus, t));
        EXPECT_EQ("Файл укр", Part(LangUkr, t));
        EXPECT_EQ(t, Part(LangWhole, t));
        EXPECT_EQ(t, Part(7, t));
        EXPECT_EQ("Файл", GetLangText(LangRus, t));
        EXPECT_EQ("Файл укр", GetLangText(LangUkr, t.c_str(), 0));
    }
}

TEST(LangText, OneMarkerNoneAndCommonPrefix)
{
    EXPECT_EQ("", Part(LangUkr, "\x04Слово"));
    EXPECT_EQ("Слово", Part(LangRus, "\x04Слово"));
    EXPECT_EQ("", Part(LangRus, "\x04\x05Слово"));
    EXPECT_EQ("Слово", Part(LangUkr, "\x04\x05Слово"));
    EXPECT_EQ("Слово", Part(LangUkr, "\x05Слово"));
    for (std::uint8_t lang : {0, 1, 2})
        EXPECT_EQ("Plain", Part(lang, "Plain"));
    // A common prefix belongs to neither part once the text holds a marker.
    EXPECT_EQ("Рус", Part(LangRus, "Общ\x04Рус\x05Укр"));
    EXPECT_EQ("Укр", Part(LangUkr, "Общ\x04Рус\x05Укр"));
}

TEST(LangText, EmptyTextHasNoStart)
{
    const char *start = "x";
    EXPECT_EQ(0, LocateLangPart(LangRus, "", 0, false, &start));
    EXPECT_EQ(nullptr, start);
    EXPECT_EQ(0, LocateLangPart(LangRus, nullptr, 5, false, &start));
    EXPECT_EQ("", GetLangText(LangRus, std::string_view()));
    // A counted text is not read past its count.
    EXPECT_EQ("ab", GetLangText(LangRus, "ab\x05zz", 2));
}

TEST(LangText, AlternativeNotation)
{
    EXPECT_EQ("рус", Part(LangRus, "^рус&укр", true));
    EXPECT_EQ("укр", Part(LangUkr, "^рус&укр", true));
    EXPECT_EQ("^рус&укр", Part(LangRus, "^рус&укр", false));
    EXPECT_EQ("укр", Copy(LangUkr, "^рус&укр", 0, true));
}

TEST(LangText, CopyKeepsCommonTextForEveryLanguage)
{
    EXPECT_EQ("ОбщРус", Copy(LangRus, "Общ\x04Рус\x05Укр", 0));
    EXPECT_EQ("ОбщУкр", Copy(LangUkr, "Общ\x04Рус\x05Укр", 0));
    EXPECT_EQ("Общ", Copy(LangWhole, "Общ\x04Рус\x05Укр", 0));
    // The second Russian marker closes the Russian section.
    EXPECT_EQ("ABC", Copy(LangRus,
                          "A\x04"
                          "B\x04"
                          "C",
                          0));
    EXPECT_EQ("AC", Copy(LangUkr,
                         "A\x04"
                         "B\x04"
                         "C",
                         0));
    EXPECT_EQ("a1b", Copy(LangRus,
                          "a\x05u\x04"
                          "1\x04"
                          "b",
                          0));
    EXPECT_EQ("aub", Copy(LangUkr,
                          "a\x05u\x04"
                          "1\x04"
                          "b",
                          0));
    EXPECT_EQ("", Copy(LangRus, "", 0));
}

TEST(LangText, CopyWithTheLeadingMarkerRule)
{
    const std::string t = "\x04Рус\x05Укр";
    int neg = -static_cast<int>(t.size());
    EXPECT_EQ("", Copy(LangRus, t, neg));
    EXPECT_EQ("", Copy(LangWhole, t, neg));
    EXPECT_EQ("РусУкр", Copy(LangUkr, t, neg));
    const std::string u = "\x05Укр\x04Рус";
    int negU = -static_cast<int>(u.size());
    EXPECT_EQ("", Copy(LangUkr, u, negU));
    EXPECT_EQ("УкрРус", Copy(LangRus, u, negU));
    EXPECT_EQ("Укр", Copy(LangWhole, u, negU));
}

TEST(LangText, SpansOfATextThatBeginsWithAMarker)
{
    const std::string t = "\x04"
                          "abc\x05"
                          "de";  // 7 bytes
    EXPECT_EQ(std::make_pair(3, 1), Span(LangRus, t));
    EXPECT_EQ(std::make_pair(2, 5), Span(LangUkr, t));
    EXPECT_EQ(std::make_pair(0, 0), Span(LangWhole, t));
    EXPECT_EQ(std::make_pair(3, 1), Span(LangRus, "^abc&de", true));
    EXPECT_EQ(std::make_pair(3, 1), Span(LangRus, "\x04"
                                                  "abc"));
    EXPECT_EQ(std::make_pair(0, 0), Span(LangUkr, "\x04"
                                                  "abc"));
    EXPECT_EQ(std::make_pair(5, 0), Span(LangUkr, "x\x04"
                                                  "abc"));
    EXPECT_EQ(std::make_pair(0, 0), Span(LangUkr, ""));
}

TEST(LangText, LettersMarkersAndLanguageBytes)
{
    EXPECT_EQ('U', LangLetter(0));
    EXPECT_EQ('R', LangLetter(1));
    EXPECT_EQ(0, LangLetter(2));
    EXPECT_EQ('u', LangLetterLower(0));
    EXPECT_EQ('r', LangLetterLower(1));
    EXPECT_EQ("\x04", RusMarkerText());
    EXPECT_EQ("\x05", UkrMarkerText());
    EXPECT_EQ('^', LangMarkers[2]);
    EXPECT_EQ(1, LibraryLanguage);
    EXPECT_EQ(1, SecondLanguage);
}
