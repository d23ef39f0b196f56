// What a number field lets in: the supervisor's digit limits, which need only the text, the caret and
// the field's type and flags.
#include <cctype>

#include "controls/supervisor/SpyEdit.h"

char FilterNumberKey(const AnsiString &text, int caret, int selectionLength, char key, uint32_t type, uint8_t flags,
                     char separator)
{
    const bool digit = key >= '0' && key <= '9';
    if (!digit) {
        if (key == '-' || key == '+')
            return (flags & SpyFieldSigned) && text.empty() ? key : 0;
        if (type == SpyFieldInteger)
            return 0;
        if (key != '.' && key != separator)
            return 0;
        // One separator only: a second one would show "1,,5" while the value read stops at the first.
        // One inside the selection the key replaces goes away, so it does not count.
        const int from = caret < 0 ? 0 : caret;
        const int to = caret < 0 ? 0 : caret + (selectionLength > 0 ? selectionLength : 0);
        for (int i = 0; i < static_cast<int>(text.size()); ++i)
            if (text[static_cast<size_t>(i)] == separator && (i < from || i >= to))
                return 0;
        return separator;
    }
    if (text.empty())
        return key;

    int integerPart = 0, fraction = 0;
    bool separated = false;
    for (char c : text) {
        if (c == separator) {
            if (separated)
                return 0;
            separated = true;
        } else if (separated) {
            ++fraction;
        } else {
            ++integerPart;
        }
    }
    if (caret == -1)
        return key;
    if (caret <= integerPart) {
        if ((type == SpyFieldInteger || type == SpyFieldLongDecimal) && integerPart >= 9)
            return 0;
        if (type == SpyFieldShortDecimal && integerPart >= 6)
            return 0;
    } else {
        if (type == SpyFieldLongDecimal && fraction >= 9)
            return 0;
        if (type == SpyFieldShortDecimal && fraction >= 6)
            return 0;
    }
    if (type == SpyFieldShortDecimal && integerPart + fraction >= 6)
        return 0;
    if (type == SpyFieldLongDecimal && integerPart + fraction >= 18)
        return 0;
    return key;
}
