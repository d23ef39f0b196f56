#include "update/payload/Seal.h"

#include "update/payload/Checksum.h"

bool CheckSelf(TByteSource &source)
{
    const uint64_t size = source.Size();
    if (size < 8 || size > UINT32_MAX)
        return false;
    uint32_t sealSize = 0;
    if (!source.ReadU32(size - 8, sealSize) || sealSize != size)
        return false;
    uint32_t sum = 0;
    if (!ChecksumStream(source, sum, 0, 8))
        return false;
    uint32_t sealSum = 0;
    if (!source.ReadU32(size - 4, sealSum))
        return false;
    return sealSum == uint32_t(sum + sealSize);
}

bool SealStream(TByteStore &store)
{
    const uint64_t size = store.Size();
    if (size > UINT32_MAX - 8)
        return false;
    uint32_t sum = 0;
    if (!ChecksumStream(store, sum, 0, 0))
        return false;
    const uint32_t sealed = uint32_t(size + 8);
    uint8_t seal[8];
    StoreU32(seal, sealed);
    StoreU32(seal + 4, sum + sealed);
    return store.WriteAt(size, seal, sizeof seal);
}

void StripStreamSeal(TByteStore &store)
{
    const uint64_t size = store.Size();
    store.SetSize(size < 8 ? 0 : size - 8);
}
