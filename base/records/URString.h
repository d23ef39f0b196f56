#pragma once
// A compact two-language string: the Russian and the Ukrainian reading of one text side by side in
// one heap block, so that a record member holding a two-language text costs one pointer.
//
// In memory the value owns a block (none for an empty value): its capacity, the two part lengths,
// then the Russian bytes directly followed by the Ukrainian bytes, without terminators. The block
// lives only in memory; what is stored is the packed form: u16 Russian length, u16 Ukrainian length
// (little-endian), the Russian bytes, the Ukrainian bytes, 4 + both lengths in all.
//
// Language selectors follow the library's numbering: 0 Ukrainian, 1 Russian, 2 both. A part is at
// most 65,535 bytes, the most a packed length holds; a longer one, and a packed form that runs past
// the end of its data, are refused with TZExcept of code DamagedDataCode and the value is left as
// it was.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/messages/TZExcept.h"
#include "framework/runtime/AnsiString.h"

class URString {
public:
    // Damaged or oversize data.
    static constexpr std::uint32_t DamagedDataCode = OwnErrorCode(9);
    static constexpr std::size_t MaxPartLength = 0xFFFF;
    // The text every accessor points at when a part is empty.
    static constexpr char EmptyText[1] = "";

    URString() = default;
    URString(const URString &other);
    URString(URString &&other) noexcept : block_(other.block_) { other.block_ = nullptr; }
    ~URString();
    URString &operator=(const URString &other);
    URString &operator=(URString &&other) noexcept;
    // Replaces the value by a packed form that ends before `end`; see FromPacked.
    URString &AssignPacked(const std::uint8_t *packed, const std::uint8_t *end);

    // 0 the Ukrainian text, 1 the Russian text, any other selector an empty text.
    AnsiString GetPart(std::uint8_t selector) const;
    // 0 replaces the Ukrainian text, 1 the Russian text, keeping the other; 2 replaces both by the
    // parts of a marked two-language text ('^' and '&' as markers when `altMarkers` is set, else
    // 0x04 and 0x05), where a text without markers serves both languages. A null text is an empty
    // one; a length of 0 means up to the terminating zero. Other selectors change nothing. The text
    // may lie in this value's own block.
    void SetPart(std::uint8_t selector, const char *text, std::size_t length, bool altMarkers);
    void SetPart(std::uint8_t selector, const AnsiString &text, bool altMarkers = false);
    void SetPart(std::uint8_t selector, const char *text, bool altMarkers = false);
    // A length without the marker flag would be taken for the flag: name both.
    void SetPart(std::uint8_t selector, const char *text, std::size_t length) = delete;

    AnsiString GetRussian() const { return GetPart(1); }
    AnsiString GetUkrainian() const { return GetPart(0); }
    void SetRussian(const AnsiString &text) { SetPart(1, text); }
    void SetUkrainian(const AnsiString &text) { SetPart(0, text); }
    // The bytes of one part in the block (not zero-terminated); EmptyText when the part is empty.
    // Valid until the value next changes.
    std::string_view RussianText() const;
    std::string_view UkrainianText() const;

    // The Russian marker, the Russian text, the Ukrainian marker, the Ukrainian text (both markers
    // always, '^' and '&' with `altMarkers`); an empty value gives an empty text.
    AnsiString ToMarkedText(bool altMarkers = false) const;
    void FromMarkedText(const AnsiString &text, bool altMarkers = false) { SetPart(2, text, altMarkers); }
    void FromMarkedText(const char *text, bool altMarkers = false) { SetPart(2, text, altMarkers); }

    // 0 the Ukrainian length, 1 the Russian length, 2 their sum, any other selector 0.
    std::size_t PartLength(std::uint8_t selector) const;
    // 0 no Ukrainian text, 1 no Russian text, any other selector both empty.
    bool IsEmptyPart(std::uint8_t selector) const;
    // Only when `really` is set: 0 empties the Ukrainian text, 1 the Russian text, any other
    // selector frees the block.
    void ClearPart(std::uint8_t selector, bool really = true);
    // Both parts hold the same bytes (two empty values are equal, with or without a block).
    bool Equals(const URString &other) const;

    // Replaces the value by the packed form at `packed`, whose data ends before `end`, and returns
    // the bytes it takes; without a packed form the value becomes empty and the result is 4.
    std::size_t FromPacked(const std::uint8_t *packed, const std::uint8_t *end);
    // Writes the packed form (PackedSize bytes) and returns its size; with a null buffer only the
    // size is returned.
    std::size_t ToPacked(std::uint8_t *packed) const;
    std::size_t PackedSize() const { return 4 + PartLength(2); }
    // The marked text (0x04, 0x05) of a packed form ending before `end`.
    static AnsiString PackedToMarkedText(const std::uint8_t *packed, const std::uint8_t *end);
    // Writes the Russian and then the Ukrainian part of a marked text (0x04, 0x05) as a packed form
    // and returns its size; `packed` must hold 4 + the text's length bytes.
    static std::size_t MarkedTextToPacked(std::uint8_t *packed, const AnsiString &text);

    // A record member holding a value: the value's block pointer, one pointer wide, read and written
    // at a byte offset through memcpy, as records are raw bytes. A zeroed slot is an empty value. The
    // slot owns its block: only StoreSlot and ClearSlot release it.
    static constexpr std::size_t SlotSize = sizeof(void *);
    static void InitSlot(void *record, std::size_t offset);
    // A copy of the slot's value.
    static URString LoadSlot(const void *record, std::size_t offset);
    // Moves the value into the slot and releases what the slot held.
    static void StoreSlot(void *record, std::size_t offset, URString &&value);
    static void ClearSlot(void *record, std::size_t offset);
    // The packed form of the slot's value (ToPacked without a copy).
    static std::size_t SlotToPacked(const void *record, std::size_t offset, std::uint8_t *packed);
    static std::size_t SlotPackedSize(const void *record, std::size_t offset)
    {
        return SlotToPacked(record, offset, nullptr);
    }

    // The block size for `textBytes` bytes of text: a multiple of 32 above the text and the six
    // bytes of the lengths.
    static constexpr std::size_t CapacityFor(std::size_t textBytes) { return ((textBytes + 6) / 32 + 1) * 32; }
    // The size of the block held, 0 without one.
    std::size_t Capacity() const;

private:
    struct Block;

    // Replaces both parts; the texts must not lie in this value's block unless it is kept.
    void Store(std::string_view russian, std::string_view ukrainian);
    void Free();

    Block *block_ = nullptr;
};
