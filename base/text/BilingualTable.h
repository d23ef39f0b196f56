#pragma once
// Bilingual tables: constant arrays of numbered text pairs ended by a row holding a terminator
// number that the table's user chooses.
#include <cstdint>

struct BilingualRow {
    std::uint32_t number;
    const char *ukr;
    const char *rus;
};

// The row of the number; null when the terminator row comes first. Asking for the terminator
// itself gives null.
const BilingualRow *FindBilingualRow(const BilingualRow *table, std::uint32_t number, std::uint32_t terminator);
// The Ukrainian text for language 0, the Russian text for 1; null when the number is not in the
// table. Any other language gives the row itself (the address FindBilingualRow returns), which is
// no text: callers that want a text pass only 0 or 1.
const char *FindBilingualText(const BilingualRow *table, std::uint32_t number, std::uint32_t terminator,
                              std::uint8_t language);
