#pragma once
// Test-side writer of the updater's payload: items of every type after a stand-in executable image,
// the directory, the trailer and the seal, laid out as the packaging tool lays them out.
#include <array>
#include <cstdint>
#include <vector>

#include "framework/runtime/AnsiString.h"
#include "update/payload/PartNfo.h"

struct TestPayloadItem {
    uint8_t Type = 0;
    AnsiString Name;
    std::vector<uint8_t> Data;       // the item's data (normally one Lzma86 stream)
    std::array<uint32_t, 12> Rec{};  // [10] and [11] are filled in by Build when left 0
};

struct TestPayload {
    std::vector<uint8_t> Bytes;
    uint64_t ImageLength = 0;
    uint64_t DirectoryPosition = 0;
    uint64_t CountPosition = 0;  // the u32 COUNT of the trailer
    std::vector<uint64_t> ItemPositions;
};

class TestPayloadBuilder {
public:
    std::vector<uint8_t> Image;  // empty: the default stand-in image of WritePeImage
    AnsiString NewVersion = "3.1.1";
    AnsiString BaseVersion = "3.1.0";
    std::vector<uint32_t> Builds = {0x5F000000, 2};
    uint32_t TempBytes = 1000;
    uint32_t Growth = 2000;

    void AddSection();
    // An item whose data is `content` packed as an Lzma86 stream, with the record a packaging tool
    // writes for it (unpacked size and checksum; the new size and checksum for whole-file items).
    // Returns the item's record, for the entries a patch item needs beyond those; it stays valid until
    // the next item is added.
    std::array<uint32_t, 12> &AddFile(uint8_t type, const AnsiString &name, const std::vector<uint8_t> &content);
    // A patch item (BINDIFF, or `type` PE1DIFF or PE2DIFF) that turns `oldContent` into `newContent`,
    // with the sizes and checksums of both in its record.
    void AddPatch(const AnsiString &name, const std::vector<uint8_t> &oldContent,
                  const std::vector<uint8_t> &newContent, uint8_t type = BINDIFF);
    // An item with raw data and a chosen record.
    void AddRaw(const TestPayloadItem &item) { items_.push_back(item); }

    TestPayload Build() const;

private:
    std::vector<TestPayloadItem> items_;
};

// Replaces the seal of a payload whose bytes a test has changed on purpose.
void ResealPayload(std::vector<uint8_t> &bytes);

std::vector<uint8_t> PatternBytes(size_t size, uint32_t seed);
