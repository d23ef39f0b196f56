#pragma once
// One record of the payload directory and the item it describes.
#include <array>
#include <cstdint>
#include <vector>

#include "framework/runtime/AnsiString.h"

// Item types of the payload.
enum : uint8_t {
    BINDIFF = 0,  // patch a product file
    DBBDIFF = 1,  // patch a scrambled database file
    PE1DIFF = 2,  // patch the product executable of edition 1
    PE2DIFF = 3,  // patch the product executable of edition 2
    CFGDIFF = 4,  // has no handler
    ADDREPL = 5,  // add or replace a file
    ADDREPM = 6,  // add or replace a file of one edition
    SECTION = 7,  // start of a new data section
};

// Indexes into the 12 words of a directory record.
enum : int {
    PN_OldSize = 0,
    PN_OldSum = 1,
    PN_PlainDbSize = 2,
    PN_PlainDbSum = 3,
    PN_UnpackedSize = 4,
    PN_UnpackedSum = 5,  // [5] is the edition for ADDREPM
    PN_PatchedDbSize = 6,
    PN_PatchedDbSum = 7,
    PN_NewSize = 8,
    PN_NewSum = 9,
    PN_ItemLength = 10,
    PN_ItemSum = 11,
};

struct TPartNfo {
    uint64_t Position = 0;  // offset of the item's type byte in the updater's file
    uint8_t Type = 0;
    AnsiString Name;  // target path relative to the product folder; empty for SECTION
    std::array<uint32_t, 12> Rec{};
};

using TPartList = std::vector<TPartNfo>;
