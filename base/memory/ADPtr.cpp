#include "base/memory/ADPtr.h"

#include <algorithm>
#include <cstring>
#include <vector>

class TADPtr::Hold {
public:
    explicit Hold(const TADPtr &array) : lock_(*array.lock_) { lock_.Enter(); }
    ~Hold() { lock_.Leave(); }
    Hold(const Hold &) = delete;
    Hold &operator=(const Hold &) = delete;

private:
    TZLock &lock_;
};

TADPtr::TADPtr(int growthStep, TADPtrRelease release)
    : step_(growthStep < 0 ? 4 : growthStep), release_(std::move(release))
{}

TADPtr::~TADPtr() { ClearRange(0, 0); }

void TADPtr::Resize(int n, bool exact)
{
    if (n < 0)
        n = 0;
    if (exact ? n == capacity_ : n <= capacity_)
        return;
    if (step_ > 0 && n % step_ != 0)
        n += step_ - n % step_;
    std::unique_ptr<void *[]> items(n > 0 ? new void *[static_cast<std::size_t>(n)]() : nullptr);
    const int keep = std::min(n, count_);
    if (keep > 0)
        std::memcpy(items.get(), items_.get(), sizeof(void *) * static_cast<std::size_t>(keep));
    items_ = std::move(items);
    capacity_ = n;
    count_ = std::min(count_, n);
}

void TADPtr::ReleaseItem(void *item, const TADPtrRelease &release) const
{
    if (item == nullptr)
        return;
    if (release)
        release(item);
    else if (release_)
        release_(item);
}

void *TADPtr::Get(int index) const
{
    Hold hold(*this);
    return index >= 0 && index < count_ ? items_[index] : nullptr;
}

void TADPtr::Set(int index, void *item)
{
    Hold hold(*this);
    if (index >= 0 && index < count_)
        items_[index] = item;
}

void *TADPtr::SetAt(int index, void *item)
{
    Hold hold(*this);
    if (index < 0)
        return nullptr;
    if (index >= count_) {
        Resize(index + 1, false);
        count_ = index + 1;
    }
    void *previous = items_[index];
    items_[index] = item;
    return previous;
}

void TADPtr::SetCount(int n)
{
    Hold hold(*this);
    n = std::max(n, 0);
    for (int i = n; i < count_; ++i)
        items_[i] = nullptr;  // so that a later growth cannot bring them back
    Resize(n, true);
    count_ = n;
}

int TADPtr::Add(void *item)
{
    Hold hold(*this);
    Resize(count_ + 1, false);
    items_[count_] = item;
    return count_++;
}

int TADPtr::AddToFreeSlot(void *item)
{
    Hold hold(*this);
    for (int i = 0; i < count_; ++i) {
        if (items_[i] == nullptr) {
            items_[i] = item;
            return i;
        }
    }
    return Add(item);
}

int TADPtr::Insert(int index, void *item)
{
    Hold hold(*this);
    if (index >= count_)
        return Add(item);
    index = std::max(index, 0);
    Resize(count_ + 1, false);
    std::memmove(&items_[index + 1], &items_[index], sizeof(void *) * static_cast<std::size_t>(count_ - index));
    items_[index] = item;
    ++count_;
    return index;
}

int TADPtr::IndexOf(void *item) const
{
    Hold hold(*this);
    for (int i = 0; i < count_; ++i)
        if (items_[i] == item)
            return i;
    return -1;
}

int TADPtr::IndexOfNextSame(int index) const
{
    Hold hold(*this);
    if (index < 0 || index >= count_)
        return -1;
    for (int i = index + 1; i < count_; ++i)
        if (items_[i] == items_[index])
            return i;
    return -1;
}

int TADPtr::FindBy(void *parameter, TADPtrMatch callback, void *context) const
{
    if (callback == nullptr)
        return -1;
    Hold hold(*this);
    for (int i = 0; i < count_; ++i)
        if (callback(context, items_[i], parameter))
            return i;
    return -1;
}

void *TADPtr::TakeLocked(int index, bool &pack)
{
    pack = false;
    if (index < 0 || index >= count_)
        return nullptr;
    void *item = items_[index];
    if (!shrink_) {
        items_[index] = nullptr;
    } else {
        std::memmove(&items_[index], &items_[index + 1], sizeof(void *) * static_cast<std::size_t>(count_ - index - 1));
        items_[--count_] = nullptr;
        pack = 2 * count_ < capacity_;
    }
    return item;
}

void *TADPtr::RemoveAt(int index, const TADPtrRelease &release)
{
    void *item = nullptr;
    bool pack = false;
    {
        Hold hold(*this);
        item = TakeLocked(index, pack);
    }
    // Packing and the release closure run after the lock is let go: a closure that takes a lock of
    // its own must not wait for it while holding this one.
    if (pack)
        Pack(-1);
    ReleaseItem(item, release);
    return item;
}

bool TADPtr::RemoveItem(void *item)
{
    void *taken = nullptr;
    bool pack = false;
    {
        // Found and taken under one hold, so no other thread shifts the item's index in between.
        Hold hold(*this);
        taken = TakeLocked(IndexOf(item), pack);
    }
    if (pack)
        Pack(-1);
    ReleaseItem(taken, {});
    return taken != nullptr;
}

int TADPtr::ClearRange(int start, int count, const TADPtrRelease &release)
{
    std::vector<void *> taken;
    int visited = 0;
    {
        Hold hold(*this);
        start = std::max(start, 0);
        const int end =
            count < 1 ? count_ : static_cast<int>(std::min<long long>(count_, static_cast<long long>(start) + count));
        for (int i = start; i < end; ++i, ++visited) {
            if (items_[i] != nullptr)
                taken.push_back(items_[i]);
            items_[i] = nullptr;
        }
        if (shrink_ && capacity_ > 2 * count_)
            PackLocked(-1);
    }
    for (void *item : taken)
        ReleaseItem(item, release);
    return visited;
}

int TADPtr::MoveRange(int from, int to, const TADPtrRelease &release)
{
    std::vector<void *> taken;
    int moved = 0;
    {
        Hold hold(*this);
        from = std::min(from, count_);
        if (to < 0 || to >= from)
            return 0;
        for (int i = to; i < from; ++i) {
            if (items_[i] != nullptr)
                taken.push_back(items_[i]);
            items_[i] = nullptr;
        }
        moved = count_ - from;
        std::memmove(&items_[to], &items_[from], sizeof(void *) * static_cast<std::size_t>(moved));
        for (int i = to + moved; i < count_; ++i)
            items_[i] = nullptr;
    }
    for (void *item : taken)
        ReleaseItem(item, release);
    return moved;
}

void TADPtr::Pack(int start)
{
    Hold hold(*this);
    PackLocked(start);
}

void TADPtr::PackLocked(int start)
{
    if (start < 0) {
        start = 0;
        while (start < count_ && items_[start] != nullptr)
            ++start;
    }
    int to = std::min(start, count_);
    for (int i = to; i < count_; ++i)
        if (items_[i] != nullptr)
            items_[to++] = items_[i];
    for (int i = to; i < count_; ++i)
        items_[i] = nullptr;
    count_ = to;
    if (shrink_)
        Resize(count_, true);
}

int TADPtr::Count() const
{
    Hold hold(*this);
    return count_;
}

int TADPtr::Capacity() const
{
    Hold hold(*this);
    return capacity_;
}
