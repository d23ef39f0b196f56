// Case rules and alphabet order of code page 1251.
#include <array>

#include "framework/runtime/SysUtils.h"

namespace {

struct CaseTables {
    std::array<unsigned char, 256> upper{};
    std::array<unsigned char, 256> lower{};
    // Sort weight of the upper-case form: every non-letter by its byte value, then the letters in
    // alphabet order (Latin, then Cyrillic).
    std::array<unsigned short, 256> weight{};
};

// Upper/lower pairs outside the regular runs A-Z and А-Я.
constexpr unsigned char kPairs[][2] = {
    {0xA8, 0xB8},  // Ё ё
    {0xAA, 0xBA},  // Є є
    {0xB2, 0xB3},  // І і
    {0xAF, 0xBF},  // Ї ї
    {0xA5, 0xB4},  // Ґ ґ
    {0x80, 0x90},  // Ђ ђ
    {0x81, 0x83},  // Ѓ ѓ
    {0x8A, 0x9A},  // Љ љ
    {0x8C, 0x9C},  // Њ њ
    {0x8D, 0x9D},  // Ќ ќ
    {0x8E, 0x9E},  // Ћ ћ
    {0x8F, 0x9F},  // Џ џ
    {0xA1, 0xA2},  // Ў ў
    {0xA3, 0xBC},  // Ј ј
    {0xBD, 0xBE},  // Ѕ ѕ
};

// Capital Cyrillic letters in alphabet order: the Russian alphabet with the Ukrainian and the other
// letters of the page placed after their nearest relatives.
constexpr unsigned char kCyrillicOrder[] = {
    0xC0,                                            // А
    0xC1, 0xC2,                                      // Б В
    0xC3, 0xA5, 0x81,                                // Г Ґ Ѓ
    0xC4, 0x80,                                      // Д Ђ
    0xC5, 0xA8, 0xAA,                                // Е Ё Є
    0xC6, 0xC7, 0xBD,                                // Ж З Ѕ
    0xC8, 0xB2, 0xAF,                                // И І Ї
    0xC9, 0xA3,                                      // Й Ј
    0xCA, 0x8D,                                      // К Ќ
    0xCB, 0x8A,                                      // Л Љ
    0xCC,                                            // М
    0xCD, 0x8C,                                      // Н Њ
    0xCE, 0xCF, 0xD0, 0xD1,                          // О П Р С
    0xD2, 0x8E,                                      // Т Ћ
    0xD3, 0xA1,                                      // У Ў
    0xD4, 0xD5, 0xD6,                                // Ф Х Ц
    0xD7, 0x8F,                                      // Ч Џ
    0xD8, 0xD9, 0xDA, 0xDB, 0xDC, 0xDD, 0xDE, 0xDF,  // Ш Щ Ъ Ы Ь Э Ю Я
};

CaseTables MakeTables()
{
    CaseTables t;
    for (int b = 0; b < 256; ++b) {
        t.upper[b] = static_cast<unsigned char>(b);
        t.lower[b] = static_cast<unsigned char>(b);
    }
    auto pair = [&t](int up, int low) {
        t.upper[low] = static_cast<unsigned char>(up);
        t.lower[up] = static_cast<unsigned char>(low);
    };
    for (int c = 'A'; c <= 'Z'; ++c)
        pair(c, c + 32);
    for (int c = 0xC0; c <= 0xDF; ++c)
        pair(c, c + 32);
    for (const auto &p : kPairs)
        pair(p[0], p[1]);

    for (int b = 0; b < 256; ++b)
        t.weight[b] = static_cast<unsigned short>(b);
    unsigned short next = 256;
    for (int c = 'A'; c <= 'Z'; ++c)
        t.weight[c] = next++;
    for (unsigned char c : kCyrillicOrder)
        t.weight[c] = next++;
    // Lower-case letters weigh as their capitals.
    for (int b = 0; b < 256; ++b)
        if (t.upper[b] != b)
            t.weight[b] = t.weight[t.upper[b]];
    return t;
}

const CaseTables &Tables()
{
    static const CaseTables tables = MakeTables();
    return tables;
}

unsigned char U(char c) { return static_cast<unsigned char>(c); }

// Compares by weight; when equal and caseSensitive, the first case difference decides (lower
// case first).
int CompareWeighted(const AnsiString &a, const AnsiString &b, bool caseSensitive)
{
    const CaseTables &t = Tables();
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        int wa = t.weight[U(a[i])], wb = t.weight[U(b[i])];
        if (wa != wb)
            return wa < wb ? -1 : 1;
    }
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    if (caseSensitive)
        for (size_t i = 0; i < n; ++i)
            if (a[i] != b[i]) {
                bool aLower = t.upper[U(a[i])] != U(a[i]);
                return aLower ? -1 : 1;
            }
    return 0;
}

}  // namespace

char AnsiUpperChar(char c) { return static_cast<char>(Tables().upper[U(c)]); }
char AnsiLowerChar(char c) { return static_cast<char>(Tables().lower[U(c)]); }

AnsiString AnsiUpperCase(const AnsiString &s)
{
    AnsiString r = s;
    for (char &c : r)
        c = AnsiUpperChar(c);
    return r;
}

AnsiString AnsiLowerCase(const AnsiString &s)
{
    AnsiString r = s;
    for (char &c : r)
        c = AnsiLowerChar(c);
    return r;
}

int AnsiCompareText(const AnsiString &a, const AnsiString &b) { return CompareWeighted(a, b, false); }
bool AnsiSameText(const AnsiString &a, const AnsiString &b) { return AnsiCompareText(a, b) == 0; }
int AnsiCompareStr(const AnsiString &a, const AnsiString &b) { return CompareWeighted(a, b, true); }

AnsiString UpperCase(const AnsiString &s)
{
    AnsiString r = s;
    for (char &c : r)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    return r;
}

AnsiString LowerCase(const AnsiString &s)
{
    AnsiString r = s;
    for (char &c : r)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return r;
}

int CompareText(const AnsiString &a, const AnsiString &b)
{
    AnsiString ua = UpperCase(a), ub = UpperCase(b);
    int r = ua.compare(ub);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

bool SameText(const AnsiString &a, const AnsiString &b) { return CompareText(a, b) == 0; }
