#include "framework/windows/EditMask.h"

#include <cctype>

namespace {
bool IsLetter(char c)
{
    auto u = static_cast<unsigned char>(c);
    // Latin letters and the Cyrillic letters of code page 1251 (with Ё ё Є є І і Ї ї Ґ ґ Ў ў).
    return std::isalpha(u) || u >= 0xC0 || u == 0xA8 || u == 0xB8 || u == 0xAA || u == 0xBA || u == 0xB2 || u == 0xB3 ||
           u == 0xAF || u == 0xBF || u == 0xA5 || u == 0xB4 || u == 0xA1 || u == 0xA2;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

TEditMask::TEditMask(const AnsiString &mask)
{
    // The places end at the first ';' that is not escaped; then the save flag and the blank.
    size_t i = 0;
    for (; i < mask.size() && mask[i] != ';'; ++i) {
        char c = mask[i];
        switch (c) {
        case '!':
        case '>':
        case '<': break;
        case '\\':
            if (i + 1 < mask.size())
                places_.push_back({'L', mask[++i]});
            break;
        case '0':
        case '9':
        case '#':
        case 'L':
        case 'l':
        case 'A':
        case 'a':
        case 'C':
        case 'c': places_.push_back({c == 'L' ? 'T' : c, 0}); break;
        case '/': places_.push_back({'L', '.'}); break;
        case ':': places_.push_back({'L', ':'}); break;
        case '_': places_.push_back({'L', ' '}); break;
        default: places_.push_back({'L', c}); break;
        }
    }
    if (i < mask.size()) {
        size_t second = mask.find(';', i + 1);
        AnsiString save = mask.substr(i + 1, second == AnsiString::npos ? AnsiString::npos : second - i - 1);
        saveLiterals_ = save != "0";
        if (second != AnsiString::npos && second + 1 < mask.size())
            blank_ = mask[second + 1];
    }
}

bool TEditMask::IsLiteral(int pos) const
{
    return pos >= 0 && pos < Length() && places_[static_cast<size_t>(pos)].kind == 'L';
}

bool TEditMask::Accepts(int pos, char c) const
{
    if (pos < 0 || pos >= Length())
        return false;
    switch (places_[static_cast<size_t>(pos)].kind) {
    case '0':
    case '9': return IsDigit(c);
    case '#': return IsDigit(c) || c == '+' || c == '-';
    case 'T':
    case 'l': return IsLetter(c);
    case 'A':
    case 'a': return IsLetter(c) || IsDigit(c);
    case 'C':
    case 'c': return static_cast<unsigned char>(c) >= ' ';
    default: return false;
    }
}

AnsiString TEditMask::Blank() const { return Format(AnsiString()); }

AnsiString TEditMask::Format(const AnsiString &text) const
{
    AnsiString out;
    size_t t = 0;
    for (int pos = 0; pos < Length(); ++pos) {
        const TPlace &p = places_[static_cast<size_t>(pos)];
        if (p.kind == 'L') {
            out += p.literal;
            if (t < text.size() && text[t] == p.literal)
                ++t;
            continue;
        }
        char c = t < text.size() ? text[t++] : blank_;
        out += Accepts(pos, c) ? c : blank_;
    }
    return out;
}

int TEditMask::NextPlace(int pos) const
{
    pos = pos < 0 ? 0 : pos;
    while (pos < Length() && IsLiteral(pos))
        ++pos;
    return pos < Length() ? pos : Length();
}

int TEditMask::PrevPlace(int pos) const
{
    for (--pos; pos >= 0; --pos)
        if (!IsLiteral(pos))
            return pos;
    return -1;
}
