#pragma once
// Letter case of code page 1251 with the Ukrainian letters, by the library's own rules (not the
// framework's AnsiUpperCase): 'a'-'z' and 0xE0-0xFF have capitals 32 below; І and і both become the
// Latin 'I' or 'i' (so a round trip does not restore them); є/Є and ї/Ї pair up; ё (0xB8) and ґ
// (0xB4) keep their case.
#include <cstdint>

char UpperChar(char c);
char LowerChar(char c);
// A Latin capital that looks like a Cyrillic one (A B C E T O P H K X M) becomes that letter.
char LookAlikeChar(char c);

// In place over n bytes (0 = up to the NUL); return the count.
int CharUpper1251(char *text, int n);
int CharLower1251(char *text, int n);
int FoldLookAlike(char *text, int n);

// The look-alike pairs, Latin capital then Cyrillic capital, ended by a 0 byte.
extern const char LookAlikePairs[];

// In place over a NUL-terminated text: mode 1 lower case, any other upper case; stops at the first
// byte that occurs in `stops` (null or empty: none). Returns the number of bytes converted.
int CaseText(char *text, int mode, const char *stops = nullptr);
// Converts into dst n bytes (0 = up to the NUL) of src; no terminator; returns the count (a null
// dst counts only).
int CaseTextCopy(char *dst, const char *src, int n, int mode);
// Converts into dst the bytes of src before the NUL or the first byte in `stops`; no terminator;
// returns the count (a null dst counts only).
int CaseTextCopyTo(char *dst, const char *src, const char *stops, int mode);
