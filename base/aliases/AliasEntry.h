#pragma once
// One alias entry: a short upper-case identifier and the information it stands for (usually a
// folder; a two-language information is 0x04, the Russian text, 0x05, the Ukrainian text), with the
// parsers that make an entry from a text line or a binary record and the formatters that write it
// back.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "framework/runtime/AnsiString.h"

constexpr int dfMaxLenAliasID = 15;
constexpr int dfMaxLenAliasInfo = 522;

// Entry flag: the information was written with the language markers '^' and '&'.
constexpr std::uint8_t AliasEntryMarkers = 0x20;

// Error numbers of entries (1-3) and of lists (8-11).
enum : std::uint8_t {
    AliasErrNoId = 1,         // a line without identifier
    AliasErrIdTooLong = 2,    // an identifier of more than dfMaxLenAliasID characters
    AliasErrInfoTooLong = 3,  // an information of more than dfMaxLenAliasInfo characters
    AliasErrOpen = 8,         // the file cannot be opened, created or written
    AliasErrEmpty = 9,        // the file is empty
    AliasErrHasErrors = 10,   // the list holds entries with errors
    AliasErrDamaged = 11,     // a length or an end mark of the file does not fit its data
};

// The Russian text of an error number; "" for a number without text.
const char *AliasErrorText(int number);

struct SALS_Link {
    SALS_Link *next = nullptr;
    std::uint8_t flags = 0;
    std::uint8_t error = 0;
    std::uint8_t idLength = 0;
    char id[dfMaxLenAliasID + 1] = {};
    std::uint16_t infoLength = 0;
    char info[dfMaxLenAliasInfo + 1] = {};

    std::string_view Id() const { return {id, idLength}; }
    std::string_view Info() const { return {info, infoLength}; }
};

// Parses a text line into the entry (everything but its chain pointer is reset first):
// identifier, separator, information. The identifier is upper-cased without leading and trailing
// spaces. The information is either plain, its two language parts split by the separator, or, when
// it begins with '^' or '&', in marker mode, where '^' opens the Russian and '&' the Ukrainian part
// and the separator is an ordinary character. An entry that cannot be held keeps its error number
// (the identifier is kept for an over-long information, so that a prefix can still be named).
void ParseAliasLine(SALS_Link &entry, std::string_view line, char separator);

// Parses a binary record (identifier, separator, information) into the entry. The information is
// copied unchanged; the identifier too when the separator is 0x01, else it is upper-cased and its
// trailing spaces are dropped.
void ParseAliasRecord(SALS_Link &entry, std::string_view record, char separator);

// The entry as a text line: identifier, separator, information with its language markers written
// as '^' and '&' (withMarkers) or as the separator between the two parts.
AnsiString FormatAliasLine(const SALS_Link &entry, char separator, bool withMarkers);
// The entry as a binary record: identifier, separator, information unchanged.
AnsiString FormatAliasRecord(const SALS_Link &entry, char separator);
