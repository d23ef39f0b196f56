// Fuzz target for the compound-file reader. An input is one selector byte and a file: selector % 3 is
// 0 a plain compound file, 1 a scrambled one (key from the selector), 2 the simple form. Every logical
// file, its logical records and the version stamp are read; a damaged file may only raise ZError. A
// plain file that opens is also given a new logical file 0, which must then read back exactly.
#include <cstring>

#include "base/messages/zmsg.h"
#include "storage/compound/dbkeys.h"
#include "storage/compound/dwfile.h"
#include "storage/compound/wstore_mem.h"
#include "tests/fuzz/FuzzTarget.h"
#include "tests/support/CompoundFileBuilder.h"

namespace {

using testdata::B;
using testdata::Bytes;

// Enough logical files to reach every kind of chain without walking thousands of them.
constexpr uint32_t MaxFilesRead = 16;

void ReadEverything(WFile &f)
{
    WRec rec;
    if (!f.Compound()) {
        while (f.ReadRecord(rec)) {}
        return;
    }
    const uint32_t files = f.FileCount() < MaxFilesRead ? f.FileCount() : MaxFilesRead;
    for (uint32_t n = 0; n < files; ++n) {
        try {
            f.OpenLogicalFile(n);
            while (f.ReadRecord(rec)) {}
        } catch (const ZError &) {}
        for (int framing = 0; framing < 3; ++framing) {
            try {
                if (framing == 0)
                    f.BeginReadRecords(n, ";");
                else if (framing == 1)
                    f.BeginReadRecords(n, "");
                else
                    f.BeginReadRecords(n, 3);
                const uint8_t *data;
                uint32_t length;
                while (f.ReadLogicalRecord(data, length)) {
                    volatile uint8_t touch = length ? data[length - 1] : 0;
                    (void)touch;
                }
            } catch (const ZError &) {}
        }
    }
    if (f.FileCount() > 0) {
        try {
            f.ReadVersion();
        } catch (const ZError &) {}
    }
}

void CheckCommit(MemStoreSystem &files)
{
    const Bytes written = B("fuzz record");
    {
        WFile f("f.dat");
        if (f.FileCount() == 0)
            return;
        f.BeginWrite(0);
        f.WriteRecord(0, static_cast<uint32_t>(written.size()), written.data());
        f.EndWrite(0, true);
    }
    WFile f("f.dat", true);
    WRec rec;
    f.OpenLogicalFile(0);
    if (!f.ReadRecord(rec) || Bytes(rec.Data(), rec.Data() + rec.Length()) != written || f.ReadRecord(rec))
        FuzzFinding("a committed logical file did not read back");
    (void)files;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    MemStoreSystem files;
    WStoreSystem *old = SetStoreSystem(&files);
    files.Put("f.dat", Bytes(data + 1, data + size));
    const int kind = data[0] % 3;
    const uint32_t key = kind == 1 ? DbbKeys[(data[0] / 3) % 6] : 0;
    bool opened = false;
    try {
        if (kind == 2) {
            WFile f("f.dat", SimpleMode::Read);
            ReadEverything(f);
        } else {
            WFile f("f.dat", key);
            opened = true;
            ReadEverything(f);
        }
    } catch (const ZError &) {}
    if (opened && kind == 0) {
        try {
            CheckCommit(files);
        } catch (const ZError &) {
            // A damaged file may refuse the commit; it must not crash.
        }
    }
    if (!TakeWFileCloseFailures().empty())
        FuzzFinding("a reader's close recorded a failure");
    SetStoreSystem(old);
    return 0;
}

std::vector<Bytes> FuzzSeedInputs()
{
    using testdata::CompoundFileBuilder;
    auto with = [](uint8_t selector, const Bytes &file) {
        Bytes in{selector};
        in.insert(in.end(), file.begin(), file.end());
        return in;
    };
    auto b = CompoundFileBuilder::Created(4);
    b.Commit(0, {B("5-3.1.1")});
    b.Commit(1, {B("a;bb;"), B("ccc;")});
    b.Commit(2, {Bytes{2, 0, 'x', 'y', 1, 0, 'z'}});
    const uint32_t del = b.Record(B("gone"), testdata::kDeleted);
    b.SetLink(del, b.Commit(3, {B("abcdef"), B("ghi")}));
    b.SetEntry(3, del, 0);
    std::vector<Bytes> seeds = {with(0, b.Build()), with(0, CompoundFileBuilder::Created(2).Build()),
                                with(2, testdata::SimpleFile({B("alias"), B("CFG")}))};
    for (uint8_t i = 0; i < 6; ++i)
        seeds.push_back(with(static_cast<uint8_t>(1 + 3 * i), b.Build(DbbKeys[i])));
    return seeds;
}
