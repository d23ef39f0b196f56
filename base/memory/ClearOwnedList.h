#pragma once
// Frees the items of a framework list that owns them (items of type T made with new), except those
// the keep predicate claims, then destroys the list (and nulls the reference) or leaves it empty.
// A missing predicate keeps nothing.
#include <functional>

#include "framework/runtime/Classes.h"

template <class T>
void ClearOwnedList(TList *&list, bool destroyList, const std::function<bool(T *)> &keep)
{
    if (list == nullptr)
        return;
    for (int i = 0; i < list->Count(); ++i) {
        T *item = static_cast<T *>(list->Items(i));
        if (item == nullptr)
            continue;
        if (!keep || !keep(item))
            delete item;
        list->SetItem(i, nullptr);
    }
    if (destroyList) {
        delete list;
        list = nullptr;
    } else {
        list->Clear();
    }
}

template <class T>
void ClearOwnedList(TList *&list, bool destroyList, bool (*keep)(T *) = nullptr)
{
    ClearOwnedList<T>(list, destroyList, keep == nullptr ? std::function<bool(T *)>() : std::function<bool(T *)>(keep));
}
