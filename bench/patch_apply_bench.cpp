// Patch apply on a 64 MB file with 5% of it changed, beside a plain copy of the new file.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "tests/support/PatchWriter.h"
#include "update/patch/BinPatch.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct PatchCase {
    Bytes old, fresh, patch;

    PatchCase()
    {
        constexpr std::size_t size = 64u << 20;
        std::mt19937_64 rng(64);
        old.resize(size);
        for (std::size_t i = 0; i < size; i += 8) {
            const std::uint64_t v = rng();
            std::memcpy(old.data() + i, &v, 8);
        }
        // 5% changed: a 64-byte run in every 1280 bytes, some runs overwritten, some inserted,
        // some removed, so the patch has inserts and moves both ways.
        fresh.reserve(size + size / 20);
        for (std::size_t i = 0; i < size; i += 1280) {
            const std::size_t keep = std::min<std::size_t>(1216, size - i);
            fresh.insert(fresh.end(), old.begin() + i, old.begin() + i + keep);
            const std::size_t kind = (i / 1280) % 3;
            if (kind != 2)
                for (int k = 0; k < 64; ++k)
                    fresh.push_back(static_cast<std::uint8_t>(rng()));
            if (kind == 1 && i + keep < size)
                fresh.insert(fresh.end(), old.begin() + i + keep, old.begin() + std::min(size, i + 1280));
        }
        patch = WritePatch(old, fresh, {.minMatch = 16});
    }
};

const PatchCase &Case()
{
    static const PatchCase c;
    return c;
}

void BM_ApplyPatch64MB(benchmark::State &state)
{
    const PatchCase &c = Case();
    Bytes out(c.fresh.size());
    for (auto _ : state) {
        const PatchPlan plan = PlanPatch(c.old, c.patch);
        ApplyPatchPlan(plan, c.old, c.patch, out);
        benchmark::DoNotOptimize(out.data());
    }
    if (out != c.fresh)
        state.SkipWithError("the patch did not rebuild the new file");
    state.counters["patch_MB"] = double(c.patch.size()) / (1 << 20);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(c.fresh.size()));
}
BENCHMARK(BM_ApplyPatch64MB)->Unit(benchmark::kMillisecond);

void BM_CopyNewFile64MB(benchmark::State &state)
{
    const PatchCase &c = Case();
    Bytes out(c.fresh.size());
    for (auto _ : state) {
        std::memcpy(out.data(), c.fresh.data(), c.fresh.size());
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(c.fresh.size()));
}
BENCHMARK(BM_CopyNewFile64MB)->Unit(benchmark::kMillisecond);

}  // namespace
