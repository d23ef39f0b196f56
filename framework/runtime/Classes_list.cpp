// TList: a list of pointers.
#include <algorithm>

#include "framework/runtime/Classes.h"

void TList::Check(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

int TList::Add(void *item)
{
    items_.push_back(item);
    return Count() - 1;
}

void TList::Insert(int index, void *item)
{
    if (index < 0 || index > Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    items_.insert(items_.begin() + index, item);
}

void TList::Delete(int index)
{
    Check(index);
    items_.erase(items_.begin() + index);
}

int TList::Remove(void *item)
{
    int i = IndexOf(item);
    if (i >= 0)
        Delete(i);
    return i;
}

int TList::IndexOf(void *item) const
{
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TList::Clear() { items_.clear(); }

void TList::Exchange(int i, int j)
{
    Check(i);
    Check(j);
    std::swap(items_[i], items_[j]);
}

void TList::Move(int from, int to)
{
    Check(from);
    Check(to);
    void *item = items_[from];
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, item);
}

void TList::Sort(TListSortCompare compare)
{
    std::stable_sort(items_.begin(), items_.end(), [compare](void *a, void *b) { return compare(a, b) < 0; });
}

void TList::Pack() { items_.erase(std::remove(items_.begin(), items_.end(), nullptr), items_.end()); }

void *TList::Items(int index) const
{
    Check(index);
    return items_[index];
}

void TList::SetItem(int index, void *item)
{
    Check(index);
    items_[index] = item;
}
