#include "update/payload/Lzma86.h"

#include <cstdlib>

extern "C" {
#include "LzmaDec.h"
#include "LzmaEnc.h"
}

#include "base/memory/Bytes.h"
#include "update/payload/X86Filter.h"

namespace {

void *Alloc(void *, size_t size) { return size ? std::malloc(size) : nullptr; }
void Free(void *, void *address) { std::free(address); }
ISzAlloc g_alloc = {Alloc, Free};

// The progress entry handed to the LZMA library; forwards the amount done to the caller's callback.
struct LzmaProgressThunk : ICompressProgress {
    LzmaProgressThunk(const TLzmaProgress &target, bool countOutput) : target(target), countOutput(countOutput)
    {
        Progress = &Forward;
    }
    static SRes Forward(void *self, UInt64 inSize, UInt64 outSize)
    {
        auto *thunk = static_cast<LzmaProgressThunk *>(self);
        thunk->target.Report(1, thunk->countOutput ? outSize : inSize);
        return SZ_OK;
    }
    const TLzmaProgress &target;
    bool countOutput;
};

// Output produced between two progress reports, and input read at a time.
constexpr size_t kDecodeStep = 1 << 20;
constexpr size_t kInputPiece = 1 << 20;

}  // namespace

bool GetLzma86UnpackSize(const uint8_t *data, size_t size, uint64_t &unpackSize)
{
    unpackSize = 0;
    if (size < kLzma86HeaderSize)
        return false;
    unpackSize = LoadU64(data + 6);
    return true;
}

bool Lzma86Decode(TByteSource &source, uint64_t offset, uint8_t *dest, size_t destSize, const TLzmaProgress &progress)
{
    const uint64_t size = source.Size();
    uint8_t header[kLzma86HeaderSize];
    uint64_t unpackSize = 0;
    if (offset > size || size - offset < kLzma86HeaderSize || !source.ReadAt(offset, header, sizeof header) ||
        !GetLzma86UnpackSize(header, sizeof header, unpackSize) || unpackSize != destSize || header[0] > 1)
        return false;
    progress.Report(0, unpackSize);

    CLzmaDec dec;
    LzmaDec_Construct(&dec);
    if (LzmaDec_AllocateProbs(&dec, header + 1, LZMA_PROPS_SIZE, &g_alloc) != SZ_OK)
        return false;
    // The whole output is the decoder's dictionary, so nothing is copied.
    dec.dic = dest;
    dec.dicBufSize = destSize;
    LzmaDec_Init(&dec);

    LzmaProgressThunk thunk(progress, true);
    std::vector<uint8_t> piece(
        size - offset - kLzma86HeaderSize < kInputPiece ? size_t(size - offset - kLzma86HeaderSize) : kInputPiece);
    uint64_t inPosition = offset + kLzma86HeaderSize;  // next byte to read from the source
    size_t inStart = 0, inEnd = 0;                     // unread bytes of the piece
    bool ok = true;
    while (dec.dicPos < destSize) {
        if (inStart == inEnd && inPosition < size) {
            inEnd = size - inPosition < piece.size() ? size_t(size - inPosition) : piece.size();
            inStart = 0;
            if (!source.ReadAt(inPosition, piece.data(), inEnd)) {
                ok = false;
                break;
            }
            inPosition += inEnd;
        }
        const size_t limit = destSize - dec.dicPos > kDecodeStep ? dec.dicPos + kDecodeStep : destSize;
        SizeT consumed = inEnd - inStart;
        ELzmaStatus status;
        const size_t before = dec.dicPos;
        // The unpacked size ends the stream; what follows it in the source is not the decoder's.
        const SRes res = LzmaDec_DecodeToDic(&dec, limit, piece.data() + inStart, &consumed, LZMA_FINISH_ANY, &status);
        inStart += consumed;
        if (res != SZ_OK) {
            ok = false;
            break;
        }
        thunk.Progress(&thunk, inPosition - inEnd + inStart - offset, dec.dicPos);
        if (dec.dicPos == destSize)
            break;
        // An end mark, or the input used up, before the unpacked size is a damaged stream. (With input
        // and room left the decoder always moves, so a step that moves nothing has run dry.)
        if (status == LZMA_STATUS_FINISHED_WITH_MARK || (consumed == 0 && dec.dicPos == before)) {
            ok = false;
            break;
        }
    }
    LzmaDec_FreeProbs(&dec, &g_alloc);
    if (!ok)
        return false;

    if (header[0] == 1) {
        uint32_t state = 0;
        X86BranchConvert(dest, destSize, 0, state, false);
    }
    progress.Report(1, unpackSize);
    return true;
}

bool Lzma86Decode(const uint8_t *src, size_t srcSize, uint8_t *dest, size_t destSize, const TLzmaProgress &progress)
{
    TMemorySource source(src, srcSize);
    return Lzma86Decode(source, 0, dest, destSize, progress);
}

bool Lzma86Encode(const uint8_t *src, size_t srcSize, std::vector<uint8_t> &packed, const TLzmaProgress &progress)
{
    progress.Report(0, srcSize);
    CLzmaEncProps props;
    LzmaEncProps_Init(&props);
    props.level = 9;
    props.dictSize = kLzma86DictionarySize;

    packed.assign(kLzma86HeaderSize + srcSize / 20 * 21 + 65536, 0);
    SizeT packedSize = packed.size() - kLzma86HeaderSize;
    SizeT propsSize = LZMA_PROPS_SIZE;
    LzmaProgressThunk thunk(progress, false);
    const SRes res = LzmaEncode(packed.data() + kLzma86HeaderSize, &packedSize, src, srcSize, &props, packed.data() + 1,
                                &propsSize, 0, &thunk, &g_alloc, &g_alloc);
    if (res != SZ_OK || propsSize != LZMA_PROPS_SIZE) {
        packed.clear();
        return false;
    }
    packed[0] = 0;
    StoreU64(packed.data() + 6, uint64_t(srcSize));
    packed.resize(kLzma86HeaderSize + packedSize);
    progress.Report(1, srcSize);
    return true;
}
