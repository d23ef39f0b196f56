#include "base/text/TextPrims.h"

#include <cstring>

#include "base/text/Case1251.h"
#include "base/memory/MemBlock.h"

namespace {

// The byte count of a text by the shared convention: 0 means up to the NUL; a null text and a
// negative count have no bytes.
int Span(const char *text, int n)
{
    if (text == nullptr || n < 0)
        return 0;
    return n == 0 ? static_cast<int>(std::strlen(text)) : n;
}

bool InSet(char c, const char *set, int setLength)
{
    return std::memchr(set, c, static_cast<std::size_t>(setLength)) != nullptr;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

int ReplaceByte(char *text, char from, char to, int n)
{
    int len = Span(text, n);
    for (int i = 0; i < len; ++i) {
        if (text[i] == from)
            text[i] = to;
    }
    return len;
}

int StrLenTo(const char *text, char stop)
{
    if (text == nullptr)
        return 0;
    const char *p = text;
    while (*p != stop)
        ++p;
    return static_cast<int>(p - text);
}

int StrLenToEither(const char *text, int n, char stop1, char stop2)
{
    if (text == nullptr || n < 0)
        return 0;
    int i = 0;
    for (; (n == 0 || i < n) && text[i] != 0 && text[i] != stop1 && text[i] != stop2; ++i) {}
    return i;
}

int FindAnyOf(const char *text, int n, const char *set, int setLength)
{
    if (text == nullptr || set == nullptr || n <= 0 || setLength <= 0)
        return 0;
    for (int i = 0; i < n; ++i) {
        if (InSet(text[i], set, setLength))
            return i + 1;
    }
    return 0;
}

int FindAnyOfDir(const char *text, int length, const char *set, int setLength, bool check)
{
    if (text == nullptr || set == nullptr)
        return 0;
    if (check && (length == 0 || setLength == 0))
        return 0;
    bool backward = setLength < 0;
    int setLen = Span(set, backward ? -setLength : setLength);
    int len = Span(text, length);
    if (setLen == 0)
        return 0;
    if (backward) {
        for (int i = len; i > 0; --i) {
            if (InSet(text[i - 1], set, setLen))
                return i;
        }
        return 0;
    }
    for (int i = 0; i < len; ++i) {
        if (InSet(text[i], set, setLen))
            return i + 1;
    }
    return 0;
}

int MemCopyN(char *dst, const char *src, int n)
{
    int len = Span(src, n);
    if (dst != nullptr && len > 0)
        std::memcpy(dst, src, static_cast<std::size_t>(len));
    return len;
}

int MemMoveN(void *dst, const void *src, int n)
{
    if (dst != nullptr && src != nullptr && n > 0)
        MemMove(dst, src, n);
    return n;
}

int CopyToStop(char *dst, const char *src, int n, char stop)
{
    if (src == nullptr || n < 0)
        return 0;
    int i = 0;
    for (; (n == 0 || i < n) && src[i] != 0 && src[i] != stop; ++i) {
        if (dst != nullptr)
            dst[i] = src[i];
    }
    return i;
}

int UpperCopy(char *dst, const char *src, int n)
{
    int len = Span(src, n);
    for (int i = 0; dst != nullptr && i < len; ++i)
        dst[i] = UpperChar(src[i]);
    return len;
}

int FillPlaceholder(char *dst, const char *text, const char *parameter, char placeholder, int textLength,
                    int parameterLength)
{
    if (dst == nullptr)
        return 0;
    struct Source {
        const char *p;
        int left;
    };
    Source a{text, Span(text, textLength)};
    Source b{parameter, Span(parameter, parameterLength)};
    int out = 0;
    auto take = [&](Source &s) {
        while (s.left > 0) {
            char c = *s.p++;
            --s.left;
            if (c == placeholder)
                return;
            dst[out++] = c;
        }
    };
    while (a.left > 0 || b.left > 0) {
        take(a);
        take(b);
    }
    dst[out] = 0;
    return out;
}

AnsiString FillPlaceholder(std::string_view text, std::string_view parameter, char placeholder)
{
    AnsiString out(text.size() + parameter.size() + 1, '\0');
    // The counted core reads a count of 0 as "up to the NUL"; an empty view must stay empty.
    int n = FillPlaceholder(out.data(), text.empty() ? nullptr : text.data(),
                            parameter.empty() ? nullptr : parameter.data(), placeholder, static_cast<int>(text.size()),
                            static_cast<int>(parameter.size()));
    out.resize(static_cast<std::size_t>(n));
    return out;
}

int TrimLeft(char *src, int n, char ch, char *dst)
{
    int len = Span(src, n);
    int skip = 0;
    while (skip < len && src[skip] == ch)
        ++skip;
    int count = len - skip;
    if (dst == nullptr) {
        // In place: a text with nothing dropped stays as it is, so a counted text is never
        // terminated one byte past its end.
        if (skip > 0) {
            MemMove(src, src + skip, count);
            src[count] = 0;
        }
    } else {
        if (count > 0)
            std::memcpy(dst, src + skip, static_cast<std::size_t>(count));
        dst[count] = 0;
    }
    return count;
}

int TrimRight(char *src, int n, char ch, char *dst)
{
    int len = Span(src, n);
    int kept = len;
    while (kept > 0 && src[kept - 1] == ch)
        --kept;
    if (dst == nullptr) {
        if (kept < len)
            src[kept] = 0;
    } else {
        if (kept > 0)
            std::memcpy(dst, src, static_cast<std::size_t>(kept));
        dst[kept] = 0;
    }
    return kept;
}

int AlignText(char *dst, int width, const char *src, int length, std::uint16_t spec)
{
    int len = Span(src, length);
    if (width < 0 || len > width)
        return 0;
    if (dst == nullptr)
        return width;
    char pad = static_cast<char>(spec & 0xFF);
    int align = spec >> 8;
    int free = width - len;
    int before = align == 0 ? free : align == 1 ? free / 2 : 0;
    std::memset(dst, pad, static_cast<std::size_t>(width));
    if (len > 0)
        std::memcpy(dst + before, src, static_cast<std::size_t>(len));
    return width;
}

int CopyBounded(char *dst, int capacity, const char *src, int length)
{
    if (src == nullptr || capacity <= 0)
        return 0;
    int len = Span(src, length);
    int count = len < capacity ? len : capacity;
    if (dst != nullptr && count > 0)
        std::memcpy(dst, src, static_cast<std::size_t>(count));
    return count;
}

int CollapseBlanks(char *dst, const char *src, int n)
{
    int len = Span(src, n);
    int begin = 0;
    while (begin < len && IsBlank(src[begin]))
        ++begin;
    while (len > begin && IsBlank(src[len - 1]))
        --len;
    int out = 0;
    bool inRun = false;
    for (int i = begin; i < len; ++i) {
        if (IsBlank(src[i])) {
            inRun = true;
            continue;
        }
        if (inRun) {
            if (dst != nullptr)
                dst[out] = ' ';
            ++out;
            inRun = false;
        }
        if (dst != nullptr)
            dst[out] = src[i];
        ++out;
    }
    return out;
}

AnsiString CollapseBlanks(std::string_view text)
{
    AnsiString out(text);
    if (text.empty())
        return out;
    out.resize(static_cast<std::size_t>(CollapseBlanks(out.data(), out.data(), static_cast<int>(out.size()))));
    return out;
}

int TranslateBytes(char *dst, const char *src, const char *pairs, int n)
{
    int len = Span(src, n);
    int out = 0;
    for (int i = 0; i < len; ++i) {
        char c = src[i];
        bool keep = true;
        for (const char *p = pairs; p != nullptr && *p != 0; p += 2) {
            if (*p == c) {
                c = p[1];
                keep = c != 0;
                break;
            }
        }
        if (keep && dst != nullptr)
            dst[out] = c;
        out += keep ? 1 : 0;
    }
    return len;
}

int CompareCounted(const char *a, const char *b, int lengthA, int lengthB)
{
    int la = Span(a, lengthA);
    int lb = Span(b, lengthB);
    int common = la < lb ? la : lb;
    int r = common > 0 ? MemCompare(a, b, static_cast<std::size_t>(common)) : 0;
    if (r != 0 || la == lb)
        return r;
    // Texts of different lengths never compare equal, not even when the longer one goes on
    // with a zero byte.
    if (la > lb) {
        int next = static_cast<unsigned char>(a[common]);
        return next == 0 ? 1 : next;
    }
    int next = static_cast<unsigned char>(b[common]);
    return next == 0 ? -1 : -next;
}

int CompareCounted(std::string_view a, std::string_view b)
{
    int common = static_cast<int>(a.size() < b.size() ? a.size() : b.size());
    int r = common > 0 ? MemCompare(a.data(), b.data(), static_cast<std::size_t>(common)) : 0;
    if (r != 0 || a.size() == b.size())
        return r;
    if (a.size() > b.size()) {
        int next = static_cast<unsigned char>(a[static_cast<std::size_t>(common)]);
        return next == 0 ? 1 : next;
    }
    int next = static_cast<unsigned char>(b[static_cast<std::size_t>(common)]);
    return next == 0 ? -1 : -next;
}

int FindByte(const char *text, int n, char byte)
{
    if (text == nullptr || n == 0)
        return 0;
    if (n > 0) {
        const void *hit = std::memchr(text, byte, static_cast<std::size_t>(n));
        return hit == nullptr ? 0 : static_cast<int>(static_cast<const char *>(hit) - text) + 1;
    }
    for (int i = -n; i > 0; --i) {
        if (text[i - 1] == byte)
            return i;
    }
    return 0;
}

int FindByte(std::string_view text, char byte)
{
    return text.empty() ? 0 : FindByte(text.data(), static_cast<int>(text.size()), byte);
}

int FindLastByte(char byte, const char *text, int n)
{
    int len = Span(text, n);
    return len == 0 ? 0 : FindByte(text, -len, byte);
}

int FindU32(std::uint32_t value, const std::uint32_t *array, int byteSize)
{
    if (array == nullptr || byteSize <= 0)
        return 0;
    int count = byteSize / 4;
    for (int i = 0; i < count; ++i) {
        if (array[i] == value)
            return i + 1;
    }
    return 0;
}

int FindSubstring(const char *text, const char *pattern, int textLength, int patternLength)
{
    int tl = Span(text, textLength);
    int pl = Span(pattern, patternLength);
    if (pl == 0 || pl > tl)
        return 0;
    for (int i = 0; i <= tl - pl; ++i) {
        if (text[i] == pattern[0] && std::memcmp(text + i, pattern, static_cast<std::size_t>(pl)) == 0)
            return i + 1;
    }
    return 0;
}

int FindSubstring(std::string_view text, std::string_view pattern)
{
    if (pattern.empty() || pattern.size() > text.size())
        return 0;
    return FindSubstring(text.data(), pattern.data(), static_cast<int>(text.size()), static_cast<int>(pattern.size()));
}

int FindKey8(const void *key, const void *table, int count, int stride)
{
    if (key == nullptr || table == nullptr || count <= 0)
        return count < 0 ? 0 : count;
    const auto *row = static_cast<const unsigned char *>(table);
    for (int i = 0; i < count; ++i, row += stride) {
        if (std::memcmp(row, key, 8) == 0)
            return i;
    }
    return count;
}

char EndsWithByte(const char *text, char byte, int n)
{
    int len = Span(text, n);
    return len > 0 && text[len - 1] == byte ? byte : 0;
}

char IsTextChar(char byte, const char *list, int listLength)
{
    unsigned char b = static_cast<unsigned char>(byte);
    if (b >= 32 || byte == '\r' || byte == '\n')
        return byte;
    int len = Span(list, listLength);
    return byte != 0 && len > 0 && InSet(byte, list, len) ? byte : 0;
}
