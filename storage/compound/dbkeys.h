#pragma once
// The scrambling keys of the product's database files: the file whose name ends in the digit i
// (1 to 6) is scrambled with DbbKeys[i - 1]. Key 0 would mean a plain file, so none is 0.
#include <cstdint>

inline constexpr uint32_t DbbKeys[6] = {
    0x5A3C91E7u, 0x1D7B4C29u, 0xC4E2863Bu, 0x7F19D05Au, 0x93A6E14Du, 0x2B8F7316u,
};
