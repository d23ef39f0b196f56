// Re-keying of a 64 MB scrambled database (to plain, as the database patch does first) beside a plain
// copy of the same bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "storage/compound/dbkeys.h"
#include "tests/support/CompoundFileBuilder.h"
#include "tests/support/PayloadBuilder.h"
#include "update/patch/DbbRekey.h"

namespace {

// Three logical files of full-length records, committed in turn, scrambled with the third key.
const std::vector<uint8_t> &Database()
{
    static const std::vector<uint8_t> bytes = [] {
        testdata::CompoundFileBuilder db = testdata::CompoundFileBuilder::Created(3);
        const std::vector<uint8_t> record = PatternBytes(20000, 5);
        std::vector<testdata::Bytes> chain(1100, record);
        for (uint32_t n = 0; n < 3; ++n)
            db.Commit(n, chain);
        return db.Build(DbbKeys[2]);
    }();
    return bytes;
}

void BM_RekeyDatabase(benchmark::State &state)
{
    const std::vector<uint8_t> &db = Database();
    TMemorySource source(db);
    TMemoryStore out(std::vector<uint8_t>(db.size()));
    for (auto _ : state) {
        const RekeyResult r = RekeyDbb(source, out, DbbKeys[2], 0, TRekeyProgress{});
        if (!r.Ok())
            state.SkipWithError("re-keying failed");
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(db.size()));
    state.counters["MB"] = double(db.size()) / (1 << 20);
}
BENCHMARK(BM_RekeyDatabase)->Unit(benchmark::kMillisecond);

void BM_CopyDatabase(benchmark::State &state)
{
    const std::vector<uint8_t> &db = Database();
    std::vector<uint8_t> out(db.size());
    for (auto _ : state) {
        std::memcpy(out.data(), db.data(), db.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(db.size()));
}
BENCHMARK(BM_CopyDatabase)->Unit(benchmark::kMillisecond);

}  // namespace
