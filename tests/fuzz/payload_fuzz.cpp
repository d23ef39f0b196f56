// Fuzz target for the payload container and its Lzma86 streams. An input is a payload without its
// seal: the target seals it first, so mutations reach the trailer, the directory and the items
// instead of stopping at the seal. What the reader accepts must hold together: items in directory
// order, one after another from the image end exactly to the directory, with names that stay inside
// the product folder; every accepted item's stream is then unpacked.
#include <vector>

#include "tests/fuzz/FuzzTarget.h"
#include "tests/support/PayloadBuilder.h"
#include "tests/support/RecordingLog.h"
#include "update/payload/ByteSource.h"
#include "update/payload/Lzma86.h"
#include "update/payload/Payload.h"
#include "update/payload/Seal.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint64_t MaxUnpacked = 1 << 20;

void CheckAccepted(TByteSource &source, const TPayloadInfo &info)
{
    std::uint64_t position = info.ImageLength;
    for (const TPartNfo &item : info.Items) {
        if (item.Position != position)
            FuzzFinding("an item does not start where the one before it ends");
        const std::uint64_t length = item.Rec[PN_ItemLength];
        if (item.Type == SECTION) {
            position += 9;
            continue;
        }
        if (!IsSafeItemName(item.Name))
            FuzzFinding("an unsafe item name was accepted");
        if (length < 7 + item.Name.size())
            FuzzFinding("an item shorter than its own header was accepted");
        const std::uint64_t stream = item.Position + 7 + item.Name.size();
        position += length;
        if (position > info.DirectoryPosition)
            FuzzFinding("an item reaches into the directory");
        std::uint8_t header[kLzma86HeaderSize];
        std::uint64_t unpacked = 0;
        if (source.ReadAt(stream, header, sizeof header) && GetLzma86UnpackSize(header, sizeof header, unpacked) &&
            unpacked <= MaxUnpacked) {
            Bytes out(static_cast<std::size_t>(unpacked));
            Lzma86Decode(source, stream, out.data(), out.size(), TLzmaProgress{});
        }
    }
    if (position != info.DirectoryPosition)
        FuzzFinding("the items do not end at the directory");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    TMemoryStore store(Bytes(data, data + size));
    if (!SealStream(store))
        return 0;
    RecordingLog log;
    TPayloadInfo info;
    if (ReadPayload(store, "fuzz.exe", log, info))
        CheckAccepted(store, info);
    return 0;
}

std::vector<Bytes> FuzzSeedInputs()
{
    std::vector<Bytes> seeds;
    for (int k = 0; k < 3; ++k) {
        TestPayloadBuilder b;
        if (k == 1)
            b.AddSection();
        b.AddFile(BINDIFF, "base\\std1", PatternBytes(300 + 200 * k, k));
        b.AddFile(ADDREPL, "exe\\a.dll", PatternBytes(100, 7));
        if (k == 2) {
            b.AddSection();
            b.AddFile(ADDREPM, "doc\\x.txt", PatternBytes(50, 9));
            b.BaseVersion = "3.1.1.2";
            b.NewVersion = "3.1.1.5";
        }
        Bytes bytes = b.Build().Bytes;
        bytes.resize(bytes.size() - 8);  // the target seals it again
        seeds.push_back(bytes);
    }
    return seeds;
}
