#pragma once
// Version stamps: the version text held in the first record of logical file 0 of every compound
// file, parsed into numbers and compared with the program's own.
//
// Text: optionally a one-digit product number followed by "-" or by one letter and "-", then a, and
// optionally "." b, "." c, "." d. The letter "У" marks variant 2, any other letter variant 1.
#include <cstdint>

#include "framework/runtime/AnsiString.h"

struct SQMTVER {
    uint8_t product = 0;
    uint8_t variant = 0;  // 0 no letter, 1 a letter other than "У", 2 the letter "У"
    uint8_t a = 0, b = 0, c = 0, d = 0;
    uint8_t copies[4] = {};  // product, a, b, c of the text SameVersion parses first
    AnsiString text;         // the text last parsed
};

// Comparison bits of CompareVersion (F the stamp, P the program's).
enum : uint32_t {
    VersionSame = 0x01,          // all equal
    VersionProgramNewer = 0x02,  // in the product, a or b
    VersionProgramNewerC = 0x04,
    VersionProgramNewerD = 0x08,
    VersionOtherVariant = 0x10,
    VersionFileNewer = 0x20,  // in the product, a, b or c
    VersionFileNewerD = 0x40,
    VersionBeforeTwo = 0x200,  // a file of a format older than version 2
    VersionSameA = 0x400,
};

// The program's own stamp: product 5, no letter, 3.1.1.0, text "3.1.1".
extern SQMTVER ProgramVersion;

void InitVersion(SQMTVER &stamp);
// Parses text into stamp, starting from a clean stamp (the copies are kept).
void ParseVersion(SQMTVER &stamp, const AnsiString &text);
uint32_t CompareVersion(const SQMTVER &stamp);
uint32_t ParseAndCompareVersion(SQMTVER &stamp, const AnsiString &text);
// True when both texts have the same product, a and b (and c when withC); the stamp is left holding
// the first text, the second's product, a, b and c in its copies.
bool SameVersion(SQMTVER &stamp, const AnsiString &first, const AnsiString &second, bool withC);
// Parses text and makes its product, variant, a, b and c the program's (d stays); the program's text
// becomes "a.b.c".
void SetProgramVersion(SQMTVER &stamp, const AnsiString &text);
// "a.b.c" of the text, in decimal.
AnsiString ShortVersionText(SQMTVER &stamp, const AnsiString &text);
