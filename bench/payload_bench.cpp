// Throughput of the payload's hot paths: the additive checksum beside a plain copy of the same
// buffer, and Lzma86 decoding of a 64 MB stream beside liblzma's decoder of the same LZMA data.
#include <benchmark/benchmark.h>
#include <lzma.h>

#include <cstring>
#include <vector>

#include "tests/support/PayloadBuilder.h"
#include "update/payload/ByteSource.h"
#include "update/payload/Checksum.h"
#include "update/payload/Lzma86.h"

namespace {

constexpr size_t kBufferSize = 64u << 20;

const std::vector<uint8_t> &Buffer()
{
    static const std::vector<uint8_t> buffer = PatternBytes(kBufferSize, 1);
    return buffer;
}

void BM_Checksum(benchmark::State &state)
{
    const std::vector<uint8_t> &buffer = Buffer();
    for (auto _ : state)
        benchmark::DoNotOptimize(AddChecksum(0, buffer.data(), buffer.size()));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(buffer.size()));
}
BENCHMARK(BM_Checksum)->Unit(benchmark::kMillisecond);

// The checksum as the engine runs it on a stream: read in pieces, then summed.
void BM_ChecksumStream(benchmark::State &state)
{
    const std::vector<uint8_t> &buffer = Buffer();
    TMemorySource source(buffer);
    for (auto _ : state) {
        uint32_t sum = 0;
        benchmark::DoNotOptimize(ChecksumStream(source, sum, 0, 0));
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(buffer.size()));
}
BENCHMARK(BM_ChecksumStream)->Unit(benchmark::kMillisecond);

void BM_Memcpy(benchmark::State &state)
{
    const std::vector<uint8_t> &buffer = Buffer();
    std::vector<uint8_t> copy(buffer.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), buffer.data(), buffer.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(buffer.size()));
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

// 64 MB of text-like content packed once as the payload packs it (level 9, 8 MB dictionary).
const std::vector<uint8_t> &PackedText(size_t &plainSize)
{
    static size_t size = 0;
    static const std::vector<uint8_t> packed = [] {
        std::vector<uint8_t> plain(kBufferSize);
        const std::vector<uint8_t> words = PatternBytes(1 << 16, 2);
        uint32_t x = 12345;
        for (size_t i = 0; i < plain.size();) {
            x = x * 1103515245 + 12345;
            const size_t at = (x >> 8) % (words.size() - 64), n = 4 + (x >> 24) % 60;
            for (size_t k = 0; k < n && i < plain.size(); ++k)
                plain[i++] = words[at + k];
        }
        std::vector<uint8_t> out;
        Lzma86Encode(plain.data(), plain.size(), out, TLzmaProgress{});
        size = plain.size();
        return out;
    }();
    plainSize = size;
    return packed;
}

void BM_Lzma86Decode(benchmark::State &state)
{
    size_t plainSize = 0;
    const std::vector<uint8_t> &packed = PackedText(plainSize);
    std::vector<uint8_t> out(plainSize);
    for (auto _ : state) {
        if (!Lzma86Decode(packed.data(), packed.size(), out.data(), out.size(), TLzmaProgress{}))
            state.SkipWithError("decode failed");
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(plainSize));
    state.counters["packed_MB"] = double(packed.size()) / (1 << 20);
}
BENCHMARK(BM_Lzma86Decode)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same stream decoded by liblzma (the decoder of the xz tool): without its filter byte an Lzma86
// stream is an LZMA-alone file whose header gives the unpacked size.
void BM_XzDecode(benchmark::State &state)
{
    size_t plainSize = 0;
    const std::vector<uint8_t> &packed = PackedText(plainSize);
    std::vector<uint8_t> out(plainSize);
    for (auto _ : state) {
        lzma_stream stream = LZMA_STREAM_INIT;
        if (lzma_alone_decoder(&stream, UINT64_MAX) != LZMA_OK) {
            state.SkipWithError("no decoder");
            break;
        }
        stream.next_in = packed.data() + 1;
        stream.avail_in = packed.size() - 1;
        stream.next_out = out.data();
        stream.avail_out = out.size();
        const lzma_ret ret = lzma_code(&stream, LZMA_FINISH);
        const bool whole = stream.total_out == plainSize;
        lzma_end(&stream);
        if ((ret != LZMA_STREAM_END && ret != LZMA_OK) || !whole)
            state.SkipWithError("decode failed");
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(plainSize));
}
BENCHMARK(BM_XzDecode)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
