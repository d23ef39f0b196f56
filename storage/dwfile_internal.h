#pragma once
// Helpers shared by the compound-file sources.
#include <cstdint>
#include <cstdio>

#include "base/Bytes.h"
#include "framework/AnsiString.h"

namespace dwfile_detail {

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
