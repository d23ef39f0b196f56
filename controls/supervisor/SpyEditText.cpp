// The data-entry supervisor's texts that need no window: what the Show operations write, what a field
// takes of a pasted text, a memo selection as one line, and the two text helpers.
#include <cmath>
#include <cstring>

#include "base/numbers/NumberText.h"
#include "base/numbers/PackedDate.h"
#include "controls/supervisor/SpyEdit.h"

AnsiString RealShowText(double value, int decimals, int zeros, bool showZero)
{
    const AnsiString zero = showZero ? "0" : "";
    if (std::fabs(value) < 1e-10)
        return zero;
    char buffer[DoubleTextMax];
    const int length = DoubleToText(value, buffer, decimals, zeros, 0);
    // A value that rounds to nothing writes nothing; NaN and the infinities give minus their length.
    if (length == 0)
        return zero;
    return AnsiString(buffer, static_cast<size_t>(length < 0 ? -length : length));
}

AnsiString IntegerShowText(int32_t value, bool showZero)
{
    if (value == 0)
        return showZero ? "0" : "";
    char buffer[16];
    return AnsiString(buffer, static_cast<size_t>(IntToDigits(value, buffer, '0')));
}

AnsiString DateShowText(uint16_t packed)
{
    if (packed == 0)
        return AnsiString();
    char buffer[16];
    return AnsiString(buffer, static_cast<size_t>(FormatDate(packed, buffer, '.', true)));
}

namespace {
// Control characters a text field lets through: the line breaks and the copy, paste and cut keys.
bool HasStrayControl(const AnsiString &text)
{
    for (unsigned char c : text)
        if (c < 32 && c != '\r' && c != '\n' && c != 3 && c != 22 && c != 24)
            return true;
    return false;
}

bool ValidDecimal(const AnsiString &text, char separator)
{
    uint32_t flags = 0;
    return CheckDecimalText(text.data(), static_cast<int>(text.size()), separator, &flags) != 0;
}
}  // namespace

bool IsNumberFieldText(const AnsiString &text, uint32_t type, char separator)
{
    return ValidDecimal(text, type == SpyFieldInteger ? '\0' : separator);
}

AnsiString PasteTextForField(const AnsiString &text, uint8_t kind, uint32_t type, char separator)
{
    if (text.empty())
        return AnsiString();
    switch (kind) {
    case SpyKind::Edit:
        if (type == SpyFieldInteger)
            return IsNumberFieldText(text, type, separator) ? text : AnsiString();
        if (type == SpyFieldShortDecimal || type == SpyFieldLongDecimal) {
            AnsiString number = text;
            if (separator != '.') {
                const size_t point = number.find('.');
                if (point != AnsiString::npos)
                    number[point] = separator;
            }
            return IsNumberFieldText(number, type, separator) ? number : AnsiString();
        }
        // A text edit takes text as a memo does (a one-line edit keeps the first line of it).
        return HasStrayControl(text) ? AnsiString() : text;
    case SpyKind::Memo:
    case SpyKind::Callback: return HasStrayControl(text) ? AnsiString() : text;
    default: return AnsiString();
    }
}

AnsiString LineBreaksToBlanks(std::string_view text)
{
    AnsiString line;
    line.reserve(text.size());
    bool afterBreak = false;  // the character before became a blank for a line break
    for (char c : text) {
        if (c == '\r' || c == '\n') {
            if (!afterBreak)
                line += ' ';
            afterBreak = !afterBreak;
            continue;
        }
        afterBreak = false;
        line += c;
    }
    return line;
}

AnsiString TSpyEdit_Bs::TrimLineEnds(const AnsiString &text)
{
    size_t end = text.size();
    while (end > 0 && (text[end - 1] == '\r' || text[end - 1] == '\n'))
        --end;
    return text.substr(0, end);
}

AnsiString TSpyEdit_Bs::GetDelimitedField(int index, const char *text, int length, char separator, char endChar)
{
    if (!text || length < 0 || index < 0)
        return AnsiString();
    const size_t size = length == 0 ? std::strlen(text) : static_cast<size_t>(length);
    size_t at = 0;
    while (at < size) {
        size_t end = at;
        while (end < size && text[end] != separator && text[end] != endChar && text[end] != '\0')
            ++end;
        if (index == 0)
            return AnsiString(text + at, end - at);
        if (end < size && text[end] == separator && separator != '\0')
            at = end + 1;
        else
            break;  // the end character, a NUL or the end of the text: no field follows
        --index;
    }
    return AnsiString();
}
