#include "base/text/Case1251.h"

#include <cstring>

namespace {

unsigned char U(char c) { return static_cast<unsigned char>(c); }

int Span(const char *text, int n)
{
    if (text == nullptr || n < 0)
        return 0;
    return n == 0 ? static_cast<int>(std::strlen(text)) : n;
}

bool IsStop(char c, const char *stops) { return stops != nullptr && *stops != 0 && std::strchr(stops, c) != nullptr; }

char Convert(char c, int mode) { return mode == 1 ? LowerChar(c) : UpperChar(c); }

}  // namespace

const char LookAlikePairs[] = "AАBВCСEЕTТOОPРHНKКXХMМ";

char UpperChar(char c)
{
    unsigned char b = U(c);
    if ((b >= 'a' && b <= 'z') || b >= 0xE0)
        return static_cast<char>(b - 32);
    switch (b) {
    case 0xB2:
    case 0xB3: return 'I';
    case 0xBA: return static_cast<char>(0xAA);
    case 0xBF: return static_cast<char>(0xAF);
    default: return c;
    }
}

char LowerChar(char c)
{
    unsigned char b = U(c);
    if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDF))
        return static_cast<char>(b + 32);
    switch (b) {
    case 0xB2:
    case 0xB3: return 'i';
    case 0xAA: return static_cast<char>(0xBA);
    case 0xAF: return static_cast<char>(0xBF);
    default: return c;
    }
}

char LookAlikeChar(char c)
{
    for (const char *p = LookAlikePairs; *p != 0; p += 2) {
        if (*p == c)
            return p[1];
    }
    return c;
}

int CharUpper1251(char *text, int n)
{
    int len = Span(text, n);
    for (int i = 0; i < len; ++i)
        text[i] = UpperChar(text[i]);
    return len;
}

int CharLower1251(char *text, int n)
{
    int len = Span(text, n);
    for (int i = 0; i < len; ++i)
        text[i] = LowerChar(text[i]);
    return len;
}

int FoldLookAlike(char *text, int n)
{
    int len = Span(text, n);
    for (int i = 0; i < len; ++i)
        text[i] = LookAlikeChar(text[i]);
    return len;
}

int CaseText(char *text, int mode, const char *stops)
{
    if (text == nullptr)
        return 0;
    int i = 0;
    for (; text[i] != 0 && !IsStop(text[i], stops); ++i)
        text[i] = Convert(text[i], mode);
    return i;
}

int CaseTextCopy(char *dst, const char *src, int n, int mode)
{
    int len = Span(src, n);
    for (int i = 0; dst != nullptr && i < len; ++i)
        dst[i] = Convert(src[i], mode);
    return len;
}

int CaseTextCopyTo(char *dst, const char *src, const char *stops, int mode)
{
    if (src == nullptr)
        return 0;
    int i = 0;
    for (; src[i] != 0 && !IsStop(src[i], stops); ++i) {
        if (dst != nullptr)
            dst[i] = Convert(src[i], mode);
    }
    return i;
}
