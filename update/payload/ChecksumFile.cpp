#include "update/payload/ChecksumFile.h"

#include "update/payload/Checksum.h"
#include "update/payload/StreamSource.h"

bool ChecksumFileHandle(TStream &file, uint64_t start, uint32_t &sum, uint64_t &size)
{
    TStreamSource source(file);
    const uint64_t fileSize = source.Size();
    size = fileSize > start ? fileSize - start : 0;
    return ChecksumStream(source, sum, start, 0);
}
