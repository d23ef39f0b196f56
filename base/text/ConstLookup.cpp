#include "base/text/ConstLookup.h"

#include "base/text/TextPrims.h"

namespace {

// The row of the key, or the sentinel row.
template <class Row>
const Row *Seek(std::uint32_t key, const Row *table, std::uint32_t sentinel)
{
    const Row *row = table;
    while (row->key != key && row->key != sentinel)
        ++row;
    return row;
}

}  // namespace

const void *LookupPtr(std::uint32_t key, const KeyPtrRow *table, std::uint32_t sentinel)
{
    const KeyPtrRow *row = Seek(key, table, sentinel);
    return row->key == sentinel ? nullptr : row->ptr;
}

const void *LookupSecondOrSentinel(std::uint32_t key, const KeyPtrRow *table, std::uint32_t sentinel)
{
    return Seek(key, table, sentinel)->ptr;
}

int LookupRowIndex2(std::uint32_t key, const KeyPtrRow *table, std::uint32_t sentinel)
{
    const KeyPtrRow *row = Seek(key, table, sentinel);
    return row->key == sentinel ? -1 : static_cast<int>(row - table);
}

int CountRowsTo(std::uint32_t key, const KeyPtrRow *table, std::uint32_t sentinel)
{
    return static_cast<int>(Seek(key, table, sentinel) - table);
}

std::uint32_t LookupKeyByName(const char *text, int n, const KeyNameRow *table, std::uint32_t sentinel)
{
    if (text == nullptr || n < 0 || (n == 0 && *text == 0))
        return sentinel;
    for (const KeyNameRow *row = table; row->key != sentinel; ++row) {
        if (row->name != nullptr && CompareCounted(row->name, text, 0, n) == 0)
            return row->key;
    }
    return sentinel;
}

std::uint32_t LookupKeyByName(std::string_view text, const KeyNameRow *table, std::uint32_t sentinel)
{
    if (text.empty())
        return sentinel;
    for (const KeyNameRow *row = table; row->key != sentinel; ++row) {
        if (row->name != nullptr && CompareCounted(std::string_view(row->name), text) == 0)
            return row->key;
    }
    return sentinel;
}

std::uint32_t LookupKeyByFirstChar(char first, const KeyNameRow *table, std::uint32_t sentinel)
{
    for (const KeyNameRow *row = table; row->key != sentinel; ++row) {
        if (row->name != nullptr && row->name[0] == first && first != 0)
            return row->key;
    }
    return sentinel;
}

AnsiString LookupNameStr(std::uint32_t key, const KeyNameRow *table, std::uint32_t sentinel)
{
    const KeyNameRow *row = Seek(key, table, sentinel);
    return row->key == sentinel || row->name == nullptr ? AnsiString() : AnsiString(row->name);
}

std::uint32_t LookupKeyByValue(std::uint32_t value, const KeyValueRow *table, std::uint32_t sentinel)
{
    const KeyValueRow *row = table;
    while (row->key != sentinel && row->value != value)
        ++row;
    return row->key;
}

const char *LookupText2(std::uint32_t key, const KeyText2Row *table, std::uint32_t sentinel, std::uint8_t flag)
{
    const KeyText2Row *row = Seek(key, table, sentinel);
    if (row->key == sentinel)
        return nullptr;
    return flag != 0 ? row->first : row->second;
}

AnsiString LookupText2Str(std::uint32_t key, const KeyText2Row *table, std::uint32_t sentinel, std::uint8_t flag)
{
    const char *text = LookupText2(key, table, sentinel, flag);
    return text == nullptr ? AnsiString() : AnsiString(text);
}

int LookupRowIndex3(std::uint32_t key, const KeyU32x2Row *table, std::uint32_t sentinel)
{
    const KeyU32x2Row *row = Seek(key, table, sentinel);
    return row->key == sentinel ? -1 : static_cast<int>(row - table);
}

std::uint32_t LookupThird(std::uint32_t key, const KeyU32x2Row *table, std::uint32_t sentinel)
{
    const KeyU32x2Row *row = Seek(key, table, sentinel);
    return row->key == sentinel ? 0 : row->third;
}

std::uint32_t LookupKeyByText3(const char *text, int n, const KeyCountedTextRow *table, std::uint32_t sentinel)
{
    if (text == nullptr || n < 0)
        return sentinel;
    for (const KeyCountedTextRow *row = table; row->key != sentinel; ++row) {
        if (row->text != nullptr && CompareCounted(row->text, text, static_cast<int>(row->length), n) == 0)
            return row->key;
    }
    return sentinel;
}

double LookupFloat(std::uint32_t key, const KeyFloatRow *table, std::uint32_t sentinel)
{
    return Seek(key, table, sentinel)->value;
}

std::uint32_t LookupKeyByFloat(double value, const KeyFloatRow *table, double endValue)
{
    const KeyFloatRow *row = table;
    while (row->value != value && row->value != endValue)
        ++row;
    return row->key;
}
