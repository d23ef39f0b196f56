#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "tests/support/PatchWriter.h"
#include "update/patch/BinPatch.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes RandomBytes(std::size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    Bytes b(n);
    for (auto &x : b)
        x = static_cast<std::uint8_t>(rng());
    return b;
}

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes &p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes Slice(const Bytes &b, std::size_t from, std::size_t n) { return Bytes(b.begin() + from, b.begin() + from + n); }

// Plans and applies; the output is empty when the plan is refused.
PatchPlan Apply(const Bytes &old, const Bytes &patch, Bytes &out)
{
    PatchPlan plan = PlanPatch(old, patch);
    out.clear();
    if (plan.Ok()) {
        out.assign(plan.newSize, 0xCC);
        ApplyPatchPlan(plan, old, patch, out);
    }
    return plan;
}

void ExpectRebuilds(const Bytes &old, const Bytes &fresh, const PatchWriterOptions &options = {})
{
    Bytes out;
    const PatchPlan plan = Apply(old, WritePatch(old, fresh, options), out);
    ASSERT_TRUE(plan.Ok()) << PatchFaultText(plan);
    EXPECT_TRUE(out == fresh);
}

bool HasNegativeMove(const PatchImage &image)
{
    return std::any_of(image.steps.begin(), image.steps.end(), [](const PatchStep &s) { return s.move < 0; });
}

TEST(BinPatch, WriterPatchesRebuildTheNewFile)
{
    const Bytes a = RandomBytes(3000, 1), b = RandomBytes(2000, 2), c = RandomBytes(500, 3);
    const Bytes old = Concat({a, b, c});
    ExpectRebuilds(old, old);                                        // identical
    ExpectRebuilds(old, Concat({Slice(a, 0, 1000), c}));             // shorter
    ExpectRebuilds(old, Concat({a, RandomBytes(700, 4), b, c, b}));  // longer
    ExpectRebuilds(old, Concat({c, Slice(b, 100, 900), a}));         // reordered
    ExpectRebuilds(old, Bytes{});                                    // new size 0
    ExpectRebuilds(Bytes{}, RandomBytes(300, 5));                    // empty old: all inserted
    ExpectRebuilds(old, RandomBytes(4000, 6));                       // nothing in common
}

TEST(BinPatch, WriterExercisesEveryPathOfTheApplier)
{
    const Bytes a = RandomBytes(1000, 7), b = RandomBytes(1000, 8);
    const Bytes old = Concat({a, b});
    // b, then a again (a negative move), a fresh insert, the end of b re-read, and new bytes left over.
    const Bytes fresh = Concat({b, a, RandomBytes(50, 9), Slice(b, 600, 400), RandomBytes(33, 10)});
    const PatchImage image = DiffBuffers(old, fresh);
    EXPECT_TRUE(HasNegativeMove(image));
    EXPECT_TRUE(std::any_of(image.steps.begin(), image.steps.end(), [](const PatchStep &s) { return s.move > 0; }));
    EXPECT_TRUE(std::any_of(image.steps.begin(), image.steps.end(),
                            [](const PatchStep &s) { return s.insert > 0 && s.copy > 0; }));
    EXPECT_EQ(PatchTailSize(image), 33u);
    ExpectRebuilds(old, fresh);
}

