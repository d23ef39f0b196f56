#include "base/NumericHelpers.h"

bool ReadU16(const uint8_t *&cursor, const uint8_t *end, uint16_t &value)
{
    if (end - cursor < 2)
        return false;
    value = static_cast<uint16_t>(cursor[0] | (cursor[1] << 8));
    cursor += 2;
    return true;
}

bool ReadShortText(const uint8_t *&cursor, const uint8_t *end, AnsiString &text)
{
    const uint8_t *at = cursor;
    uint16_t length = 0;
    if (!ReadU16(at, end, length) || end - at < length)
        return false;
    text.assign(reinterpret_cast<const char *>(at), length);
    cursor = at + length;
    return true;
}

int32_t CursorReadInt(const char *&cursor)
{
    int taken = 0;
    bool negative = false;
    if (*cursor == '-') {
        negative = true;
        ++cursor;
        ++taken;
    }
    int64_t value = 0;
    for (; taken < 29 && *cursor >= '0' && *cursor <= '9'; ++cursor, ++taken) {
        if (value <= int64_t(INT32_MAX) + 1)
            value = value * 10 + (*cursor - '0');
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}
