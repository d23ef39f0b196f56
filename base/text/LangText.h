#pragma once
// Two-language texts: both readings of a text in one byte string, the Russian section opened by
// the Russian marker and the Ukrainian one by the Ukrainian marker, in either order, after an
// optional common prefix. A text without markers serves both languages.
// Language numbers of the base library: 0 Ukrainian, 1 Russian, 2 (or any other value) the whole
// text. The UI controls count the other way round; the two numberings never mix.
#include <cstdint>
#include <string_view>

#include "framework/runtime/AnsiString.h"

enum : std::uint8_t { LangUkr = 0, LangRus = 1, LangWhole = 2 };

// The marker table: Russian 0x04, Ukrainian 0x05, and the alternative notation of text files,
// Russian '^' and Ukrainian '&'.
extern const char LangMarkers[4];
constexpr char RusMarker = 0x04;
constexpr char UkrMarker = 0x05;
constexpr char RusMarkerAlt = '^';
constexpr char UkrMarkerAlt = '&';
// The two standard markers as one-character strings.
const AnsiString &RusMarkerText();
const AnsiString &UkrMarkerText();

// The language of the library's own dialogs and the grid table's second-language byte; both start
// as Russian (1) and nothing in the system changes them.
extern std::uint8_t LibraryLanguage;
extern std::uint8_t SecondLanguage;

// Finds one language's part of a text of `length` bytes (0 = up to the NUL). The part runs from
// just after its marker to the other language's marker or the end; a common prefix before the
// first marker belongs to neither part. Returns the part's length; `start` (when given) receives
// the part's first byte, a constant empty text when the part is missing, or null for an empty text.
int LocateLangPart(std::uint8_t language, const char *text, int length, bool altMarkers = false,
                   const char **start = nullptr);
// The part as a new string (standard markers).
AnsiString GetLangText(std::uint8_t language, const char *text, int length);
AnsiString GetLangText(std::uint8_t language, std::string_view text);

// Language span: a packed word. As a request: the text's length (0 = up to the NUL) in the low
// half, the Russian marker in byte 2, the Ukrainian marker in byte 3. As a result: the part's
// length in the low half and its offset in the high half. Only a text that begins with a marker is
// split; any other text is whole for every language.
std::uint32_t LocateLangSpan(std::uint8_t language, const char *text, std::uint32_t request);
std::uint32_t LocateLangSpanAlt(std::uint8_t language, const char *text, int length);
std::uint32_t LocateLangSpanPlain(std::uint8_t language, const char *text, int length);

// Copies one language's reading of a text with any number of marked sections: common text for
// every language, Russian sections for 1, Ukrainian sections for 0. A section closed by a marker of
// its own kind returns to common text; a marker of the other kind opens the next section. A
// negative length (its absolute value counts) applies the leading-marker rule first: a text that
// begins with the Russian marker is empty for every language but Ukrainian, one that begins with
// the Ukrainian marker is empty for Ukrainian, and otherwise the leading marker is skipped.
// Writes a NUL after the copy (dst must hold the length plus one) and returns the copied count.
int CopyLangText(std::uint8_t language, const char *src, int length, char *dst);
int CopyLangTextAlt(std::uint8_t language, const char *src, int length, char *dst);

// 'U' for 0, 'R' for 1, else 0; and the lower-case letters.
char LangLetter(std::uint8_t language);
char LangLetterLower(std::uint8_t language);
