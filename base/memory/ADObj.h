#pragma once
// TADObj: a growable array of fixed-size elements. The block is allocated at the first growth,
// never shrinks, and bytes gained by a growth are zero.
#include <cstddef>
#include <cstdint>
#include <memory>

class TADObj {
public:
    // `initialCount` is the minimum element count that every growth reserves (0 = none).
    TADObj(std::uint32_t elementSize, std::uint32_t initialCount);
    virtual ~TADObj();
    TADObj(const TADObj &) = delete;
    TADObj &operator=(const TADObj &) = delete;

    // Sets the count to n and makes room for it (at least the minimum count); existing bytes stay.
    void Grow(std::uint32_t n);
    // Element i, or null when it lies outside the block (also for an empty array).
    std::uint8_t *Item(std::int64_t index) const;
    // Zeroes the elements from `from` up to, not including, `to`; a negative `from` means 0 and a
    // negative `to` the count. The range is cut at the end of the block.
    void ClearRange(std::int64_t from, std::int64_t to);
    // Grows to n and copies n elements from source.
    void Assign(const void *source, std::uint32_t n);

    std::uint32_t Count() const { return count_; }
    std::uint32_t ElementSize() const { return elementSize_; }
    std::size_t Capacity() const { return capacity_; }
    std::uint8_t *Data() const { return data_.get(); }

private:
    std::unique_ptr<std::uint8_t[]> data_;
    std::size_t capacity_ = 0;
    std::uint32_t elementSize_;
    std::uint32_t count_ = 0;
    std::uint32_t minimumCount_;
};
