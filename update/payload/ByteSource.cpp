#include "update/payload/ByteSource.h"

#include <cstring>

bool TByteSource::ReadU16(uint64_t position, uint16_t &value)
{
    uint8_t b[2];
    if (!ReadAt(position, b, 2))
        return false;
    value = LoadU16(b);
    return true;
}

bool TByteSource::ReadU32(uint64_t position, uint32_t &value)
{
    uint8_t b[4];
    if (!ReadAt(position, b, 4))
        return false;
    value = LoadU32(b);
    return true;
}

bool TMemorySource::ReadAt(uint64_t position, void *buffer, size_t count)
{
    if (position > size_ || count > size_ - position)
        return false;
    if (count)
        std::memcpy(buffer, data_ + position, count);
    return true;
}

bool TMemoryStore::ReadAt(uint64_t position, void *buffer, size_t count)
{
    return TMemorySource(bytes_).ReadAt(position, buffer, count);
}

bool TMemoryStore::WriteAt(uint64_t position, const void *data, size_t count)
{
    if (position > bytes_.size())
        return false;
    if (count > bytes_.size() - position)
        bytes_.resize(position + count);
    if (count)
        std::memcpy(bytes_.data() + position, data, count);
    return true;
}

bool TMemoryStore::SetSize(uint64_t size)
{
    bytes_.resize(size);
    return true;
}