// An output larger than the caches is written with streaming stores: runs of every length at every
// alignment, moves both ways, must still land byte for byte where a plain copy puts them.
TEST(BinPatch, LargeOutputsAreBuiltExactlyAtEveryAlignment)
{
    const Bytes old = RandomBytes(std::size_t(3) << 20, 11);
    const std::uint32_t lengths[] = {0, 1, 7, 15, 16, 17, 31, 63, 64, 65, 127, 1000, 4093, 70001};
    PatchImage image;
    image.oldSize = std::uint32_t(old.size());
    Bytes expected;
    std::mt19937 rng(12);
    std::int64_t position = 0;
    for (std::size_t i = 0; expected.size() < (std::size_t(5) << 20); ++i) {
        const std::uint32_t insert = lengths[i % 14], copy = lengths[(i * 5 + 3) % 14];
        const Bytes inserted = RandomBytes(insert, unsigned(i));
        const std::int64_t target = std::int64_t(rng() % (old.size() - copy));
        image.steps.push_back({std::int32_t(target - position), insert, copy});
        image.data.insert(image.data.end(), inserted.begin(), inserted.end());
        expected.insert(expected.end(), inserted.begin(), inserted.end());
        expected.insert(expected.end(), old.begin() + target, old.begin() + target + copy);
        position = target + copy;
    }
    const Bytes tail = RandomBytes(29, 13);
    image.data.insert(image.data.end(), tail.begin(), tail.end());
    expected.insert(expected.end(), tail.begin(), tail.end());
    image.newSize = std::uint32_t(expected.size());

    Bytes out;
    const PatchPlan plan = Apply(old, EncodePatch(image), out);
    ASSERT_TRUE(plan.Ok()) << PatchFaultText(plan);
    EXPECT_TRUE(out == expected);
}

TEST(BinPatch, UncoveredTailComesFromTheEndOfTheDataArea)
{
    const Bytes old = RandomBytes(800, 11);
    const Bytes tail = RandomBytes(64, 12);
    const Bytes fresh = Concat({Slice(old, 0, 500), RandomBytes(20, 13), Slice(old, 600, 200), tail});
    const PatchImage image = DiffBuffers(old, fresh);
    ASSERT_EQ(PatchTailSize(image), tail.size());
    const Bytes patch = EncodePatch(image);
    const PatchPlan plan = PlanPatch(old, patch);
    ASSERT_TRUE(plan.Ok());
    EXPECT_EQ(plan.steps.size(), image.steps.size() + 1);
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), patch.end() - tail.size()));
    ExpectRebuilds(old, fresh);
}

TEST(BinPatch, StepsCoveringTheWholeOutputAddNoTailStep)
{
    const Bytes old = RandomBytes(800, 14);
    const Bytes fresh = Concat({Slice(old, 100, 300), RandomBytes(40, 15)});
    const PatchImage image = DiffBuffers(old, fresh, {.coverTail = true});
    ASSERT_EQ(PatchTailSize(image), 0u);
    const PatchPlan plan = PlanPatch(old, EncodePatch(image));
    ASSERT_TRUE(plan.Ok());
    EXPECT_EQ(plan.steps.size(), image.steps.size());
    ExpectRebuilds(old, fresh, {.coverTail = true});
}

TEST(BinPatch, NegativeMovesReReadEarlierOldBytes)
{
    const Bytes old = {'a', 'b', 'c', 'd', 'e', 'f'};
    PatchImage image{.oldSize = 6, .newSize = 11, .steps = {{0, 0, 4}, {-3, 1, 3}, {-4, 0, 2}}, .data = {'X', 'Y'}};
    Bytes out;
    const PatchPlan plan = Apply(old, EncodePatch(image), out);
    ASSERT_TRUE(plan.Ok()) << PatchFaultText(plan);
    EXPECT_EQ(AnsiString(out.begin(), out.end()), "abcdXbcdabY");
}

TEST(BinPatch, HeaderMagicVersionAndOldSizeAreNotTested)
{
    const Bytes old = RandomBytes(300, 16);
    const Bytes fresh = Concat({Slice(old, 50, 200), RandomBytes(10, 17)});
    Bytes patch = WritePatch(old, fresh);
    patch[0] = 'X', patch[3] = 7, patch[5] = 9, patch[6] = 0xFF;
    Bytes out;
    ASSERT_TRUE(Apply(old, patch, out).Ok());
    EXPECT_TRUE(out == fresh);
}

struct BadPatch {
    const char *what;
    PatchImage image;
    std::size_t cut;  // bytes removed from the end of the encoded patch
    PatchFault fault;
    std::uint32_t step;
};

