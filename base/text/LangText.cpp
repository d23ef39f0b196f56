#include "base/text/LangText.h"

#include <cstring>

#include "base/memory/PackedWord.h"
#include "base/text/TextPrims.h"

const char LangMarkers[4] = {RusMarker, UkrMarker, RusMarkerAlt, UkrMarkerAlt};

std::uint8_t LibraryLanguage = LangRus;
std::uint8_t SecondLanguage = 1;

const AnsiString &RusMarkerText()
{
    static const AnsiString text(1, RusMarker);
    return text;
}

const AnsiString &UkrMarkerText()
{
    static const AnsiString text(1, UkrMarker);
    return text;
}

namespace {

const char EmptyPart[] = "";

int LocatePart(std::uint8_t language, const char *text, int length, char rus, char ukr, const char **start)
{
    if (start != nullptr)
        *start = nullptr;
    if (text == nullptr || length < 0)
        return 0;
    if (length == 0)
        length = static_cast<int>(std::strlen(text));
    if (length == 0)
        return 0;
    int r = 0;
    int u = 0;
    if (language == LangUkr || language == LangRus) {
        r = FindByte(text, length, rus);
        u = FindByte(text, length, ukr);
        if (r == 0 && u == 0)
            language = LangWhole;
    }
    const char *partStart = text;
    int partLength = length;
    if (language == LangUkr) {
        if (u == 0) {
            partStart = EmptyPart;
            partLength = 0;
        } else {
            partStart = text + u;
            partLength = r > u ? r - u - 1 : length - u;
        }
    } else if (language == LangRus) {
        if (r == 0 || u == r + 1) {
            partStart = EmptyPart;
            partLength = 0;
        } else {
            partStart = text + r;
            partLength = u > r ? u - r - 1 : length - r;
        }
    }
    if (start != nullptr)
        *start = partStart;
    return partLength;
}

int CopyLang(std::uint8_t language, const char *src, int length, char *dst, char rus, char ukr)
{
    if (dst == nullptr)
        return 0;
    dst[0] = 0;
    if (src == nullptr)
        return 0;
    bool leadingRule = length < 0;
    int left = leadingRule ? -length : length == 0 ? static_cast<int>(std::strlen(src)) : length;
    if (leadingRule && left > 0) {
        if ((*src == rus && language != LangUkr) || (*src == ukr && language == LangUkr))
            return 0;
        if (*src == rus || *src == ukr) {
            ++src;
            --left;
        }
    }
    enum class Section { Common, Rus, Ukr } section = Section::Common;
    int out = 0;
    for (; left > 0; ++src, --left) {
        char c = *src;
        if (c == rus) {
            section = section == Section::Rus ? Section::Common : Section::Rus;
        } else if (c == ukr) {
            section = section == Section::Ukr ? Section::Common : Section::Ukr;
        } else if (section == Section::Common || (section == Section::Rus && language == LangRus) ||
                   (section == Section::Ukr && language == LangUkr)) {
            dst[out++] = c;
        }
    }
    dst[out] = 0;
    return out;
}

}  // namespace

int LocateLangPart(std::uint8_t language, const char *text, int length, bool altMarkers, const char **start)
{
    return altMarkers ? LocatePart(language, text, length, RusMarkerAlt, UkrMarkerAlt, start)
                      : LocatePart(language, text, length, RusMarker, UkrMarker, start);
}

AnsiString GetLangText(std::uint8_t language, const char *text, int length)
{
    const char *start = nullptr;
    int n = LocatePart(language, text, length, RusMarker, UkrMarker, &start);
    return n > 0 ? AnsiString(start, static_cast<std::size_t>(n)) : AnsiString();
}

AnsiString GetLangText(std::uint8_t language, std::string_view text)
{
    return text.empty() ? AnsiString() : GetLangText(language, text.data(), static_cast<int>(text.size()));
}

std::uint32_t LocateLangSpan(std::uint8_t language, const char *text, std::uint32_t request)
{
    if (text == nullptr)
        return 0;
    int length = PackedLow(request);
    char rus = static_cast<char>(PackedByte(request, 2));
    char ukr = static_cast<char>(PackedByte(request, 3));
    if (length == 0)
        length = static_cast<int>(std::strlen(text));
    if (length == 0)
        return 0;
    auto span = [](int partLength, int offset) {
        std::uint32_t word = 0;
        SetPackedLow(word, static_cast<std::uint16_t>(partLength));
        SetPackedHigh(word, static_cast<std::uint16_t>(offset));
        return word;
    };
    if (*text != rus && *text != ukr)
        return span(length, 0);
    if (language != LangUkr && language != LangRus)
        return 0;
    char own = language == LangRus ? rus : ukr;
    char other = language == LangRus ? ukr : rus;
    const char *rest = text + 1;
    int restLength = length - 1;
    if (*text == own) {
        int p = FindByte(rest, restLength, other);
        return span(p == 0 ? restLength : p - 1, 1);
    }
    int p = FindByte(rest, restLength, own);
    return p == 0 ? 0 : span(length - p - 1, p + 1);
}

namespace {

std::uint32_t SpanRequest(int length, char rus, char ukr)
{
    std::uint32_t word = 0;
    SetPackedLow(word, static_cast<std::uint16_t>(length < 0 ? 0 : length));
    SetPackedByte(word, 2, static_cast<std::uint8_t>(rus));
    SetPackedByte(word, 3, static_cast<std::uint8_t>(ukr));
    return word;
}

}  // namespace

std::uint32_t LocateLangSpanAlt(std::uint8_t language, const char *text, int length)
{
    return LocateLangSpan(language, text, SpanRequest(length, RusMarkerAlt, UkrMarkerAlt));
}

std::uint32_t LocateLangSpanPlain(std::uint8_t language, const char *text, int length)
{
    return LocateLangSpan(language, text, SpanRequest(length, RusMarker, UkrMarker));
}

int CopyLangText(std::uint8_t language, const char *src, int length, char *dst)
{
    return CopyLang(language, src, length, dst, RusMarker, UkrMarker);
}

int CopyLangTextAlt(std::uint8_t language, const char *src, int length, char *dst)
{
    return CopyLang(language, src, length, dst, RusMarkerAlt, UkrMarkerAlt);
}

char LangLetter(std::uint8_t language) { return language == LangUkr ? 'U' : language == LangRus ? 'R' : 0; }

char LangLetterLower(std::uint8_t language) { return language == LangUkr ? 'u' : language == LangRus ? 'r' : 0; }
