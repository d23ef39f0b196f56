#include "base/AtRecord.h"

#include <cstddef>

namespace {

bool Fits(const std::uint8_t *record, const std::uint8_t *end, std::size_t bytes)
{
    return record != nullptr && end != nullptr && record <= end && static_cast<std::size_t>(end - record) >= bytes;
}

}  // namespace

std::uint8_t AtRecordKind(const std::uint8_t *record, const std::uint8_t *end)
{
    return Fits(record, end, AtHeaderSize) ? record[0] : 0;
}

std::uint32_t AtRecordWord(const std::uint8_t *record, const std::uint8_t *end)
{
    if (!Fits(record, end, AtHeaderSize))
        return 0;
    return static_cast<std::uint32_t>(record[1]) | (static_cast<std::uint32_t>(record[2]) << 8) |
           (static_cast<std::uint32_t>(record[3]) << 16) | (static_cast<std::uint32_t>(record[4]) << 24);
}

std::uint16_t AtRecordLength(const std::uint8_t *record, const std::uint8_t *end)
{
    return Fits(record, end, AtHeaderSize) ? static_cast<std::uint16_t>(record[5] | (record[6] << 8)) : 0;
}

std::uint32_t AtRecordSize(const std::uint8_t *record, const std::uint8_t *end)
{
    if (!Fits(record, end, AtHeaderSize))
        return 0;
    std::uint32_t size = AtHeaderSize + AtRecordLength(record, end);
    return Fits(record, end, size) ? size : 0;
}

const std::uint8_t *AtRecordData(const std::uint8_t *record, const std::uint8_t *end)
{
    return AtRecordSize(record, end) == 0 ? nullptr : record + AtHeaderSize;
}

bool IsAtEndRecord(const std::uint8_t *record, const std::uint8_t *end)
{
    return AtRecordSize(record, end) == AtHeaderSize + 1 && record[0] == 0 && AtRecordWord(record, end) == AtEndWord &&
           record[AtHeaderSize] == AtEndByte;
}

const std::uint8_t *NextAtRecord(const std::uint8_t *record, const std::uint8_t *end)
{
    std::uint32_t size = AtRecordSize(record, end);
    return size == 0 ? nullptr : record + size;
}

void SetAtRecordHeader(std::uint8_t *record, std::uint8_t kind, std::uint32_t word, std::uint16_t length)
{
    record[0] = kind;
    for (int i = 0; i < 4; ++i)
        record[1 + i] = static_cast<std::uint8_t>(word >> (8 * i));
    record[5] = static_cast<std::uint8_t>(length);
    record[6] = static_cast<std::uint8_t>(length >> 8);
}

void SetAtEndRecord(std::uint8_t *record)
{
    SetAtRecordHeader(record, 0, AtEndWord, 1);
    record[AtHeaderSize] = AtEndByte;
}
