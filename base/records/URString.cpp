#include "base/records/URString.h"

#include <climits>
#include <cstring>
#include <functional>
#include <new>

#include "base/memory/Bytes.h"
#include "base/text/LangText.h"
#include "base/numbers/NumericHelpers.h"

// The capacity counts six bytes for the two lengths and the capacity itself, as a block laid out
// in 16-bit words would; the text room is what is left of it. The header held here is wider, so
// that no text length can wrap the capacity.
struct URString::Block {
    std::size_t capacity;
    std::size_t russian;
    std::size_t ukrainian;

    static constexpr std::size_t WordHeader = 6;

    char *Text() { return reinterpret_cast<char *>(this + 1); }
    const char *Text() const { return reinterpret_cast<const char *>(this + 1); }
    std::size_t Room() const { return capacity - WordHeader; }

    static Block *Allocate(std::size_t capacity)
    {
        void *memory = ::operator new(sizeof(Block) + capacity - WordHeader);
        return new (memory) Block{capacity, 0, 0};
    }
    static void Release(Block *block) { ::operator delete(block); }
};

namespace {

[[noreturn]] void ThrowOversize(std::size_t length)
{
    throw TZExcept("Two-language text: a part of " + std::to_string(length) +
                       " bytes is longer than the 65535 bytes a stored text can hold",
                   URString::DamagedDataCode);
}

[[noreturn]] void ThrowTruncated()
{
    throw TZExcept(AnsiString("Two-language text: the stored text runs past the end of its data"),
                   URString::DamagedDataCode);
}

// The two parts of a packed form whose data ends before `end`; both empty without a packed form.
std::size_t ReadPacked(const std::uint8_t *packed, const std::uint8_t *end, std::string_view &russian,
                       std::string_view &ukrainian)
{
    russian = ukrainian = {};
    if (packed == nullptr)
        return 4;
    const std::uint8_t *cursor = packed;
    std::uint16_t russianLength = 0;
    std::uint16_t ukrainianLength = 0;
    if (!ReadU16(cursor, end, russianLength) || !ReadU16(cursor, end, ukrainianLength) ||
        static_cast<std::size_t>(end - cursor) < std::size_t{russianLength} + ukrainianLength)
        ThrowTruncated();
    const char *text = reinterpret_cast<const char *>(cursor);
    russian = {text, russianLength};
    ukrainian = {text + russianLength, ukrainianLength};
    return 4 + std::size_t{russianLength} + ukrainianLength;
}

std::size_t WritePacked(std::uint8_t *packed, std::string_view russian, std::string_view ukrainian)
{
    std::size_t size = 4 + russian.size() + ukrainian.size();
    if (packed == nullptr)
        return size;
    StoreU16(packed, static_cast<std::uint16_t>(russian.size()));
    StoreU16(packed + 2, static_cast<std::uint16_t>(ukrainian.size()));
    if (!russian.empty())
        std::memcpy(packed + 4, russian.data(), russian.size());
    if (!ukrainian.empty())
        std::memcpy(packed + 4 + russian.size(), ukrainian.data(), ukrainian.size());
    return size;
}

AnsiString MarkedText(std::string_view russian, std::string_view ukrainian, bool altMarkers)
{
    if (russian.empty() && ukrainian.empty())
        return AnsiString();
    AnsiString text;
    text.reserve(2 + russian.size() + ukrainian.size());
    text += altMarkers ? RusMarkerAlt : RusMarker;
    text += russian;
    text += altMarkers ? UkrMarkerAlt : UkrMarker;
    text += ukrainian;
    return text;
}

// The Russian and the Ukrainian part of a marked text.
void SplitMarked(std::string_view text, bool altMarkers, std::string_view &russian, std::string_view &ukrainian)
{
    russian = ukrainian = {};
    if (text.empty())
        return;
    if (text.size() > INT_MAX)
        ThrowOversize(text.size());
    int length = static_cast<int>(text.size());
    const char *start = nullptr;
    int n = LocateLangPart(LangRus, text.data(), length, altMarkers, &start);
    russian = {start, static_cast<std::size_t>(n)};
    n = LocateLangPart(LangUkr, text.data(), length, altMarkers, &start);
    ukrainian = {start, static_cast<std::size_t>(n)};
}

void CheckPartLengths(std::string_view russian, std::string_view ukrainian)
{
    if (russian.size() > URString::MaxPartLength)
        ThrowOversize(russian.size());
    if (ukrainian.size() > URString::MaxPartLength)
        ThrowOversize(ukrainian.size());
}

}  // namespace

