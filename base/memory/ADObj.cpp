#include "base/memory/ADObj.h"

#include <cstring>

TADObj::TADObj(std::uint32_t elementSize, std::uint32_t initialCount)
    : elementSize_(elementSize), minimumCount_(initialCount)
{}

TADObj::~TADObj() = default;

void TADObj::Grow(std::uint32_t n)
{
    count_ = n;
    std::uint32_t needed = minimumCount_ != 0 && n < minimumCount_ ? minimumCount_ : n;
    std::size_t bytes = static_cast<std::size_t>(needed) * elementSize_;
    if (bytes <= capacity_)
        return;
    std::unique_ptr<std::uint8_t[]> block(new std::uint8_t[bytes]);
    if (capacity_ != 0)
        std::memcpy(block.get(), data_.get(), capacity_);
    std::memset(block.get() + capacity_, 0, bytes - capacity_);
    data_ = std::move(block);
    capacity_ = bytes;
}

std::uint8_t *TADObj::Item(std::int64_t index) const
{
    if (data_ == nullptr || index < 0 || elementSize_ == 0 || capacity_ < elementSize_)
        return nullptr;
    std::size_t offset = static_cast<std::size_t>(index) * elementSize_;
    if (static_cast<std::size_t>(index) > capacity_ / elementSize_ || offset > capacity_ - elementSize_)
        return nullptr;
    return data_.get() + offset;
}

void TADObj::ClearRange(std::int64_t from, std::int64_t to)
{
    if (data_ == nullptr || elementSize_ == 0)
        return;
    if (from < 0)
        from = 0;
    if (to < 0)
        to = count_;
    std::int64_t fit = static_cast<std::int64_t>(capacity_ / elementSize_);
    if (to > fit)
        to = fit;
    if (from >= to)
        return;
    std::memset(data_.get() + static_cast<std::size_t>(from) * elementSize_, 0,
                static_cast<std::size_t>(to - from) * elementSize_);
}

void TADObj::Assign(const void *source, std::uint32_t n)
{
    Grow(n);
    if (n > 0 && source != nullptr)
        std::memcpy(data_.get(), source, static_cast<std::size_t>(n) * elementSize_);
}
