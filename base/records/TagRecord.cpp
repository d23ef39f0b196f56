#include "base/records/TagRecord.h"

#include <algorithm>
#include <cstddef>

#include "base/memory/Bytes.h"

bool TagHeaderFits(const std::uint8_t *record, const std::uint8_t *end, TagForm form)
{
    return BytesFit(record, end, static_cast<std::size_t>(form));
}

std::uint16_t GetTagWord(const std::uint8_t *record, const std::uint8_t *end)
{
    return BytesFit(record, end, 2) ? LoadU16(record) : 0;
}

std::uint16_t GetTag(const std::uint8_t *record, const std::uint8_t *end)
{
    return TagValueOf(GetTagWord(record, end));
}

bool IsShortTag(const std::uint8_t *record, const std::uint8_t *end) { return IsShortTagWord(GetTagWord(record, end)); }

bool HasOwnerFlag(const std::uint8_t *record, const std::uint8_t *end)
{
    return (GetTagWord(record, end) & TagOwnerFlag) != 0;
}

bool IsEndTagRecord(const std::uint8_t *record, const std::uint8_t *end)
{
    return IsEndTagWord(GetTagWord(record, end));
}

std::uint16_t GetTagRecordLength(const std::uint8_t *record, const std::uint8_t *end)
{
    return BytesFit(record, end, 4) ? LoadU16(record + 2) : 0;
}

bool IsTagHeaderWordZero(const std::uint8_t *record, const std::uint8_t *end, TagForm form, int offset)
{
    bool known = (offset == 4 && form != TagForm::Short) || (offset == 8 && form == TagForm::Long10);
    auto need = std::max(static_cast<std::size_t>(form), static_cast<std::size_t>(offset) + 4);
    if (!known || !BytesFit(record, end, need))
        return false;
    return LoadU32(record + offset) == 0;
}

std::uint32_t TagRecordSize(const std::uint8_t *record, const std::uint8_t *end, TagForm form)
{
    auto header = static_cast<std::uint32_t>(form);
    if (!BytesFit(record, end, header))
        return 0;
    std::uint32_t size = IsEndTagWord(LoadU16(record)) ? header : header + LoadU16(record + 2);
    return BytesFit(record, end, size) ? size : 0;
}

const std::uint8_t *NextTagRecord(const std::uint8_t *record, const std::uint8_t *end, TagForm form)
{
    std::uint32_t size = TagRecordSize(record, end, form);
    return size == 0 ? nullptr : record + size;
}

void SetTag(std::uint8_t *record, std::uint16_t value, bool shortForm)
{
    StoreU16(record, shortForm ? static_cast<std::uint16_t>(value | TagShortFlag) : TagValueOf(value));
}

void SetShortTagFlag(std::uint8_t *record, bool on)
{
    std::uint16_t word = LoadU16(record);
    StoreU16(record, on ? static_cast<std::uint16_t>(word | TagShortFlag) : TagValueOf(word));
}

void SetOwnerFlag(std::uint8_t *record, bool on)
{
    std::uint16_t word = LoadU16(record);
    StoreU16(record,
             on ? static_cast<std::uint16_t>(word | TagOwnerFlag) : static_cast<std::uint16_t>(word & ~TagOwnerFlag));
}

void SetTagRecordLength(std::uint8_t *record, std::uint16_t length) { StoreU16(record + 2, length); }

void SetEndTagRecord(std::uint8_t *record)
{
    StoreU16(record, TagEndWord);
    StoreU16(record + 2, TagEndLength);
}

void ClearEndTagMark(std::uint8_t *record)
{
    StoreU16(record, static_cast<std::uint16_t>(LoadU16(record) & ~TagEndMark));
}
