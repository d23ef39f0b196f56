// Fuzz target for the patch transform. An input is u32 old size, the old bytes, then the patch.
// Besides the sanitizers, a plain step-by-step reference decides independently whether the patch
// is valid and what it builds; the transform must agree with it.
#include <algorithm>
#include <cstring>
#include <random>

#include "tests/fuzz/FuzzTarget.h"
#include "tests/support/PatchWriter.h"
#include "update/patch/BinPatch.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Outputs larger than this are only checked, not built.
constexpr std::uint64_t MaxBuiltOutput = 1 << 22;

std::uint32_t Le32(const std::uint8_t *p) { return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24; }

// Walks the patch the way the format reads, with every access checked. out == nullptr: check only.
bool ReferenceApply(std::span<const std::uint8_t> old, std::span<const std::uint8_t> patch, Bytes *out)
{
    if (patch.size() < 18)
        return false;
    const std::uint64_t newSize = Le32(&patch[10]), steps = Le32(&patch[14]);
    std::uint64_t data = 18 + 12 * steps;
    if (data > patch.size())
        return false;
    std::uint64_t written = 0;
    std::int64_t read = 0;
    for (std::uint64_t i = 0; i < steps; ++i) {
        const std::uint8_t *s = &patch[18 + 12 * i];
        const std::int64_t move = static_cast<std::int32_t>(Le32(s));
        const std::uint64_t insert = Le32(s + 4), copy = Le32(s + 8);
        written += insert + copy;
        if (written > newSize || data + insert > patch.size())
            return false;
        if (out)
            out->insert(out->end(), patch.begin() + data, patch.begin() + data + insert);
        data += insert;
        read += move;
        if (read < 0 || read > std::int64_t(old.size()) || read + std::int64_t(copy) > std::int64_t(old.size()))
            return false;
        if (out)
            out->insert(out->end(), old.begin() + read, old.begin() + read + copy);
        read += copy;
    }
    const std::uint64_t tail = newSize - written;
    if (data + tail > patch.size())
        return false;
    if (out)
        out->insert(out->end(), patch.begin() + data, patch.begin() + data + tail);
    return true;
}

Bytes Input(const Bytes &old, const Bytes &patch)
{
    Bytes in(4);
    const std::uint32_t n = static_cast<std::uint32_t>(old.size());
    for (int i = 0; i < 4; ++i)
        in[i] = static_cast<std::uint8_t>(n >> (8 * i));
    in.insert(in.end(), old.begin(), old.end());
    in.insert(in.end(), patch.begin(), patch.end());
    return in;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 4)
        return 0;
    const std::size_t oldSize = std::min<std::size_t>(Le32(data), size - 4);
    // Separate copies, so the sanitizers see the exact ends of the old file and the patch.
    const Bytes old(data + 4, data + 4 + oldSize), patch(data + 4 + oldSize, data + size);

    const PatchPlan plan = PlanPatch(old, patch);
    if (plan.Ok() != ReferenceApply(old, patch, nullptr))
        FuzzFinding(plan.Ok() ? "a patch breaking a bound was accepted" : "a valid patch was refused");
    if (!plan.Ok()) {
        if (PatchFaultText(plan).empty())
            FuzzFinding("a refused patch has no protocol text");
        return 0;
    }
    if (plan.newSize > MaxBuiltOutput)
        return 0;
    Bytes out(plan.newSize), expected;
    ApplyPatchPlan(plan, old, patch, out);
    ReferenceApply(old, patch, &expected);
    if (out != expected)
        FuzzFinding("the transform built other bytes than the reference");
    return 0;
}

std::vector<Bytes> FuzzSeedInputs()
{
    std::mt19937 rng(20261206);
    auto random = [&](std::size_t n) {
        Bytes b(n);
        for (auto &x : b)
            x = static_cast<std::uint8_t>(rng());
        return b;
    };
    std::vector<Bytes> seeds;
    for (int k = 0; k < 6; ++k) {
        const Bytes a = random(40 + 30 * k), b = random(60), c = random(25 + k);
        Bytes old = a;
        old.insert(old.end(), b.begin(), b.end());
        // Re-read a after b (negative move), insert c, and leave c again as the tail.
        Bytes fresh = b;
        fresh.insert(fresh.end(), a.begin(), a.end());
        fresh.insert(fresh.end(), c.begin(), c.end());
        fresh.insert(fresh.end(), b.begin() + 10, b.end());
        fresh.insert(fresh.end(), c.begin(), c.end());
        seeds.push_back(Input(old, WritePatch(old, fresh, {.minMatch = 4, .coverTail = k % 2 == 1})));
    }
    seeds.push_back(Input(Bytes{}, WritePatch(Bytes{}, random(20))));
    seeds.push_back(Input(random(50), WritePatch(random(50), Bytes{})));
    return seeds;
}
