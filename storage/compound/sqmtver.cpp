#include "storage/compound/sqmtver.h"

#include <string>

#include "base/numbers/NumericHelpers.h"

SQMTVER ProgramVersion = {5, 0, 3, 1, 1, 0, {}, "3.1.1"};

void InitVersion(SQMTVER &stamp)
{
    stamp.product = stamp.variant = 0;
    stamp.a = stamp.b = stamp.c = stamp.d = 0;
    stamp.text.clear();
}

void ParseVersion(SQMTVER &stamp, const AnsiString &text)
{
    InitVersion(stamp);  // no letter or number of an earlier text survives
    stamp.text = text;
    stamp.product = 3;
    if (text.empty())
        return;
    // The text is zero-terminated, so the cursor never passes its end: every step stops on the NUL.
    const char *p = stamp.text.c_str();
    const std::size_t n = stamp.text.size();
    auto skip = [&](std::size_t count) {
        for (; count > 0 && *p != '\0'; --count)
            ++p;
    };
    if (n >= 3 && text[2] == '-') {
        stamp.variant = static_cast<unsigned char>(text[1]) == 0xD3 ? 2 : 1;  // "У"
        stamp.product = static_cast<uint8_t>(CursorReadInt(p));
        skip(2);
    } else if (n >= 2 && text[1] == '-') {
        stamp.product = static_cast<uint8_t>(CursorReadInt(p));
        skip(1);
    }
    stamp.a = static_cast<uint8_t>(CursorReadInt(p));
    if (*p == '.')
        ++p;
    if (*p == '\0')
        return;
    stamp.b = static_cast<uint8_t>(CursorReadInt(p));
    if (*p == '.')
        ++p;
    if (*p == '\0')
        return;
    stamp.c = static_cast<uint8_t>(CursorReadInt(p));
    if (*p == '.') {
        ++p;
        stamp.d = static_cast<uint8_t>(CursorReadInt(p));
    }
}

uint32_t CompareVersion(const SQMTVER &f)
{
    const SQMTVER &p = ProgramVersion;
    if (f.variant != p.variant)
        return VersionOtherVariant;
    if (p.product < f.product)
        return VersionFileNewer;
    if (p.product > f.product)
        return VersionProgramNewer;
    if (f.a < 2)
        return VersionBeforeTwo;
    if (p.a > f.a)
        return VersionProgramNewer;
    if (p.a < f.a)
        return VersionFileNewer;
    if (p.b > f.b)
        return VersionSameA | VersionProgramNewer;
    if (p.b < f.b)
        return VersionSameA | VersionFileNewer;
    if (p.c > f.c)
        return VersionSameA | VersionProgramNewerC;
    if (p.c < f.c)
        return VersionSameA | VersionFileNewer;
    if (p.d > f.d)
        return VersionSameA | VersionProgramNewerD;
    if (p.d < f.d)
        return VersionSameA | VersionFileNewerD;
    return VersionSameA | VersionSame;
}

uint32_t ParseAndCompareVersion(SQMTVER &stamp, const AnsiString &text)
{
    ParseVersion(stamp, text);
    return CompareVersion(stamp);
}

bool SameVersion(SQMTVER &stamp, const AnsiString &first, const AnsiString &second, bool withC)
{
    ParseVersion(stamp, second);
    stamp.copies[0] = stamp.product;
    stamp.copies[1] = stamp.a;
    stamp.copies[2] = stamp.b;
    stamp.copies[3] = stamp.c;
    ParseVersion(stamp, first);
    return stamp.product == stamp.copies[0] && stamp.a == stamp.copies[1] && stamp.b == stamp.copies[2] &&
           (!withC || stamp.c == stamp.copies[3]);
}

static AnsiString ShortText(const SQMTVER &s)
{
    return std::to_string(s.a) + "." + std::to_string(s.b) + "." + std::to_string(s.c);
}

void SetProgramVersion(SQMTVER &stamp, const AnsiString &text)
{
    const uint8_t d = ProgramVersion.d;  // the stamp may be the program's own
    ParseVersion(stamp, text);
    ProgramVersion.d = d;
    ProgramVersion.product = stamp.product;
    ProgramVersion.variant = stamp.variant;
    ProgramVersion.a = stamp.a;
    ProgramVersion.b = stamp.b;
    ProgramVersion.c = stamp.c;
    ProgramVersion.text = ShortText(stamp);
}

AnsiString ShortVersionText(SQMTVER &stamp, const AnsiString &text)
{
    ParseVersion(stamp, text);
    return ShortText(stamp);
}
