#include "update/patch/BinPatch.h"

#include <cstring>
#include <stdexcept>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/memory/Bytes.h"
#include "base/memory/MemBlock.h"

namespace {

PatchPlan Refuse(PatchPlan plan, PatchFault fault, std::uint32_t step)
{
    plan.fault = fault;
    plan.faultStep = step;
    plan.steps.clear();
    return plan;
}

// A step moves up to 4 GB - 1 bytes at once, beyond the 32-bit count of MoveMemoryBlock, so the
// applier calls the base move with a full-width count.
void CopyBytes(std::uint8_t *destination, const std::uint8_t *source, std::uint64_t count)
{
    if (count != 0)
        MemMove(destination, source, static_cast<std::ptrdiff_t>(count));
}

// Outputs at least this long are written past the caches. A step copies a short run at a time, and
// ordinary stores to a line not in the cache first read it in; for an output larger than the caches
// that read is wasted, and streaming stores skip it (as a large memcpy does).
constexpr std::size_t StreamingOutputSize = std::size_t(4) << 20;

// Copies between buffers that do not overlap (the output never overlaps the old file or the patch),
// with streaming stores where the platform has them.
void StreamBytes(std::uint8_t *destination, const std::uint8_t *source, std::size_t count)
{
    if (count == 0)
        return;
#if defined(__SSE2__)
    std::size_t head = (16 - (reinterpret_cast<std::uintptr_t>(destination) & 15)) & 15;
    if (head > count)
        head = count;
    std::memcpy(destination, source, head);
    destination += head;
    source += head;
    count -= head;
    for (; count >= 64; count -= 64, destination += 64, source += 64) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(source));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(source + 16));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i *>(source + 32));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i *>(source + 48));
        _mm_stream_si128(reinterpret_cast<__m128i *>(destination), a);
        _mm_stream_si128(reinterpret_cast<__m128i *>(destination + 16), b);
        _mm_stream_si128(reinterpret_cast<__m128i *>(destination + 32), c);
        _mm_stream_si128(reinterpret_cast<__m128i *>(destination + 48), d);
    }
    for (; count >= 16; count -= 16, destination += 16, source += 16)
        _mm_stream_si128(reinterpret_cast<__m128i *>(destination),
                         _mm_loadu_si128(reinterpret_cast<const __m128i *>(source)));
#endif
    std::memcpy(destination, source, count);
}

void FinishStreaming()
{
#if defined(__SSE2__)
    _mm_sfence();  // the streamed bytes are visible to whoever reads the output next
#endif
}

}  // namespace

PatchPlan PlanPatch(std::span<const std::uint8_t> old, std::span<const std::uint8_t> patch)
{
    PatchPlan plan;
    if (patch.size() < PatchHeaderSize)
        return Refuse(std::move(plan), PatchFault::NoHeader, 0);
    plan.newSize = LoadU32(patch.data() + 10);
    const std::uint32_t stepCount = LoadU32(patch.data() + 14);

    const std::uint64_t tableEnd = PatchHeaderSize + std::uint64_t(stepCount) * PatchStepSize;
    if (tableEnd > patch.size())
        return Refuse(std::move(plan), PatchFault::StepTableCut, 0);
    plan.dataOffset = static_cast<std::size_t>(tableEnd);
    const std::uint64_t dataSize = patch.size() - tableEnd;
    const std::uint64_t oldSize = old.size();

    plan.steps.reserve(std::size_t(stepCount) + 1);
    std::uint64_t written = 0;   // bytes of the output the steps so far produce
    std::uint64_t inserted = 0;  // bytes of the data area the steps so far take
    std::int64_t position = 0;   // read position in the old file
    for (std::uint32_t i = 0; i < stepCount; ++i) {
        const std::uint8_t *p = patch.data() + PatchHeaderSize + std::size_t(i) * PatchStepSize;
        const PatchStep step{static_cast<std::int32_t>(LoadU32(p)), LoadU32(p + 4), LoadU32(p + 8)};
        const std::uint32_t number = i + 1;
        written += std::uint64_t(step.insert) + step.copy;
        if (written > plan.newSize)
            return Refuse(std::move(plan), PatchFault::StepsTooLong, number);
        inserted += step.insert;
        if (inserted > dataSize)
            return Refuse(std::move(plan), PatchFault::DataAreaShort, number);
        position += step.move;
        if (position < 0 || std::uint64_t(position) > oldSize)
            return Refuse(std::move(plan), PatchFault::ReadOutsideOld, number);
        if (std::uint64_t(position) + step.copy > oldSize)
            return Refuse(std::move(plan), PatchFault::CopyPastOldEnd, number);
        position += step.copy;
        plan.steps.push_back(step);
    }

    // The bytes the steps leave uncovered follow the inserts in the data area.
    const std::uint64_t tail = plan.newSize - written;
    if (tail != 0) {
        if (inserted + tail > dataSize)
            return Refuse(std::move(plan), PatchFault::DataAreaShort, 0);
        plan.steps.push_back({0, static_cast<std::uint32_t>(tail), 0});
    }
    return plan;
}

void ApplyPatchPlan(const PatchPlan &plan, std::span<const std::uint8_t> old, std::span<const std::uint8_t> patch,
                    std::span<std::uint8_t> out)
{
    if (!plan.Ok() || out.size() != plan.newSize || plan.dataOffset > patch.size())
        throw std::logic_error("ApplyPatchPlan: the plan does not fit these buffers");
    const bool streaming = out.size() >= StreamingOutputSize;
    std::size_t data = plan.dataOffset;
    std::size_t write = 0;
    std::int64_t read = 0;
    for (const PatchStep &step : plan.steps) {
        if (streaming)
            StreamBytes(out.data() + write, patch.data() + data, step.insert);
        else
            CopyBytes(out.data() + write, patch.data() + data, step.insert);
        data += step.insert;
        write += step.insert;
        read += step.move;
        if (streaming)
            StreamBytes(out.data() + write, old.data() + read, step.copy);
        else
            CopyBytes(out.data() + write, old.data() + read, step.copy);
        read += step.copy;
        write += step.copy;
    }
    if (streaming)
        FinishStreaming();
}

AnsiString PatchFaultText(const PatchPlan &plan)
{
    AnsiString text = "Неверный патч: ";
    switch (plan.fault) {
    case PatchFault::None: return AnsiString();
    case PatchFault::NoHeader: text += "файл короче заголовка"; break;
    case PatchFault::StepTableCut: text += "таблица шагов выходит за конец файла"; break;
    case PatchFault::StepsTooLong: text += "шаги длиннее нового файла"; break;
    case PatchFault::ReadOutsideOld: text += "позиция чтения вне старого файла"; break;
    case PatchFault::CopyPastOldEnd: text += "копирование за концом старого файла"; break;
    case PatchFault::DataAreaShort:
        text += plan.faultStep == 0 ? "не хватает данных для конца файла" : "не хватает данных вставки";
        break;
    }
    if (plan.faultStep != 0)
        text += " (шаг " + std::to_string(plan.faultStep) + ")";
    return text;
}
