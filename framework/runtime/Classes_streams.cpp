// TStream's shared operations and TMemoryStream.
#include <algorithm>
#include <cstring>

#include "framework/runtime/Classes.h"

long long TStream::Size()
{
    long long pos = Seek(0, soFromCurrent);
    long long end = Seek(0, soFromEnd);
    Seek(pos, soFromBeginning);
    return end;
}

void TStream::ReadBuffer(void *buffer, long count)
{
    if (count < 0)
        throw EReadError("Stream read error");
    long done = 0;
    while (done < count) {
        long n = Read(static_cast<char *>(buffer) + done, count - done);
        if (n <= 0)
            throw EReadError("Stream read error" + FailureDetail());
        done += n;
    }
}

void TStream::WriteBuffer(const void *buffer, long count)
{
    if (count < 0)
        throw EWriteError("Stream write error");
    long done = 0;
    while (done < count) {
        long n = Write(static_cast<const char *>(buffer) + done, count - done);
        if (n <= 0)
            throw EWriteError("Stream write error" + FailureDetail());
        done += n;
    }
}

long long TStream::CopyFrom(TStream &source, long long count)
{
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    constexpr long kChunk = 1 << 16;
    std::vector<char> buffer(static_cast<size_t>(std::min<long long>(count, kChunk)) + 1);
    long long left = count;
    while (left > 0) {
        long n = static_cast<long>(std::min<long long>(left, kChunk));
        source.ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        left -= n;
    }
    return count;
}

// ---- TMemoryStream ---------------------------------------------------------------------------
long TMemoryStream::Read(void *buffer, long count)
{
    long long size = Size();
    if (count <= 0 || position_ >= size)
        return 0;
    long n = static_cast<long>(std::min<long long>(count, size - position_));
    std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
    position_ += n;
    return n;
}

long TMemoryStream::Write(const void *buffer, long count)
{
    if (count <= 0)
        return 0;
    long long end = position_ + count;
    if (end > Size())
        data_.resize(static_cast<size_t>(end));
    std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
    position_ = end;
    return count;
}

long long TMemoryStream::Seek(long long offset, TSeekOrigin origin)
{
    long long base = origin == soFromBeginning ? 0 : (origin == soFromCurrent ? position_ : Size());
    long long target = base + offset;
    if (target < 0)
        throw EStreamError("Stream seek before its start");
    position_ = target;
    return position_;
}

void TMemoryStream::SetSize(long long newSize)
{
    if (newSize < 0)
        throw EStreamError("Stream size below zero");
    data_.resize(static_cast<size_t>(newSize));
    if (position_ > newSize)
        position_ = newSize;
}

void TMemoryStream::Clear()
{
    data_.clear();
    position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream &stream)
{
    stream.SetPosition(0);
    long long size = stream.Size();
    data_.assign(static_cast<size_t>(size), 0);
    if (size > 0)
        stream.ReadBuffer(data_.data(), static_cast<long>(size));
    position_ = 0;
}

void TMemoryStream::SaveToStream(TStream &stream)
{
    if (!data_.empty())
        stream.WriteBuffer(data_.data(), static_cast<long>(data_.size()));
}
