#include "controls/ClosureHolder.h"

#include <exception>
#include <memory>

#include "base/input/fun_other.h"

ClosureHolder::~ClosureHolder() { Fire(); }

void ClosureHolder::Fire()
{
    // Cleared before the call, so that a method that disposes of its own item, or fires it again, does
    // not run twice.
    TClosureMethod method = std::move(Method);
    Method = nullptr;
    if (method)
        method();
}

void DisposeClosureHolder(void *item)
{
    std::unique_ptr<ClosureHolder> holder(static_cast<ClosureHolder *>(item));
    if (holder)
        holder->Fire();
}

void FreeClosureList(TList *&list, bool freeList)
{
    std::exception_ptr first;
    FreeObjectList(list, freeList, [&first](void *item) {
        try {
            DisposeClosureHolder(item);
        } catch (...) {
            if (!first)
                first = std::current_exception();
        }
    });
    if (first)
        std::rethrow_exception(first);
}
