#include "update/payload/StreamSource.h"

namespace {

// The stream's calls take a long count, which is 32 bits on Windows.
constexpr size_t kMaxCall = 1u << 30;

}  // namespace

uint64_t TStreamSource::Size()
{
    const long long size = stream_.Size();
    return size < 0 ? 0 : uint64_t(size);
}

bool TStreamSource::ReadAt(uint64_t position, void *buffer, size_t count)
{
    try {
        if (stream_.Seek((long long)position, soFromBeginning) != (long long)position)
            return false;
        auto *p = static_cast<uint8_t *>(buffer);
        while (count > 0) {
            const long n = stream_.Read(p, long(count < kMaxCall ? count : kMaxCall));
            if (n <= 0)
                return false;
            p += n;
            count -= size_t(n);
        }
        return true;
    } catch (const Exception &) {
        return false;
    }
}

bool TStreamSource::WriteAt(uint64_t position, const void *data, size_t count)
{
    try {
        if (stream_.Seek((long long)position, soFromBeginning) != (long long)position)
            return false;
        auto *p = static_cast<const uint8_t *>(data);
        while (count > 0) {
            const long n = stream_.Write(p, long(count < kMaxCall ? count : kMaxCall));
            if (n <= 0)
                return false;
            p += n;
            count -= size_t(n);
        }
        return true;
    } catch (const Exception &) {
        return false;
    }
}

bool TStreamSource::SetSize(uint64_t size)
{
    try {
        stream_.SetSize((long long)size);
        return true;
    } catch (const Exception &) {
        return false;
    }
}
