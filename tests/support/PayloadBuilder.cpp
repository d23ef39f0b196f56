#include "tests/support/PayloadBuilder.h"

#include <stdexcept>

#include "tests/support/PatchWriter.h"
#include "tests/support/PeImageWriter.h"
#include "update/payload/ByteSource.h"
#include "update/payload/Checksum.h"
#include "update/payload/Lzma86.h"
#include "update/payload/PartNfo.h"
#include "update/payload/Seal.h"

namespace {

void Append16(std::vector<uint8_t> &b, uint16_t v)
{
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}

void Append32(std::vector<uint8_t> &b, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(uint8_t(v >> (8 * i)));
}

void AppendText(std::vector<uint8_t> &b, const AnsiString &text) { b.insert(b.end(), text.begin(), text.end()); }

}  // namespace

void TestPayloadBuilder::AddSection()
{
    TestPayloadItem item;
    item.Type = SECTION;
    items_.push_back(item);
}

std::array<uint32_t, 12> &TestPayloadBuilder::AddFile(uint8_t type, const AnsiString &name,
                                                      const std::vector<uint8_t> &content)
{
    TestPayloadItem item;
    item.Type = type;
    item.Name = name;
    if (!Lzma86Encode(content.data(), content.size(), item.Data, TLzmaProgress{}))
        throw std::runtime_error("Lzma86Encode failed");
    const uint32_t sum = AddChecksum(0, content.data(), content.size());
    const bool whole = type == ADDREPL || type == ADDREPM;
    item.Rec[PN_UnpackedSize] = whole ? 0 : uint32_t(content.size());
    item.Rec[PN_UnpackedSum] = type == ADDREPM ? 1 : whole ? 0 : sum;
    if (whole) {
        item.Rec[PN_NewSize] = item.Rec[PN_OldSize] = uint32_t(content.size());
        item.Rec[PN_NewSum] = item.Rec[PN_OldSum] = sum;
    }
    items_.push_back(item);
    return items_.back().Rec;
}

void TestPayloadBuilder::AddPatch(const AnsiString &name, const std::vector<uint8_t> &oldContent,
                                  const std::vector<uint8_t> &newContent, uint8_t type)
{
    std::array<uint32_t, 12> &rec = AddFile(type, name, WritePatch(oldContent, newContent));
    rec[PN_OldSize] = uint32_t(oldContent.size());
    rec[PN_OldSum] = AddChecksum(0, oldContent.data(), oldContent.size());
    rec[PN_NewSize] = uint32_t(newContent.size());
    rec[PN_NewSum] = AddChecksum(0, newContent.data(), newContent.size());
}

TestPayload TestPayloadBuilder::Build() const
{
    TestPayload out;
    out.Bytes = Image.empty() ? WritePeImage() : Image;
    out.ImageLength = out.Bytes.size();
    std::vector<std::array<uint32_t, 12>> records;
    for (const TestPayloadItem &item : items_) {
        const size_t at = out.Bytes.size();
        out.ItemPositions.push_back(at);
        out.Bytes.push_back(item.Type);
        std::array<uint32_t, 12> rec = item.Rec;
        if (item.Type == SECTION) {
            out.Bytes.insert(out.Bytes.end(), 8, 0);
        } else {
            Append16(out.Bytes, uint16_t(item.Name.size()));
            AppendText(out.Bytes, item.Name);
            Append32(out.Bytes, 0);
            out.Bytes.insert(out.Bytes.end(), item.Data.begin(), item.Data.end());
            if (rec[PN_ItemLength] == 0)
                rec[PN_ItemLength] = uint32_t(out.Bytes.size() - at);
            if (rec[PN_ItemSum] == 0)
                rec[PN_ItemSum] = AddChecksum(0, out.Bytes.data() + at, out.Bytes.size() - at);
        }
        records.push_back(rec);
    }
    out.DirectoryPosition = out.Bytes.size();
    for (const auto &rec : records)
        for (uint32_t w : rec)
            Append32(out.Bytes, w);
    out.CountPosition = out.Bytes.size();
    Append32(out.Bytes, uint32_t(records.size()));
    Append32(out.Bytes, TempBytes);
    Append32(out.Bytes, Growth);
    AppendText(out.Bytes, BaseVersion);
    Append16(out.Bytes, uint16_t(BaseVersion.size()));
    AppendText(out.Bytes, NewVersion);
    Append16(out.Bytes, uint16_t(NewVersion.size()));
    for (uint32_t build : Builds)
        Append32(out.Bytes, build);
    Append16(out.Bytes, uint16_t(Builds.size()));
    TMemoryStore store(std::move(out.Bytes));
    SealStream(store);
    out.Bytes = store.Bytes();
    return out;
}

void ResealPayload(std::vector<uint8_t> &bytes)
{
    TMemoryStore store(std::move(bytes));
    StripStreamSeal(store);
    SealStream(store);
    bytes = store.Bytes();
}

std::vector<uint8_t> PatternBytes(size_t size, uint32_t seed)
{
    std::vector<uint8_t> b(size);
    uint32_t x = seed * 2654435761u + 1;
    for (size_t i = 0; i < size; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        // Half of the bytes come from a small alphabet so the data compresses like real files do.
        b[i] = (x & 0x100) ? uint8_t("ABCDEFGH"[x & 7]) : uint8_t(x);
    }
    return b;
}
