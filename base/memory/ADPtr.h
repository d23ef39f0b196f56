#pragma once
// TADPtr: a growable array of pointers guarded by its own lock. Removed items go to a release
// closure: the one given to the operation, else the array's default one (none when empty). With
// the shrink flag (set from the start) removals close their gaps and the array gives memory back.
// Slots at and beyond the count are always null.
#include <functional>
#include <memory>

#include "base/memory/ZLock.h"

using TADPtrRelease = std::function<void(void *item)>;
using TADPtrMatch = bool (*)(void *context, void *item, void *parameter);

class TADPtr {
public:
    // Capacity grows in multiples of the step (4 for a negative step, no rounding for 0).
    explicit TADPtr(int growthStep = 4, TADPtrRelease release = {});
    // Releases every item with the default closure.
    ~TADPtr();
    TADPtr(const TADPtr &) = delete;
    TADPtr &operator=(const TADPtr &) = delete;

    // Null outside 0 <= index < count.
    void *Get(int index) const;
    // Only for 0 <= index < count.
    void Set(int index, void *item);
    // Extends the count to index + 1 when needed; returns the slot's previous item.
    void *SetAt(int index, void *item);
    // Resizes to exactly n (rounded to the step); items beyond n are dropped without release.
    void SetCount(int n);
    // Appends; returns the index.
    int Add(void *item);
    // The first null slot below the count takes the item, else it is appended; returns the index.
    int AddToFreeSlot(void *item);
    // An index at or beyond the count appends; returns the index.
    int Insert(int index, void *item);

    int IndexOf(void *item) const;
    // The next index after `index` that holds the same pointer; -1 when none.
    int IndexOfNextSame(int index) const;
    // The first index whose item makes callback(context, item, parameter) true; -1 when none.
    int FindBy(void *parameter, TADPtrMatch callback, void *context) const;

    // Takes the item out (closing the gap with the shrink flag, else nulling its slot) and releases
    // it; returns it (null outside the count).
    void *RemoveAt(int index, const TADPtrRelease &release = {});
    // RemoveAt of the item's index; true when a non-null item was removed.
    bool RemoveItem(void *item);
    // Releases and nulls `count` slots from `start` (count < 1: up to the end); returns the number
    // of slots visited. With the shrink flag the array is then packed when less than half is used.
    int ClearRange(int start, int count, const TADPtrRelease &release = {});
    // For to < from: releases the items from `to` up to from - 1 and moves the items from `from`
    // on down to `to`, nulling the slots left at the end; the count stays. Returns the number of
    // items moved (0 for to >= from, a direction nothing needs).
    int MoveRange(int from, int to, const TADPtrRelease &release = {});
    // Moves the non-null items from `start` (negative: the first null slot) down over the null ones
    // and sets the count; with the shrink flag the capacity follows the count.
    void Pack(int start = -1);

    int Count() const;
    int Capacity() const;
    bool Shrinks() const { return shrink_; }
    void SetShrinks(bool on) { shrink_ = on; }

private:
    class Hold;
    void Resize(int n, bool exact);
    void PackLocked(int start);
    // Takes the item at index out of the array (the lock held); pack tells whether the array is to
    // be packed afterwards.
    void *TakeLocked(int index, bool &pack);
    void ReleaseItem(void *item, const TADPtrRelease &release) const;

    int step_;
    int capacity_ = 0;
    int count_ = 0;
    std::unique_ptr<void *[]> items_;
    bool shrink_ = true;
    TADPtrRelease release_;
    std::unique_ptr<TZLock> lock_ = std::make_unique<TZLock>();
};
