#pragma once
// Builds text base files ("riza.sfr") from the format, independently of the text base's code. The
// file is a compound file whose logical files are the sections; a text record's data is {u16 text
// number, u8 flags, u16 text length, text}. A text is 0x04 + Russian + 0x05 + Ukrainian + 0x03 + tail.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tests/support/CompoundFileBuilder.h"

namespace testdata {

struct RizaText {
    uint16_t number = 0;
    uint8_t flags = 0;  // bits 0 and 1 clear: the record has a tail part
    Bytes text;
};

// The data of a text record.
Bytes RizaTextData(const RizaText &text);
// The data of a text record whose stored text length is `storedLength` whatever the text holds.
Bytes RizaTextData(const RizaText &text, uint16_t storedLength);
// 0x04 Russian 0x05 Ukrainian 0x03 tail; a part that is empty is left out with its marker (the tail
// with its 0x03 only when `withClose` is false and the tail is empty).
Bytes TwoLanguageText(const std::string &russian, const std::string &ukrainian, const std::string &tail = "",
                      bool withClose = true);

// The section number of the screen and document texts.
inline constexpr uint32_t kTextSection = 1421;

// A text base as created and then committed: `sectionCount` sections, each section of the map
// committed with its texts in order, every other one empty.
CompoundFileBuilder RizaFileBuilder(uint32_t sectionCount, const std::map<uint32_t, std::vector<RizaText>> &sections);
Bytes RizaFile(uint32_t sectionCount, const std::map<uint32_t, std::vector<RizaText>> &sections);
// The usual file: 1422 sections, the texts in section 1421.
Bytes RizaFile(const std::vector<RizaText> &texts);

}  // namespace testdata
