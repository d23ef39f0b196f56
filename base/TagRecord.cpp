#include "base/TagRecord.h"

#include <algorithm>
#include <cstddef>

namespace {

std::uint16_t ReadU16(const std::uint8_t *p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

std::uint32_t ReadU32(const std::uint8_t *p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void WriteU16(std::uint8_t *p, std::uint16_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

bool Fits(const std::uint8_t *record, const std::uint8_t *end, std::size_t bytes)
{
    return record != nullptr && end != nullptr && record <= end && static_cast<std::size_t>(end - record) >= bytes;
}

}  // namespace

bool TagHeaderFits(const std::uint8_t *record, const std::uint8_t *end, TagForm form)
{
    return Fits(record, end, static_cast<std::size_t>(form));
}

std::uint16_t GetTagWord(const std::uint8_t *record, const std::uint8_t *end)
{
    return Fits(record, end, 2) ? ReadU16(record) : 0;
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
    return Fits(record, end, 4) ? ReadU16(record + 2) : 0;
}

bool IsTagHeaderWordZero(const std::uint8_t *record, const std::uint8_t *end, TagForm form, int offset)
{
    bool known = (offset == 4 && form != TagForm::Short) || (offset == 8 && form == TagForm::Long10);
    auto need = std::max(static_cast<std::size_t>(form), static_cast<std::size_t>(offset) + 4);
    if (!known || !Fits(record, end, need))
        return false;
    return ReadU32(record + offset) == 0;
}

std::uint32_t TagRecordSize(const std::uint8_t *record, const std::uint8_t *end, TagForm form)
{
    auto header = static_cast<std::uint32_t>(form);
    if (!Fits(record, end, header))
        return 0;
    std::uint32_t size = IsEndTagWord(ReadU16(record)) ? header : header + ReadU16(record + 2);
    return Fits(record, end, size) ? size : 0;
}

const std::uint8_t *NextTagRecord(const std::uint8_t *record, const std::uint8_t *end, TagForm form)
{
    std::uint32_t size = TagRecordSize(record, end, form);
    return size == 0 ? nullptr : record + size;
}

void SetTag(std::uint8_t *record, std::uint16_t value, bool shortForm)
{
    WriteU16(record, shortForm ? static_cast<std::uint16_t>(value | TagShortFlag) : TagValueOf(value));
}

void SetShortTagFlag(std::uint8_t *record, bool on)
{
    std::uint16_t word = ReadU16(record);
    WriteU16(record, on ? static_cast<std::uint16_t>(word | TagShortFlag) : TagValueOf(word));
}

void SetOwnerFlag(std::uint8_t *record, bool on)
{
    std::uint16_t word = ReadU16(record);
    WriteU16(record,
             on ? static_cast<std::uint16_t>(word | TagOwnerFlag) : static_cast<std::uint16_t>(word & ~TagOwnerFlag));
}

void SetTagRecordLength(std::uint8_t *record, std::uint16_t length) { WriteU16(record + 2, length); }

void SetEndTagRecord(std::uint8_t *record)
{
    WriteU16(record, TagEndWord);
    WriteU16(record + 2, TagEndLength);
}

void ClearEndTagMark(std::uint8_t *record)
{
    WriteU16(record, static_cast<std::uint16_t>(ReadU16(record) & ~TagEndMark));
}
