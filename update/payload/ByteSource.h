#pragma once
// A small random-access reader over stored bytes (a file, a memory image), so that the payload's
// readers and checksums work the same on the updater's own file and on data built in memory.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/memory/Bytes.h"

class TByteSource {
public:
    virtual ~TByteSource() = default;
    virtual uint64_t Size() = 0;
    // Reads `count` bytes at `position`; false unless all of them were read.
    virtual bool ReadAt(uint64_t position, void *buffer, size_t count) = 0;

    bool ReadU8(uint64_t position, uint8_t &value) { return ReadAt(position, &value, 1); }
    bool ReadU16(uint64_t position, uint16_t &value);
    bool ReadU32(uint64_t position, uint32_t &value);
};

// A writable store of bytes (the seal writer appends to and truncates it).
class TByteStore : public TByteSource {
public:
    virtual bool WriteAt(uint64_t position, const void *data, size_t count) = 0;
    virtual bool SetSize(uint64_t size) = 0;
};

// Bytes held in memory (a view; the caller keeps them alive).
class TMemorySource : public TByteSource {
public:
    TMemorySource(const void *data, size_t size) : data_(static_cast<const uint8_t *>(data)), size_(size) {}
    explicit TMemorySource(const std::vector<uint8_t> &bytes) : TMemorySource(bytes.data(), bytes.size()) {}
    uint64_t Size() override { return size_; }
    bool ReadAt(uint64_t position, void *buffer, size_t count) override;

private:
    const uint8_t *data_;
    size_t size_;
};

// Bytes owned in memory and growable.
class TMemoryStore : public TByteStore {
public:
    TMemoryStore() = default;
    explicit TMemoryStore(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
    uint64_t Size() override { return bytes_.size(); }
    bool ReadAt(uint64_t position, void *buffer, size_t count) override;
    bool WriteAt(uint64_t position, const void *data, size_t count) override;
    bool SetSize(uint64_t size) override;
    const std::vector<uint8_t> &Bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};
