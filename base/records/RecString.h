#pragma once
// The text slot of a fixed record: one pointer wide, null for an empty text, otherwise a counted
// block of the text that copies of the slot share. A record is raw bytes, so the slot is read and
// written at a byte offset through memcpy and never assumes alignment. Nothing releases a slot on its
// own: only Clear, Set and Share (over the old text) do, so copying a record's bytes elsewhere moves
// its texts without counting them, and whoever owns the record clears its slots once.
#include <cstddef>
#include <string_view>

#include "framework/runtime/AnsiString.h"

class RecString {
public:
    static constexpr std::size_t Size = sizeof(void *);

    // Writes an empty slot into fresh memory, whatever the bytes held.
    static void Init(void *record, std::size_t offset);
    // The slot's text ("" for an empty slot); the view lives until the slot is cleared or overwritten.
    static std::string_view View(const void *record, std::size_t offset);
    static AnsiString Get(const void *record, std::size_t offset) { return AnsiString(View(record, offset)); }
    static bool IsEmpty(const void *record, std::size_t offset);
    // Gives the slot its own new text (an empty text leaves it null) and releases the old one. The
    // text may be a view of the slot itself.
    static void Set(void *record, std::size_t offset, std::string_view text);
    // Releases the text and leaves the slot null.
    static void Clear(void *record, std::size_t offset);
    // Makes the destination slot share the source slot's text (releasing what the destination held);
    // the two may be the same slot.
    static void Share(void *dstRecord, std::size_t dstOffset, const void *srcRecord, std::size_t srcOffset);
    // How many slots share the text (0 for an empty slot).
    static long Holders(const void *record, std::size_t offset);

private:
    struct Block;
    static Block *Load(const void *record, std::size_t offset);
    static void Store(void *record, std::size_t offset, Block *block);
    static void Release(Block *block);
};
