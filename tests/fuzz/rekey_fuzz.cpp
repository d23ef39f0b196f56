// Fuzz target for the database re-keying. An input is u32 old key, u32 new key, then the file.
// Besides the sanitizers: a file that re-keys must re-key back to itself (less any trailing bytes).
#include <algorithm>

#include "storage/compound/dbkeys.h"
#include "tests/fuzz/FuzzTarget.h"
#include "tests/support/CompoundFileBuilder.h"
#include "update/patch/DbbRekey.h"

namespace {

using testdata::Bytes;

uint32_t Le32(const uint8_t *p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }

Bytes Input(uint32_t oldKey, uint32_t newKey, const Bytes &file)
{
    Bytes in;
    for (uint32_t v : {oldKey, newKey})
        for (int i = 0; i < 4; ++i)
            in.push_back(static_cast<uint8_t>(v >> (8 * i)));
    in.insert(in.end(), file.begin(), file.end());
    return in;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 8)
        return 0;
    const uint32_t oldKey = Le32(data), newKey = Le32(data + 4);
    const Bytes file(data + 8, data + size);
    TMemorySource in(file);
    TMemoryStore there;
    const RekeyResult r = RekeyDbb(in, there, oldKey, newKey, nullptr);
    if (!r.Ok()) {
        if (RekeyFaultText(r).empty())
            FuzzFinding("a failed re-keying has no protocol text");
        return 0;
    }
    if (there.Bytes().size() + r.trailingBytes != file.size())
        FuzzFinding("the re-keyed file has another length");
    TMemorySource back(there.Bytes());
    TMemoryStore again;
    const RekeyResult r2 = RekeyDbb(back, again, newKey, oldKey, nullptr);
    if (!r2.Ok() || r2.trailingBytes != 0 || !std::equal(again.Bytes().begin(), again.Bytes().end(), file.begin()) ||
        again.Bytes().size() != there.Bytes().size())
        FuzzFinding("re-keying back did not restore the file");
    return 0;
}

std::vector<Bytes> FuzzSeedInputs()
{
    using testdata::CompoundFileBuilder;
    std::vector<Bytes> seeds;
    CompoundFileBuilder db = CompoundFileBuilder::Created(3);
    db.Commit(1, {Bytes{0x5A}, Bytes(50, 0x33)});
    const uint32_t deleted = db.Record(Bytes(20, 0x44));
    db.SetFlags(deleted, testdata::kDeleted);
    db.Commit(0, {Bytes(9, 0x11)});
    seeds.push_back(Input(DbbKeys[0], 0, db.Build(DbbKeys[0])));
    seeds.push_back(Input(0, DbbKeys[3], db.Build(0)));
    seeds.push_back(Input(DbbKeys[2], DbbKeys[5], db.Build(DbbKeys[2])));
    seeds.push_back(Input(0, 0, CompoundFileBuilder::Created(1).Build(0)));
    return seeds;
}
