#include "base/keys/KeyFilters.h"

#include <cstring>

#include "framework/runtime/SysUtils.h"

namespace {
constexpr char Backspace = 8;
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

char FilterKeyChar(char key, int mode, const char *forbidden)
{
    if (key == Backspace)
        return key;
    if (mode != 0 && IsDigit(key))
        return key;
    if (mode == 1)
        return 0;
    if (mode == 2 && key != DecimalSeparator)
        return 0;
    if (forbidden && key != 0 && std::strchr(forbidden, key))
        return 0;
    return key;
}

char FilterNumberKey(char key, const AnsiString &text, int selStart)
{
    if (key == Backspace || IsDigit(key))
        return key;
    if (key == DecimalSeparator)
        return text.find(DecimalSeparator) == AnsiString::npos ? key : 0;
    if (key == '-') {
        if (text.empty() || (text[0] != '-' && selStart == 0))
            return key;
        return 0;
    }
    return 0;
}
