#include "base/text/TextCheck.h"

#include "base/text/TextPrims.h"

bool CheckTextChars(const char *buffer, int count, char stop, int listLength, const char *allowed, char separator)
{
    for (int i = 0; i < count; ++i) {
        const char c = buffer[i];
        if (c == stop || c == '\r' || c == '\n')
            continue;
        if (separator != 0 && (c == separator || c == '\t'))
            continue;
        if (IsTextChar(c, allowed, listLength) == 0)
            return false;
    }
    return true;
}
