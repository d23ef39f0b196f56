#pragma once
// Binary patches ("BDT"): an old file plus a patch gives the new file.
//
// Layout, little-endian: "BDT", u16 version 1, u8 4, u32 old size, u32 new size S, u32 step count T;
// T steps of {i32 move, u32 insert, u32 copy}; then the data area holding the inserted bytes of all
// steps in step order, followed by the tail. Each step first writes `insert` bytes taken from the
// data area, then moves the read position in the old file by `move`, then writes `copy` bytes read
// there. Bytes of S that the steps leave uncovered (the tail) come next from the data area.
//
// The whole patch is checked against the real sizes before anything is written, so a damaged patch
// never reads or writes outside the three buffers and never leaves a half-built output behind.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "framework/runtime/AnsiString.h"

constexpr std::size_t PatchHeaderSize = 18;
constexpr std::size_t PatchStepSize = 12;

struct PatchStep {
    std::int32_t move;
    std::uint32_t insert;
    std::uint32_t copy;
};

// Why a patch was refused. The header's magic, version and old size are not among them: the item
// handlers check the old file by its directory record, so the applier does not test them.
enum class PatchFault : std::uint8_t {
    None,
    NoHeader,        // shorter than the 18-byte header
    StepTableCut,    // the step table runs past the end of the patch
    StepsTooLong,    // the steps write more than the new size
    ReadOutsideOld,  // a move puts the read position before the start or past the end of the old file
    CopyPastOldEnd,  // a copy runs past the end of the old file
    DataAreaShort,   // the data area holds fewer bytes than the inserts and the tail need
};

// A checked patch: the steps in the order they run (the tail as a last step when there is one).
struct PatchPlan {
    PatchFault fault = PatchFault::None;
    std::uint32_t faultStep = 0;  // 1-based step the fault was found in, 0 when it concerns no step
    std::uint32_t newSize = 0;
    std::size_t dataOffset = 0;  // where the data area starts in the patch
    std::vector<PatchStep> steps;

    bool Ok() const { return fault == PatchFault::None; }
};

// Reads the header and steps of `patch` and checks every bound against `old` and `patch` in 64-bit
// arithmetic.
PatchPlan PlanPatch(std::span<const std::uint8_t> old, std::span<const std::uint8_t> patch);

// Writes the new file into `out`, which must hold exactly plan.newSize bytes; the plan must be Ok()
// and made from these same `old` and `patch`.
void ApplyPatchPlan(const PatchPlan &plan, std::span<const std::uint8_t> old, std::span<const std::uint8_t> patch,
                    std::span<std::uint8_t> out);

// The protocol text for a refused patch.
AnsiString PatchFaultText(const PatchPlan &plan);
