#pragma once
// A list item that carries a value and a method to run when the item is disposed of: the method runs
// at most once, whether it is fired early or by the disposal. Lists of these items are plain TList
// objects of items made with new.
#include <cstdint>
#include <functional>

class TList;

// The method: the object it acts on is bound in (as with the framework's events).
using TClosureMethod = std::function<void()>;

struct ClosureHolder {
    ClosureHolder() = default;
    ClosureHolder(std::uint32_t value, TClosureMethod method) : Value(value), Method(std::move(method)) {}
    ClosureHolder(const ClosureHolder &) = delete;
    ClosureHolder &operator=(const ClosureHolder &) = delete;
    // Fires a method that is still set. A method that may throw is disposed of with
    // DisposeClosureHolder, which lets its exception through; a destructor cannot.
    ~ClosureHolder();

    // Takes the method out of the item, then runs it; nothing when none is set (or it ran already).
    void Fire();

    std::uint32_t Value = 0;
    TClosureMethod Method;
};

// Disposes of one item (null does nothing): fires its method when one is set, then frees the item,
// also when the method throws.
void DisposeClosureHolder(void *item);
// Disposes of every item of a list through FreeObjectList, then frees the list and nulls the reference
// (`freeList`) or leaves it empty. Every item is freed even when a method throws; the first exception
// is passed on after the last item.
void FreeClosureList(TList *&list, bool freeList);