TEST(BinPatch, EveryBrokenBoundIsRefusedBeforeWriting)
{
    const Bytes old(100, 0x5A);
    const std::vector<BadPatch> cases = {
        {"header cut", {.newSize = 0}, 1, PatchFault::NoHeader, 0},
        {"step table cut", {.newSize = 10, .steps = {{0, 0, 10}}}, 1, PatchFault::StepTableCut, 0},
        {"step count far past the end", {.newSize = 10, .steps = {{0, 0, 10}}}, 0, PatchFault::StepTableCut, 0},
        {"steps longer than the new size",
         {.newSize = 10, .steps = {{0, 0, 6}, {0, 0, 6}}},
         0,
         PatchFault::StepsTooLong,
         2},
        // Taken modulo 2^32 the sums would meet the new size again.
        {"sums wrapping 32 bits",
         {.newSize = 10, .steps = {{0, 0xFFFFFFFF, 0}, {0, 11, 0}}},
         0,
         PatchFault::StepsTooLong,
         1},
        {"move before the start",
         {.newSize = 10, .steps = {{10, 0, 5}, {-16, 0, 1}}},
         0,
         PatchFault::ReadOutsideOld,
         2},
        {"move past the end", {.newSize = 10, .steps = {{101, 0, 0}}}, 0, PatchFault::ReadOutsideOld, 1},
        {"copy past the end", {.newSize = 10, .steps = {{95, 0, 6}}}, 0, PatchFault::CopyPastOldEnd, 1},
        {"copy from the very end", {.newSize = 1, .steps = {{100, 0, 1}}}, 0, PatchFault::CopyPastOldEnd, 1},
        {"inserts past the data area",
         {.newSize = 10, .steps = {{0, 4, 0}, {0, 4, 0}}, .data = Bytes(7)},
         0,
         PatchFault::DataAreaShort,
         2},
        {"tail past the data area",
         {.newSize = 10, .steps = {{0, 2, 4}}, .data = Bytes(5)},
         0,
         PatchFault::DataAreaShort,
         0},
        {"nothing but a new size", {.newSize = 1}, 0, PatchFault::DataAreaShort, 0},
    };
    for (const BadPatch &c : cases) {
        SCOPED_TRACE(c.what);
        Bytes patch = EncodePatch(c.image);
        if (std::string(c.what) == "step count far past the end")
            patch[17] = 0x80;  // 2^31 + 1 steps: 12 * T overflows 32 bits
        patch.resize(patch.size() - c.cut);
        const PatchPlan plan = PlanPatch(old, patch);
        EXPECT_EQ(plan.fault, c.fault);
        EXPECT_EQ(plan.faultStep, c.step);
        EXPECT_TRUE(plan.steps.empty());
        EXPECT_EQ(PatchFaultText(plan).rfind("Неверный патч: ", 0), 0u);
    }
}

TEST(BinPatch, FaultTextNamesTheStep)
{
    PatchPlan plan;
    plan.fault = PatchFault::CopyPastOldEnd;
    plan.faultStep = 7;
    EXPECT_EQ(PatchFaultText(plan), "Неверный патч: копирование за концом старого файла (шаг 7)");
    plan.fault = PatchFault::DataAreaShort;
    plan.faultStep = 0;
    EXPECT_EQ(PatchFaultText(plan), "Неверный патч: не хватает данных для конца файла");
}

TEST(BinPatch, BoundsAtTheExactEdgesAreAccepted)
{
    const Bytes old = {1, 2, 3, 4};
    // Read position at the old file's end, copy ending exactly there, data area used to its last byte.
    const PatchImage image{.oldSize = 4, .newSize = 7, .steps = {{4, 1, 0}, {-4, 0, 4}}, .data = {9, 8, 7}};
    Bytes out;
    const PatchPlan plan = Apply(old, EncodePatch(image), out);
    ASSERT_TRUE(plan.Ok()) << PatchFaultText(plan);
    EXPECT_EQ(out, (Bytes{9, 1, 2, 3, 4, 8, 7}));
}

}  // namespace
