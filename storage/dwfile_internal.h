#pragma once
// Byte helpers shared by the compound-file sources.
#include <cstdint>
#include <cstdio>

#include "framework/AnsiString.h"

namespace dwfile_detail {

inline uint32_t GetU32(const uint8_t *p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
inline uint16_t GetU16(const uint8_t *p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline void SetU32(uint8_t *p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void SetU16(uint8_t *p, uint16_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

inline AnsiString Hex8(uint32_t v)
{
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08X", static_cast<unsigned>(v));
    return hex;
}

// The data byte of the end record (length 1) that closes every chain.
constexpr uint8_t EndByte = 0x40;
inline constexpr uint8_t EndRecord[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x00, EndByte};

}  // namespace dwfile_detail
