// Fuzz target for the compound-file reader and its writers. An input is one selector byte and a file:
// selector % 3 is 0 a plain compound file, 1 a scrambled one (key from the selector), 2 the simple
// form. Every logical file, its logical records and the version stamp are read; a damaged file may
// only raise ZError. A plain file that opens is also given a new logical file 0, which must then read
// back exactly, and then the input's bytes, read from its end, are a script of record edits (every
// operation of EditRecords, inserts, moves, replaces, appends of records and of a simple file) and of
// simple-file appends, some of which meet a full disk part-way. When every logical file read before
// an edit, it must read after it, whether the edit was made or failed; and no edit leaves the file
// held, but for a chain that waits for its end.
#include <algorithm>
#include <cstring>
#include <memory>
#include <set>
#include <string>

#include "base/messages/zmsg.h"
#include "storage/compound/dbkeys.h"
#include "storage/compound/dwfile.h"
#include "storage/compound/wstore_mem.h"
#include "tests/fuzz/FuzzTarget.h"
#include "tests/support/CompoundFileBuilder.h"
#include "tests/support/FaultyStore.h"

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

// The input's bytes from its end, one at a time; zeros once they run out.
class Script {
public:
    Script(const uint8_t *data, std::size_t size) : data_(data), left_(size) {}
    bool More() const { return left_ != 0; }
    uint8_t Next() { return left_ ? data_[--left_] : 0; }

private:
    const uint8_t *data_;
    std::size_t left_;
};

// Positions of the data records of logical file n, in chain order; false when it does not read.
bool ChainOf(WFile &f, uint32_t n, std::vector<uint32_t> &positions)
{
    positions.clear();
    try {
        WRec rec;
        f.OpenLogicalFile(n);
        while (f.ReadRecord(rec))
            positions.push_back(f.RecordPosition());
        return true;
    } catch (const ZError &) {
        return false;
    }
}

// Whether the edits' own checks can hold on the file: its data area is a row of whole records, and
// every data record a logical file reads starts one of them and belongs to that logical file alone
// (an edit of one logical file rewrites its records' headers; in a damaged file another logical
// file, or another record's bytes, may lie there).
bool Sound(WFile &f)
{
    std::set<uint32_t> starts, seen;
    std::vector<uint32_t> chain;
    try {
        uint32_t at = static_cast<uint32_t>(CompoundFile::DataStartFor(f.FileCount()));
        f.SeekRaw(at);
        WRec rec;
        while (at < f.DataEnd()) {
            if (!f.ReadRawRecord(rec) || rec.Length() == 0)
                return false;
            starts.insert(at);
            at = f.ReadPosition();
        }
        if (at != f.DataEnd())
            return false;
    } catch (const ZError &) {
        return false;
    }
    const uint32_t files = std::min(f.FileCount(), MaxFilesRead);
    for (uint32_t n = 0; n < files; ++n) {
        if (!ChainOf(f, n, chain))
            return false;
        for (const uint32_t p : chain)
            if (!starts.count(p) || !seen.insert(p).second)
                return false;
    }
    return true;
}

bool EveryFileReads(WFile &f)
{
    std::vector<uint32_t> chain;
    const uint32_t files = std::min(f.FileCount(), MaxFilesRead);
    for (uint32_t n = 0; n < files; ++n)
        if (!ChainOf(f, n, chain))
            return false;
    return true;
}

// Edit `what` of logical file n, its records and their predecessors taken from the chain as it
// reads; false when the chain has no records that fit it.
bool EditOnce(WFile &f, Script &script, uint8_t what, uint32_t n, const std::vector<uint32_t> &chain)
{
    const std::string text(1 + script.Next() % 40, static_cast<char>('a' + what % 26));
    WRec rec;
    rec.Assign(text.data(), static_cast<uint32_t>(text.size()));
    auto pick = [&](bool front) -> uint32_t {  // a record of the chain, or 0: the front
        const std::size_t choices = chain.size() + (front ? 1 : 0);
        if (choices == 0)
            return 0;
        const std::size_t i = script.Next() % choices;
        return i < chain.size() ? chain[i] : 0;
    };
    // The record behind position (0: the front, where the entry's first record is), NoLink behind the
    // last data record.
    auto after = [&](uint32_t position) -> uint32_t {
        if (position == 0)
            return chain.empty() ? f.EntryPosition(n) : chain.front();
        const auto it = std::find(chain.begin(), chain.end(), position);
        return it + 1 != chain.end() && it != chain.end() ? *(it + 1) : NoLink;
    };
    auto before = [&](uint32_t position) -> uint32_t {  // its predecessor, 0 for the front
        const auto it = std::find(chain.begin(), chain.end(), position);
        return it == chain.begin() || it == chain.end() ? 0 : *(it - 1);
    };
    switch (what % 12) {
    case 0: f.AppendRecord(n, rec); return true;
    case 1: f.InsertRecordAfter(n, pick(true), rec); return true;
    case 2: {
        const uint32_t x = pick(false);
        return x != 0 && (f.EditRecords(1, n, rec, 0, x), true);
    }
    case 3:
    case 4:
    case 5: {
        // Replace, rewrite or replace, insert: x and the record behind it.
        const uint32_t x = pick(false);
        const uint32_t next = x != 0 ? after(x) : NoLink;
        const int operation = what % 12 == 3 ? 2 : what % 12 == 4 ? 5 : 3;
        return next != NoLink && (f.EditRecords(operation, n, rec, next, x), true);
    }
    case 6: f.EditRecords(6, n, rec, 0, 0); return true;
    case 7: f.EditRecords(7, n, rec, 0, 0); return true;
    case 8: {
        const uint32_t a = pick(true);
        const uint32_t next = after(a);
        return next != NoLink && (f.EditRecords(8, n, rec, next, a == 0 ? 0xFFFFFFFFu : a), true);
    }
    case 9: {
        // The record behind a goes behind b: a must have a data record behind it.
        const uint32_t a = pick(true);
        return after(a) != NoLink && (f.MoveNextRecord(n, a, pick(true)), true);
    }
    case 10: {
        const uint32_t b = pick(false);
        return b != 0 && (f.ReplaceRecords(n, rec, before(b), b, b), true);
    }
    default: f.AppendLogicalFile(n, "s.lst"); return true;
    }
}

