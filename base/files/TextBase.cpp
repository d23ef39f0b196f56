#include "base/files/TextBase.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "base/records/AtRecord.h"
#include "base/memory/Bytes.h"
#include "base/memory/PackedWord.h"

namespace {

constexpr std::uint8_t RussianOpen = 0x04;
constexpr std::uint8_t UkrainianOpen = 0x05;
constexpr std::uint8_t PartClose = 0x03;
// Text record: u16 number, u8 flags, u16 text length, then the text.
constexpr std::size_t TextHeader = 5;
// Header: u32 data end, u32 section count; then 8 bytes per section.
constexpr std::size_t TableStart = 8;
constexpr std::size_t EntrySize = 8;

std::uint32_t MakeSpan(std::size_t offset, std::size_t length)
{
    std::uint32_t span = 0;
    SetPackedLow(span, static_cast<std::uint16_t>(length));
    SetPackedHigh(span, static_cast<std::uint16_t>(offset));
    return span;
}

// The position of the first byte from `from` on that is one of the two, or the text's size.
std::size_t FindEither(TRizaData text, std::size_t from, std::uint8_t a, std::uint8_t b)
{
    for (std::size_t i = from; i < text.size(); ++i)
        if (text[i] == a || text[i] == b)
            return i;
    return text.size();
}

}  // namespace

void TMRizaBs::SetView(const std::uint8_t *view, std::size_t size)
{
    view_ = view;
    // Positions in the file are 32-bit: nothing beyond 4 GB can be reached.
    size_ = view == nullptr ? 0 : std::min<std::size_t>(size, std::numeric_limits<std::uint32_t>::max());
    section_ = -1;
    record_ = next_ = 0;
    visits_ = 0;
}

std::uint32_t TMRizaBs::SectionCount() const
{
    std::uint32_t count = 0;
    TByteReader(view_, size_).ReadU32At(4, count);
    return count;
}

std::uint32_t TMRizaBs::TableWord(std::uint32_t n, int word) const
{
    std::uint32_t value = 0;
    TByteReader(view_, size_).ReadU32At(TableStart + EntrySize * std::size_t(n) + 4 * std::size_t(word), value);
    return value;
}

bool TMRizaBs::SeekRecord(std::uint32_t n)
{
    section_ = -1;
    record_ = next_ = 0;
    visits_ = 0;
    if (view_ == nullptr || n >= SectionCount() ||
        !TByteReader(view_, size_).HasAt(TableStart + EntrySize * std::size_t(n), EntrySize))
        return false;
    section_ = static_cast<std::int32_t>(n);
    record_ = next_ = TableWord(n, 0);
    return true;
}

void TMRizaBs::Rewind(std::uint32_t offset)
{
    if (offset == 0)
        offset = section_ >= 0 ? TableWord(static_cast<std::uint32_t>(section_), 0) : 0;
    record_ = next_ = offset;
    visits_ = 0;
}

bool TMRizaBs::NextRecord(TRizaData &data)
{
    const std::uint8_t *end = view_ + size_;
    // Every record is at least 8 bytes long, so a chain through more records than that loops.
    const std::uint32_t mostRecords = static_cast<std::uint32_t>(size_ / 8);
    while (next_ != 0) {
        if (view_ == nullptr || next_ >= size_ || ++visits_ > mostRecords) {
            EndSection();
            return false;
        }
        const std::uint8_t *record = view_ + next_;
        const std::uint32_t size = AtRecordSize(record, end);
        const std::uint16_t length = AtRecordLength(record, end);
        if (size == 0 || length == 0 || length > MaxRecordLength) {
            EndSection();
            return false;
        }
        record_ = next_;
        const std::uint32_t link = AtRecordWord(record, end);
        const std::uint32_t following = link != NoLink ? link : record_ + size;
        if ((AtRecordKind(record, end) & DeletedFlag) != 0) {
            next_ = following;
            continue;
        }
        // The end record is known by its length and its byte alone, whatever its flags and link.
        if (length == 1 && record[AtHeaderSize] == AtEndByte) {
            EndSection();
            return false;
        }
        next_ = following;
        data = TRizaData(record + AtHeaderSize, length);
        return true;
    }
    return false;
}

TRizaData TMRizaBs::FindRecordById(std::uint16_t id)
{
    TRizaData data;
    while (NextRecord(data))
        if (IsTextRecord(data) && IsTextNumber(data, id))
            return data;
    return {};
}

bool TMRizaBs::IsSectionType8() const
{
    if (view_ == nullptr || record_ == 0 || section_ < 0)
        return true;
    return TableWord(static_cast<std::uint32_t>(section_), 1) == EmptySectionLength;
}

