#include "base/text/BilingualTable.h"

const BilingualRow *FindBilingualRow(const BilingualRow *table, std::uint32_t number, std::uint32_t terminator)
{
    if (table == nullptr)
        return nullptr;
    for (const BilingualRow *row = table; row->number != terminator; ++row) {
        if (row->number == number)
            return row;
    }
    return nullptr;
}

const char *FindBilingualText(const BilingualRow *table, std::uint32_t number, std::uint32_t terminator,
                              std::uint8_t language)
{
    const BilingualRow *row = FindBilingualRow(table, number, terminator);
    if (row == nullptr)
        return nullptr;
    if (language == 0)
        return row->ukr;
    if (language == 1)
        return row->rus;
    return reinterpret_cast<const char *>(row);
}
