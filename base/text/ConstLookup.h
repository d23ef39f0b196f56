#pragma once
// Lookups in constant tables: arrays of rows whose last row carries a sentinel key that the caller
// names. A search stops at the row with the wanted key or at the sentinel row, whichever comes
// first, so every table must end with its sentinel row.
#include <cstdint>
#include <string_view>

#include "framework/runtime/AnsiString.h"

struct KeyPtrRow {
    std::uint32_t key;
    const void *ptr;
};
struct KeyNameRow {
    std::uint32_t key;
    const char *name;  // NUL-terminated; null counts as empty
};
struct KeyValueRow {
    std::uint32_t key;
    std::uint32_t value;
};
struct KeyText2Row {
    std::uint32_t key;
    const char *first;
    const char *second;
};
struct KeyU32x2Row {
    std::uint32_t key;
    std::uint32_t second;
    std::uint32_t third;
};
struct KeyCountedTextRow {
    std::uint32_t key;
    std::uint32_t length;  // 0: up to the NUL
    const char *text;
};
struct KeyFloatRow {
    std::uint32_t key;
    double value;
};

// Pointer of the key; null when only the sentinel is found.
const void *LookupPtr(std::uint32_t key, const KeyPtrRow *table, std::uint32_t sentinel);
// Pointer of the key's row, or the sentinel row's pointer (the default).
const void *LookupSecondOrSentinel(std::uint32_t key, const KeyPtrRow *table, std::uint32_t sentinel);
// 0-based row index of the key; -1 when absent.
int LookupRowIndex2(std::uint32_t key, const KeyPtrRow *table, std::uint32_t sentinel);
// Number of rows before the key's row or the sentinel row.
int CountRowsTo(std::uint32_t key, const KeyPtrRow *table, std::uint32_t sentinel);

// Key whose name equals the text (n bytes, 0 = up to the NUL); the sentinel when the text is
// null, empty or absent.
std::uint32_t LookupKeyByName(const char *text, int n, const KeyNameRow *table, std::uint32_t sentinel);
std::uint32_t LookupKeyByName(std::string_view text, const KeyNameRow *table, std::uint32_t sentinel);
// Key whose name begins with the byte; the sentinel when absent.
std::uint32_t LookupKeyByFirstChar(char first, const KeyNameRow *table, std::uint32_t sentinel);
// The key's name; "" when absent.
AnsiString LookupNameStr(std::uint32_t key, const KeyNameRow *table, std::uint32_t sentinel);

// Key of the first row whose value is the value, or the sentinel.
std::uint32_t LookupKeyByValue(std::uint32_t value, const KeyValueRow *table, std::uint32_t sentinel);

// The first text when `flag` is non-zero, else the second; null when the key is absent.
const char *LookupText2(std::uint32_t key, const KeyText2Row *table, std::uint32_t sentinel, std::uint8_t flag = 2);
AnsiString LookupText2Str(std::uint32_t key, const KeyText2Row *table, std::uint32_t sentinel, std::uint8_t flag = 2);

// 0-based row index; -1 when absent.
int LookupRowIndex3(std::uint32_t key, const KeyU32x2Row *table, std::uint32_t sentinel);
// The third column; 0 when absent.
std::uint32_t LookupThird(std::uint32_t key, const KeyU32x2Row *table, std::uint32_t sentinel);

// Key whose counted text equals the text (n bytes, 0 = up to the NUL); the sentinel when absent.
std::uint32_t LookupKeyByText3(const char *text, int n, const KeyCountedTextRow *table, std::uint32_t sentinel);

// The float of the key, or of the sentinel row.
double LookupFloat(std::uint32_t key, const KeyFloatRow *table, std::uint32_t sentinel);
// Key of the first row whose float equals `value`, or of the row whose float equals `endValue`,
// which ends the table.
std::uint32_t LookupKeyByFloat(double value, const KeyFloatRow *table, double endValue);
