// TStrings and TStringList.
#include <algorithm>
#include <numeric>

#include "framework/runtime/Classes.h"
#include "framework/runtime/SysUtils.h"

// ---- TStrings --------------------------------------------------------------------------------
int TStrings::CompareStrings(const AnsiString &a, const AnsiString &b) const { return AnsiCompareText(a, b); }

int TStrings::IndexOf(const AnsiString &s) const
{
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(Strings(i), s) == 0)
            return i;
    return -1;
}

int TStrings::Add(const AnsiString &s)
{
    int i = Count();
    Insert(i, s);
    return i;
}

int TStrings::AddObject(const AnsiString &s, void *object)
{
    int i = Add(s);
    // A sorted list with dupIgnore returns the existing entry's index: the object goes there.
    if (i >= 0)
        SetObject(i, object);
    return i;
}

void TStrings::InsertObject(int index, const AnsiString &s, void *object)
{
    Insert(index, s);
    SetObject(index, object);
}

void TStrings::AddStrings(const TStrings &other)
{
    for (int i = 0; i < other.Count(); ++i)
        AddObject(other.Strings(i), other.Objects(i));
}

void TStrings::Assign(const TStrings &other)
{
    if (&other == this)
        return;
    Clear();
    AddStrings(other);
}

int TStrings::IndexOfObject(void *object) const
{
    for (int i = 0; i < Count(); ++i)
        if (Objects(i) == object)
            return i;
    return -1;
}

AnsiString TStrings::Text() const
{
    AnsiString r;
    for (int i = 0; i < Count(); ++i)
        r += Strings(i) + "\r\n";
    return r;
}

void TStrings::SetText(const AnsiString &text)
{
    Clear();
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == AnsiString::npos) {
            Add(text.substr(start));
            break;
        }
        Add(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
}

AnsiString TStrings::CommaText() const
{
    AnsiString r;
    for (int i = 0; i < Count(); ++i) {
        if (i)
            r += ',';
        AnsiString s = Strings(i);
        bool quote = s.empty() || s.find_first_of(" ,\"") != AnsiString::npos;
        if (!quote) {
            r += s;
            continue;
        }
        r += '"';
        for (char c : s) {
            if (c == '"')
                r += '"';
            r += c;
        }
        r += '"';
    }
    return r;
}

void TStrings::LoadFromStream(TStream &stream)
{
    long long size = stream.Size() - stream.Position();
    AnsiString bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (!bytes.empty())
        stream.ReadBuffer(bytes.data(), static_cast<long>(bytes.size()));
    SetText(bytes);
}

void TStrings::SaveToStream(TStream &stream) const
{
    AnsiString t = Text();
    if (!t.empty())
        stream.WriteBuffer(t.data(), static_cast<long>(t.size()));
}

// ---- TStringList -----------------------------------------------------------------------------
TStringList::TStringList(const TStringList &other)
    : TStrings(other), items_(other.items_), sorted_(other.sorted_), caseSensitive_(other.caseSensitive_),
      duplicates_(other.duplicates_)
{}

TStringList &TStringList::operator=(const TStringList &other)
{
    items_ = other.items_;
    sorted_ = other.sorted_;
    caseSensitive_ = other.caseSensitive_;
    duplicates_ = other.duplicates_;
    return *this;
}

void TStringList::Check(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

int TStringList::CompareStrings(const AnsiString &a, const AnsiString &b) const
{
    return caseSensitive_ ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
}

AnsiString TStringList::Strings(int index) const
{
    Check(index);
    return items_[index].text;
}

void TStringList::SetString(int index, const AnsiString &s)
{
    if (sorted_)
        throw EListError("Operation not allowed on sorted list");
    Check(index);
    items_[index].text = s;
}

void *TStringList::Objects(int index) const
{
    Check(index);
    return items_[index].object;
}

void TStringList::SetObject(int index, void *object)
{
    Check(index);
    items_[index].object = object;
}

int TStringList::InsertAt(int index, const AnsiString &s, void *object)
{
    items_.insert(items_.begin() + index, Item{s, object});
    return index;
}

int TStringList::Add(const AnsiString &s)
{
    if (!sorted_)
        return InsertAt(Count(), s, nullptr);
    int index;
    if (Find(s, index)) {
        if (duplicates_ == dupIgnore)
            return index;
        if (duplicates_ == dupError)
            throw EListError("String list does not allow duplicates");
    }
    return InsertAt(index, s, nullptr);
}

void TStringList::Insert(int index, const AnsiString &s)
{
    if (sorted_)
        throw EListError("Operation not allowed on sorted list");
    if (index < 0 || index > Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    InsertAt(index, s, nullptr);
}

void TStringList::Delete(int index)
{
    Check(index);
    items_.erase(items_.begin() + index);
}

void TStringList::Clear() { items_.clear(); }

int TStringList::IndexOf(const AnsiString &s) const
{
    if (!sorted_)
        return TStrings::IndexOf(s);
    int index;
    return Find(s, index) ? index : -1;
}

bool TStringList::Find(const AnsiString &s, int &index) const
{
    if (!sorted_) {
        index = TStrings::IndexOf(s);
        if (index >= 0)
            return true;
        index = Count();
        return false;
    }
    // First position whose string is not less than s; with duplicates accepted that is the
    // first of the equal ones.
    int lo = 0, hi = Count();
    while (lo < hi) {
        int mid = lo + (hi - lo) / 2;
        if (CompareStrings(items_[mid].text, s) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    index = lo;
    return lo < Count() && CompareStrings(items_[lo].text, s) == 0;
}

void TStringList::Sort()
{
    std::stable_sort(items_.begin(), items_.end(),
                     [this](const Item &a, const Item &b) { return CompareStrings(a.text, b.text) < 0; });
}

void TStringList::CustomSort(TStringListSortCompare compare)
{
    if (sorted_)
        throw EListError("Operation not allowed on sorted list");
    // Sort indices with the comparer (it reads the list by index), then rearrange once.
    std::vector<int> order(items_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(this, a, b) < 0; });
    std::vector<Item> sorted;
    sorted.reserve(items_.size());
    for (int i : order)
        sorted.push_back(items_[i]);
    items_ = std::move(sorted);
}

void TStringList::Exchange(int i, int j)
{
    if (sorted_)
        throw EListError("Operation not allowed on sorted list");
    Check(i);
    Check(j);
    std::swap(items_[i], items_[j]);
}

void TStringList::SetSorted(bool sorted)
{
    if (sorted && !sorted_)
        Sort();
    sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool on)
{
    if (on == caseSensitive_)
        return;
    caseSensitive_ = on;
    if (sorted_)
        Sort();
}
