#pragma once
// Little-endian numbers in stored bytes: loads and stores at any alignment, and a bounded reader over
// a byte span. Every stored format of the system (payload, patch, journal, compound file,
// configuration record, alias files, icons) reads and writes its numbers through these, so a reader
// of a format only has to say which lengths to check, never how to assemble a word.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <stdexcept>
#include <string_view>
#include <vector>

static_assert(std::endian::native == std::endian::little,
              "the loads copy words as they lie in memory; a big-endian target needs a byte swap here");

// The loads and stores copy through memcpy, which the compiler turns into one unaligned move: they
// cost no more than a word read where the data lies aligned.
inline std::uint16_t LoadU16(const void *p)
{
    std::uint16_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline std::uint32_t LoadU32(const void *p)
{
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline std::uint64_t LoadU64(const void *p)
{
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline void StoreU16(void *p, std::uint16_t v) { std::memcpy(p, &v, sizeof v); }
inline void StoreU32(void *p, std::uint32_t v) { std::memcpy(p, &v, sizeof v); }
inline void StoreU64(void *p, std::uint64_t v) { std::memcpy(p, &v, sizeof v); }

// Appends a value's little-endian bytes to a growing image.
inline void AppendU16(std::vector<std::uint8_t> &out, std::uint16_t v)
{
    std::uint8_t b[2];
    StoreU16(b, v);
    out.insert(out.end(), b, b + 2);
}
inline void AppendU32(std::vector<std::uint8_t> &out, std::uint32_t v)
{
    std::uint8_t b[4];
    StoreU32(b, v);
    out.insert(out.end(), b, b + 4);
}
inline void AppendU64(std::vector<std::uint8_t> &out, std::uint64_t v)
{
    std::uint8_t b[8];
    StoreU64(b, v);
    out.insert(out.end(), b, b + 8);
}

// `count` bytes lie from `from` up to `end`; false for a null or reversed range.
inline bool BytesFit(const std::uint8_t *from, const std::uint8_t *end, std::size_t count)
{
    return from != nullptr && end != nullptr && from <= end && static_cast<std::size_t>(end - from) >= count;
}

// Thrown by the throwing reads of TByteReader when the data ends before the read does.
class EBytesTruncated : public std::runtime_error {
public:
    EBytesTruncated() : std::runtime_error("the stored data ends before the value read from it") {}
};

// Reads little-endian values one after the other from a span of bytes, never outside it. Two kinds of
// read: ReadU32(value) and the others starting with Read return false past the end and leave the
// position and the value as they were; U32() and its siblings throw EBytesTruncated instead. A caller
// turns either into its own failure (0, false, its error number or its protocol text). The ...At
// reads look at a fixed offset from the start of the span and do not move the position.
class TByteReader {
public:
    TByteReader() = default;
    explicit TByteReader(std::span<const std::uint8_t> data) : data_(data) {}
    TByteReader(const std::uint8_t *data, std::size_t size) : data_(data, size) {}
    // Bytes from `begin` up to `end`; a null or reversed range reads as empty.
    static TByteReader Between(const std::uint8_t *begin, const std::uint8_t *end)
    {
        return BytesFit(begin, end, 0) ? TByteReader(begin, static_cast<std::size_t>(end - begin)) : TByteReader();
    }

    std::size_t Size() const { return data_.size(); }
    std::size_t Position() const { return position_; }
    std::size_t Remaining() const { return data_.size() - position_; }
    bool AtEnd() const { return position_ == data_.size(); }
    bool Has(std::size_t count) const { return count <= Remaining(); }
    std::span<const std::uint8_t> Data() const { return data_; }
    // The bytes not read yet.
    std::span<const std::uint8_t> Rest() const { return data_.subspan(position_); }
    // A pointer to the next byte to read (one past the last when all are read).
    const std::uint8_t *Cursor() const { return data_.data() + position_; }

    // Moves to an offset from the start; false (and no move) past the end.
    bool Seek(std::size_t position)
    {
        if (position > data_.size())
            return false;
        position_ = position;
        return true;
    }
    bool Skip(std::size_t count) { return Has(count) && Seek(position_ + count); }

    bool ReadU8(std::uint8_t &value) { return ReadWord(value); }
    bool ReadU16(std::uint16_t &value) { return ReadWord(value); }
    bool ReadU32(std::uint32_t &value) { return ReadWord(value); }
    bool ReadU64(std::uint64_t &value) { return ReadWord(value); }
    // The next `count` bytes as a view into the data.
    bool ReadBytes(std::size_t count, std::span<const std::uint8_t> &bytes)
    {
        if (!Has(count))
            return false;
        bytes = data_.subspan(position_, count);
        position_ += count;
        return true;
    }
    bool ReadText(std::size_t count, std::string_view &text)
    {
        std::span<const std::uint8_t> bytes;
        if (!ReadBytes(count, bytes))
            return false;
        text = std::string_view(reinterpret_cast<const char *>(bytes.data()), bytes.size());
        return true;
    }
    // Copies the next `count` bytes out.
    bool ReadInto(void *buffer, std::size_t count)
    {
        std::span<const std::uint8_t> bytes;
        if (!ReadBytes(count, bytes))
            return false;
        if (count != 0)
            std::memcpy(buffer, bytes.data(), count);
        return true;
    }

    std::uint8_t U8() { return Word<std::uint8_t>(); }
    std::uint16_t U16() { return Word<std::uint16_t>(); }
    std::uint32_t U32() { return Word<std::uint32_t>(); }
    std::uint64_t U64() { return Word<std::uint64_t>(); }
    std::span<const std::uint8_t> Bytes(std::size_t count)
    {
        std::span<const std::uint8_t> bytes;
        Must(ReadBytes(count, bytes));
        return bytes;
    }
    std::string_view Text(std::size_t count)
    {
        std::string_view text;
        Must(ReadText(count, text));
        return text;
    }

    bool ReadU8At(std::size_t offset, std::uint8_t &value) const { return ReadWordAt(offset, value); }
    bool ReadU16At(std::size_t offset, std::uint16_t &value) const { return ReadWordAt(offset, value); }
    bool ReadU32At(std::size_t offset, std::uint32_t &value) const { return ReadWordAt(offset, value); }
    bool ReadU64At(std::size_t offset, std::uint64_t &value) const { return ReadWordAt(offset, value); }
    // True when `count` bytes lie at `offset` inside the span.
    bool HasAt(std::size_t offset, std::size_t count) const
    {
        return offset <= data_.size() && count <= data_.size() - offset;
    }

private:
    template <typename T>
    bool ReadWordAt(std::size_t offset, T &value) const
    {
        if (!HasAt(offset, sizeof(T)))
            return false;
        std::memcpy(&value, data_.data() + offset, sizeof(T));  // little-endian: see the assertion above
        return true;
    }
    template <typename T>
    bool ReadWord(T &value)
    {
        if (!ReadWordAt(position_, value))
            return false;
        position_ += sizeof(T);
        return true;
    }
    template <typename T>
    T Word()
    {
        T value = 0;
        Must(ReadWord(value));
        return value;
    }
    static void Must(bool read)
    {
        if (!read)
            throw EBytesTruncated();
    }

    std::span<const std::uint8_t> data_;
    std::size_t position_ = 0;
};