bool TMRizaBs::IsTextNumber(TRizaData data, std::uint16_t id)
{
    std::uint16_t number = 0;
    return TByteReader(data).ReadU16At(0, number) && number == id;
}

bool TMRizaBs::IsTextRecord(TRizaData data)
{
    std::uint16_t length = 0;
    return TByteReader(data).ReadU16At(3, length) && TByteReader(data).HasAt(TextHeader, length);
}

TRizaData TMRizaBs::TextOf(TRizaData data)
{
    return IsTextRecord(data) ? data.subspan(TextHeader, LoadU16(data.data() + 3)) : TRizaData();
}

std::uint16_t TMRizaBs::TextLength(TRizaData data) { return static_cast<std::uint16_t>(TextOf(data).size()); }

std::uint8_t TMRizaBs::TextFlags(TRizaData data) { return data.size() > 2 ? data[2] : 0; }

bool TMRizaBs::HasTail(TRizaData data) { return IsTextRecord(data) && (TextFlags(data) & 3) == 0; }

std::uint32_t TMRizaBs::RussianSpan(TRizaData data)
{
    const TRizaData text = TextOf(data);
    if (text.empty() || text[0] != RussianOpen)
        return 0;
    const std::size_t close = FindEither(text, 1, UkrainianOpen, PartClose);
    // A Russian part that the text ends before closing is empty.
    return MakeSpan(1, close == text.size() ? 0 : close - 1);
}

std::uint32_t TMRizaBs::UkrainianSpan(TRizaData data)
{
    const TRizaData text = TextOf(data);
    const std::uint32_t russian = RussianSpan(data);
    const std::size_t after = std::size_t(PackedHigh(russian)) + PackedLow(russian);
    if (PackedLow(russian) == 0 || after >= text.size() || text[after] != UkrainianOpen)
        return 0;
    const std::size_t start = after + 1;
    return MakeSpan(start, FindEither(text, start, PartClose, PartClose) - start);
}

std::uint32_t TMRizaBs::TailSpan(TRizaData data)
{
    const TRizaData text = TextOf(data);
    const std::size_t close = FindEither(text, 0, PartClose, PartClose);
    if (close == text.size())
        return 0;
    return MakeSpan(close + 1, text.size() - close - 1);
}

std::uint32_t TMRizaBs::LanguageSpan(TRizaData data, int language)
{
    switch (language) {
    case 1: return RussianSpan(data);
    case 0: return UkrainianSpan(data);
    default: return MakeSpan(0, TextOf(data).size());
    }
}

std::uint32_t TMRizaBs::CopySpan(TRizaData data, std::uint32_t span, char *buffer, std::size_t capacity)
{
    const TRizaData text = TextOf(data);
    const std::size_t offset = PackedHigh(span);
    if (buffer == nullptr || offset > text.size())
        return 0;
    const std::size_t count = std::min({std::size_t(PackedLow(span)), text.size() - offset, capacity});
    if (count != 0)
        std::memcpy(buffer, text.data() + offset, count);
    return static_cast<std::uint32_t>(count);
}

// ---- TBText lookups ----------------------------------------------------------------------------

TRizaData TBText::FindText(std::uint16_t number)
{
    Rewind(first_);
    const TRizaData data = FindRecordById(number);
    flags_ = TextFlags(data);
    return data;
}

std::uint32_t TBText::GetTextInto(char *buffer, std::size_t capacity, std::uint16_t number, int language)
{
    const TRizaData data = FindText(number);
    if (data.empty())
        return 0;
    return CopySpan(data, LanguageSpan(data, language), buffer, capacity);
}

AnsiString TBText::GetText(std::uint16_t number, int language)
{
    static constexpr std::size_t BufferSize = 64 * 1024;
    std::string buffer(BufferSize, '\0');
    const std::uint32_t length = GetTextInto(buffer.data(), buffer.size(), number, language);
    if (length == 0)
        return "????text";
    buffer.resize(length);
    return buffer;
}

std::uint32_t TBText::GetTextParts(std::uint16_t number, int language, char *text, std::size_t textCapacity, char *tail,
                                   std::size_t tailCapacity)
{
    const TRizaData data = FindText(number);
    if (data.empty())
        return 0;
    std::uint32_t result = 0;
    const std::uint32_t span = LanguageSpan(data, language);
    SetPackedLow(result, static_cast<std::uint16_t>(text != nullptr ? CopySpan(data, span, text, textCapacity)
                                                                    : PackedLow(span)));
    if (HasTail(data)) {
        const std::uint32_t tailSpan = TailSpan(data);
        SetPackedHigh(result, static_cast<std::uint16_t>(tail != nullptr ? CopySpan(data, tailSpan, tail, tailCapacity)
                                                                         : PackedLow(tailSpan)));
    }
    return result;
}