// Appends to the simple file, as the script says, some appends meeting a full disk that has room
// again once the append has failed, as when another program frees some.
void AppendSimple(MemStoreSystem &files, Script &script)
{
    const uint8_t count = script.Next() % 4;
    const uint8_t budget = script.Next();
    FaultyStoreSystem faulty(files);
    faulty.FailWritesTo("s.lst", UINT32_MAX);
    try {
        WFile s("s.lst", SimpleMode::Append);
        if (budget % 2)
            faulty.FailWritesTo("s.lst", budget, budget % 4 == 1);
        for (uint8_t i = 0; i < count; ++i) {
            const std::string text(1 + script.Next() % 30, 's');
            try {
                s.WriteRecord(0, static_cast<uint32_t>(text.size()), text.data());
            } catch (const ZError &) {
                faulty.FailWritesTo("s.lst", UINT32_MAX);
            }
        }
        s.Close();
    } catch (const ZError &) {
        FuzzFinding("a simple file did not close after an append");
    }
    try {
        WFile s("s.lst", SimpleMode::Read);
        WRec rec;
        while (s.ReadRecord(rec)) {}
    } catch (const ZError &) {
        FuzzFinding("a simple file did not read after an append");
    }
    TakeWFileCloseFailures();
}

void EditByScript(MemStoreSystem &files, Script script)
{
    files.Put("s.lst", testdata::SimpleFile({B("p"), B("qq")}));
    for (int step = 0; step < 16 && script.More(); ++step) {
        if (script.Next() % 5 == 0) {
            AppendSimple(files, script);
            continue;
        }
        bool sound = false;
        {
            // One object makes up to three edits of one logical file, so that a chain can be built and
            // linked in; a full disk may come in the middle of any of them.
            FaultyStoreSystem faulty(files);
            faulty.FailWritesTo("f.dat", UINT32_MAX);  // the file's stores go through it from the start
            WFile f("f.dat");
            const uint32_t count = std::min(f.FileCount(), MaxFilesRead);
            if (count == 0)
                return;
            sound = Sound(f);
            const uint32_t n = script.Next() % count;
            enum { NoChain, ChainWaits, NotKnown } chain = NoChain;
            for (int edit = 1 + script.Next() % 3; edit > 0; --edit) {
                std::vector<uint32_t> records;
                ChainOf(f, n, records);
                const uint8_t budget = script.Next();
                if (budget % 3 == 0)
                    faulty.FailWritesTo("f.dat", budget / 3, budget % 2 == 0);
                const uint8_t what = script.Next();
                const int kind = what % 12;
                try {
                    if (EditOnce(f, script, what, n, records) && kind >= 6 && kind <= 8)
                        chain = kind == 8 ? NoChain : ChainWaits;
                } catch (const ZError &) {
                    // An operation 8 that failed may have ended its chain or not.
                    if (kind == 8 && chain != NoChain)
                        chain = NotKnown;
                }
                faulty.FailWritesTo("f.dat", UINT32_MAX);
                if (chain == NoChain && !files.OpenWriterLock("f.dat")->TryLock())
                    FuzzFinding("an edit left the file held");
            }
        }
        TakeWFileCloseFailures();
        WFile after("f.dat", true);
        if (sound && !EveryFileReads(after))
            FuzzFinding("a logical file that read before an edit did not read after it");
    }
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
        try {
            EditByScript(files, Script(data + 1, size - 1));
        } catch (const ZError &) {
            // A damaged file may refuse to open for the edits.
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
