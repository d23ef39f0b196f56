// Trimming, integer <-> text, searching and replacing.
#include <climits>

#include "framework/runtime/SysUtils.h"

namespace {
bool Blank(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool ParseInt64(const AnsiString &text, long long &out)
{
    AnsiString s = Trim(text);
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    unsigned base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size())
        return false;
    unsigned long long magnitude = 0;
    // Largest magnitude allowed: LLONG_MAX, or one more for a negative number. Hexadecimal text may
    // use the whole 64 bits (the bit pattern of a negative number).
    const unsigned long long limit =
        base == 16 ? ULLONG_MAX : (negative ? static_cast<unsigned long long>(LLONG_MAX) + 1 : LLONG_MAX);
    for (; i < s.size(); ++i) {
        char c = s[i];
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return false;
        if (magnitude > (limit - digit) / base)
            return false;
        magnitude = magnitude * base + digit;
    }
    long long value = static_cast<long long>(magnitude);  // two's complement for hex bit patterns
    if (negative)
        value = static_cast<long long>(0ULL - magnitude);
    out = value;
    return true;
}

[[noreturn]] void NotAnInteger(const AnsiString &s) { throw EConvertError("'" + s + "' is not a valid integer value"); }
}  // namespace

AnsiString Trim(const AnsiString &s) { return TrimLeft(TrimRight(s)); }

AnsiString TrimLeft(const AnsiString &s)
{
    size_t i = 0;
    while (i < s.size() && Blank(s[i]))
        ++i;
    return s.substr(i);
}

AnsiString TrimRight(const AnsiString &s)
{
    size_t n = s.size();
    while (n > 0 && Blank(s[n - 1]))
        --n;
    return s.substr(0, n);
}

AnsiString IntToStr(long long value) { return std::to_string(value); }
AnsiString UIntToStr(unsigned long long value) { return std::to_string(value); }

AnsiString IntToHex(unsigned long long value, int digits)
{
    static const char kHex[] = "0123456789ABCDEF";
    AnsiString r;
    do {
        r.insert(r.begin(), kHex[value & 15]);
        value >>= 4;
    } while (value != 0);
    if (static_cast<int>(r.size()) < digits)
        r.insert(0, static_cast<size_t>(digits) - r.size(), '0');
    return r;
}

bool TryStrToInt64(const AnsiString &s, long long &value) { return ParseInt64(s, value); }

bool TryStrToInt(const AnsiString &s, int &value)
{
    long long v;
    if (!ParseInt64(s, v))
        return false;
    AnsiString t = Trim(s);
    bool hex = t.find('$') != AnsiString::npos || t.find('x') != AnsiString::npos || t.find('X') != AnsiString::npos;
    // Hexadecimal text may give the bit pattern of a negative int ("$FFFFFFFF" is -1).
    if (hex && v >= 0 && v <= static_cast<long long>(UINT_MAX))
        v = static_cast<int>(static_cast<unsigned>(v));
    if (v < INT_MIN || v > INT_MAX)
        return false;
    value = static_cast<int>(v);
    return true;
}

int StrToInt(const AnsiString &s)
{
    int v;
    if (!TryStrToInt(s, v))
        NotAnInteger(s);
    return v;
}

int StrToIntDef(const AnsiString &s, int defaultValue)
{
    int v;
    return TryStrToInt(s, v) ? v : defaultValue;
}

long long StrToInt64(const AnsiString &s)
{
    long long v;
    if (!TryStrToInt64(s, v))
        NotAnInteger(s);
    return v;
}

long long StrToInt64Def(const AnsiString &s, long long defaultValue)
{
    long long v;
    return TryStrToInt64(s, v) ? v : defaultValue;
}

int Pos(const AnsiString &sub, const AnsiString &s)
{
    if (sub.empty())
        return 0;
    size_t p = s.find(sub);
    return p == AnsiString::npos ? 0 : static_cast<int>(p) + 1;
}

AnsiString StringReplaceAll(const AnsiString &s, const AnsiString &from, const AnsiString &to)
{
    if (from.empty())
        return s;
    AnsiString r;
    size_t start = 0;
    for (size_t p; (p = s.find(from, start)) != AnsiString::npos; start = p + from.size())
        r.append(s, start, p - start).append(to);
    r.append(s, start, AnsiString::npos);
    return r;
}