URString::URString(const URString &other)
{
    if (other.block_ != nullptr)
        Store(other.RussianText(), other.UkrainianText());
}

URString::~URString() { Free(); }

URString &URString::operator=(const URString &other)
{
    if (this != &other) {
        URString copy(other);
        *this = std::move(copy);
    }
    return *this;
}

URString &URString::operator=(URString &&other) noexcept
{
    if (this != &other) {
        Free();
        block_ = other.block_;
        other.block_ = nullptr;
    }
    return *this;
}

URString &URString::AssignPacked(const std::uint8_t *packed, const std::uint8_t *end)
{
    FromPacked(packed, end);
    return *this;
}

void URString::Free()
{
    Block::Release(block_);
    block_ = nullptr;
}

std::size_t URString::Capacity() const { return block_ != nullptr ? block_->capacity : 0; }

std::string_view URString::RussianText() const
{
    if (block_ == nullptr || block_->russian == 0)
        return {EmptyText, 0};
    return {block_->Text(), block_->russian};
}

std::string_view URString::UkrainianText() const
{
    if (block_ == nullptr || block_->ukrainian == 0)
        return {EmptyText, 0};
    return {block_->Text() + block_->russian, block_->ukrainian};
}

void URString::Store(std::string_view russian, std::string_view ukrainian)
{
    CheckPartLengths(russian, ukrainian);
    std::size_t total = russian.size() + ukrainian.size();
    if (block_ == nullptr && total == 0)
        return;
    Block *target = block_;
    if (target == nullptr || target->capacity <= total + Block::WordHeader)
        target = Block::Allocate(CapacityFor(total));
    // A part kept in this block may have to move: the Ukrainian text goes first, since it moves up
    // when the Russian text grows, and the Russian text of a kept block never moves.
    char *text = target->Text();
    if (!ukrainian.empty())
        std::memmove(text + russian.size(), ukrainian.data(), ukrainian.size());
    if (!russian.empty())
        std::memmove(text, russian.data(), russian.size());
    target->russian = russian.size();
    target->ukrainian = ukrainian.size();
    if (target != block_) {
        Free();
        block_ = target;
    }
}

void URString::SetPart(std::uint8_t selector, const char *text, std::size_t length, bool altMarkers)
{
    if (selector > 2)
        return;
    if (text != nullptr && length == 0)
        length = std::strlen(text);
    std::string_view given = text != nullptr ? std::string_view(text, length) : std::string_view();
    // A text taken from this value's own block is copied first: the block may move or be freed
    // before the text is read.
    AnsiString copy;
    if (block_ != nullptr && !given.empty()) {
        const char *first = block_->Text();
        const char *last = first + block_->Room();
        std::less_equal<const char *> le;
        if (le(first, given.data()) && !le(last, given.data())) {
            copy.assign(given);
            given = copy;
        }
    }
    switch (selector) {
    case 0: Store(RussianText(), given); break;
    case 1: Store(given, UkrainianText()); break;
    default: {
        std::string_view russian;
        std::string_view ukrainian;
        SplitMarked(given, altMarkers, russian, ukrainian);
        Store(russian, ukrainian);
        break;
    }
    }
}

void URString::SetPart(std::uint8_t selector, const AnsiString &text, bool altMarkers)
{
    if (text.empty())
        SetPart(selector, nullptr, 0, altMarkers);
    else
        SetPart(selector, text.data(), text.size(), altMarkers);
}

