#include "base/records/AtRecord.h"

#include <cstddef>

#include "base/memory/Bytes.h"

std::uint8_t AtRecordKind(const std::uint8_t *record, const std::uint8_t *end)
{
    return BytesFit(record, end, AtHeaderSize) ? record[0] : 0;
}

std::uint32_t AtRecordWord(const std::uint8_t *record, const std::uint8_t *end)
{
    if (!BytesFit(record, end, AtHeaderSize))
        return 0;
    return LoadU32(record + 1);
}

std::uint16_t AtRecordLength(const std::uint8_t *record, const std::uint8_t *end)
{
    return BytesFit(record, end, AtHeaderSize) ? LoadU16(record + 5) : 0;
}

std::uint32_t AtRecordSize(const std::uint8_t *record, const std::uint8_t *end)
{
    if (!BytesFit(record, end, AtHeaderSize))
        return 0;
    std::uint32_t size = AtHeaderSize + AtRecordLength(record, end);
    return BytesFit(record, end, size) ? size : 0;
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
    StoreU32(record + 1, word);
    StoreU16(record + 5, length);
}

void SetAtEndRecord(std::uint8_t *record)
{
    SetAtRecordHeader(record, 0, AtEndWord, 1);
    record[AtHeaderSize] = AtEndByte;
}
