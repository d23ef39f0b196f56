#include "base/NumericHelpers.h"

bool ReadU16(const uint8_t *&cursor, const uint8_t *end, uint16_t &value) {
    if (end - cursor < 2) return false;
    value = static_cast<uint16_t>(cursor[0] | (cursor[1] << 8));
    cursor += 2;
    return true;
}

bool ReadShortText(const uint8_t *&cursor, const uint8_t *end, AnsiString &text) {
    const uint8_t *at = cursor;
    uint16_t length = 0;
    if (!ReadU16(at, end, length) || end - at < length) return false;
    text.assign(reinterpret_cast<const char *>(at), length);
    cursor = at + length;
    return true;
}