void URString::SetPart(std::uint8_t selector, const char *text, bool altMarkers)
{
    SetPart(selector, text, 0, altMarkers);
}

AnsiString URString::GetPart(std::uint8_t selector) const
{
    switch (selector) {
    case 0: return AnsiString(UkrainianText());
    case 1: return AnsiString(RussianText());
    default: return AnsiString();
    }
}

AnsiString URString::ToMarkedText(bool altMarkers) const
{
    return MarkedText(RussianText(), UkrainianText(), altMarkers);
}

std::size_t URString::PartLength(std::uint8_t selector) const
{
    if (block_ == nullptr)
        return 0;
    switch (selector) {
    case 0: return block_->ukrainian;
    case 1: return block_->russian;
    case 2: return block_->russian + block_->ukrainian;
    default: return 0;
    }
}

bool URString::IsEmptyPart(std::uint8_t selector) const
{
    switch (selector) {
    case 0: return PartLength(0) == 0;
    case 1: return PartLength(1) == 0;
    default: return PartLength(2) == 0;
    }
}

void URString::ClearPart(std::uint8_t selector, bool really)
{
    if (!really || block_ == nullptr)
        return;
    if (selector == 0)
        Store(RussianText(), {});
    else if (selector == 1)
        Store({}, UkrainianText());
    else
        Free();
}

bool URString::Equals(const URString &other) const
{
    return RussianText() == other.RussianText() && UkrainianText() == other.UkrainianText();
}

std::size_t URString::FromPacked(const std::uint8_t *packed, const std::uint8_t *end)
{
    std::string_view russian;
    std::string_view ukrainian;
    std::size_t size = ReadPacked(packed, end, russian, ukrainian);
    // A fresh value, so that a packed form lying in this value's block is read before it goes.
    URString value;
    value.Store(russian, ukrainian);
    *this = std::move(value);
    return size;
}

std::size_t URString::ToPacked(std::uint8_t *packed) const
{
    return WritePacked(packed, RussianText(), UkrainianText());
}

AnsiString URString::PackedToMarkedText(const std::uint8_t *packed, const std::uint8_t *end)
{
    std::string_view russian;
    std::string_view ukrainian;
    ReadPacked(packed, end, russian, ukrainian);
    return MarkedText(russian, ukrainian, false);
}

std::size_t URString::MarkedTextToPacked(std::uint8_t *packed, const AnsiString &text)
{
    std::string_view russian;
    std::string_view ukrainian;
    SplitMarked(text, false, russian, ukrainian);
    CheckPartLengths(russian, ukrainian);
    return WritePacked(packed, russian, ukrainian);
}

static_assert(sizeof(URString) == URString::SlotSize, "a slot holds exactly the value's block pointer");

void URString::InitSlot(void *record, std::size_t offset)
{
    Block *none = nullptr;
    std::memcpy(static_cast<char *>(record) + offset, &none, sizeof none);
}

URString URString::LoadSlot(const void *record, std::size_t offset)
{
    URString view;
    std::memcpy(&view.block_, static_cast<const char *>(record) + offset, sizeof view.block_);
    // The slot keeps its block whether or not the copy can be made.
    struct Lend {
        URString &value;
        ~Lend() { value.block_ = nullptr; }
    } lend{view};
    return URString(view);
}

void URString::StoreSlot(void *record, std::size_t offset, URString &&value)
{
    URString old;
    char *slot = static_cast<char *>(record) + offset;
    std::memcpy(&old.block_, slot, sizeof old.block_);
    std::memcpy(slot, &value.block_, sizeof value.block_);
    value.block_ = nullptr;
}  // `old` releases the block the slot held

void URString::ClearSlot(void *record, std::size_t offset) { StoreSlot(record, offset, URString()); }

std::size_t URString::SlotToPacked(const void *record, std::size_t offset, std::uint8_t *packed)
{
    URString view;
    std::memcpy(&view.block_, static_cast<const char *>(record) + offset, sizeof view.block_);
    const std::size_t size = view.ToPacked(packed);
    view.block_ = nullptr;
    return size;
}
