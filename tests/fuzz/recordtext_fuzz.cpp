// Fuzz target for the record/text field converter. The first byte gives the number of fields (1-16),
// then one byte per field: its type (0-7, 7 one the converter does not know) and a gap of 0-7 bytes
// before it; fields are laid one after the other in a record of exactly their size, so a write past
// a field's end is a sanitizer report. The rest is the text. Besides the sanitizers: the text the
// record gives reads back to a record that gives the same text.
#include <cstring>
#include <vector>

#include "base/records/RecString.h"
#include "base/records/RecordText.h"
#include "tests/fuzz/FuzzTarget.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::size_t FieldSize(std::uint8_t type)
{
    switch (type) {
    case FieldType::U8:
    case FieldType::Char: return 1;
    case FieldType::U16: return 2;
    case FieldType::U32:
    case FieldType::Hex32: return 4;
    case FieldType::Text: return RecString::Size;
    default: return 0;
    }
}

Bytes Seed(std::initializer_list<std::uint8_t> layout, std::string_view text)
{
    Bytes b(layout);
    b.insert(b.end(), text.begin(), text.end());
    return b;
}

}  // namespace

std::vector<Bytes> FuzzSeedInputs()
{
    return {
        Seed({6, 0x01, 0x12, 0x03, 0x24, 0x35, 0x06}, "255\x01q\x01"
                                                      "65535\x01"
                                                      "4294967295\x01"
                                                      "DEADBEEF\x01text\x01\x02"),
        Seed({3, 0x06, 0x06, 0x01}, "first\x01second\x01"
                                    "7\x01\x02"),
        Seed({4, 0x04, 0x05, 0x07, 0x02}, "-1\x01"
                                          "0x1f\x01skipped\x01"),
        Seed({1, 0x06}, ""),
    };
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t count = data[0] % 16 + 1;
    if (size < 1 + count)
        return 0;
    Bytes fields;
    std::size_t recordSize = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t type = data[1 + i] % 8 == 0 ? FieldType::U8 : data[1 + i] % 8;
        recordSize += data[1 + i] >> 5;
        AppendFieldDescriptor(fields, type, static_cast<std::uint32_t>(recordSize));
        recordSize += FieldSize(type);
    }
    fields.push_back(FieldType::End);
    const std::string_view text(reinterpret_cast<const char *>(data) + 1 + count, size - 1 - count);

    // Text slots start empty; the other bytes hold garbage the converter must overwrite or leave.
    std::vector<std::uint8_t> first(recordSize, 0xA5), second(recordSize, 0x5A);
    for (const std::uint8_t *f = fields.data(); f[0] != FieldType::End; f += FieldDescriptorSize) {
        if (f[0] == FieldType::Text) {
            std::uint32_t offset;
            std::memcpy(&offset, f + 1, 4);
            RecString::Init(first.data(), offset);
            RecString::Init(second.data(), offset);
        }
    }
    TextToRecord(first.data(), fields.data(), text);
    const AnsiString written = RecordToText(first.data(), fields.data());
    if (written.find('\0') != AnsiString::npos)
        FuzzFinding("a record's text holds a NUL");
    TextToRecord(second.data(), fields.data(), written);
    if (RecordToText(second.data(), fields.data()) != written)
        FuzzFinding("a record's text does not read back to the same text");
    ClearRecordFields(first.data(), fields.data());
    ClearRecordFields(second.data(), fields.data());
    return 0;
}
