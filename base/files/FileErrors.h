#pragma once
// The file classes' errors: numbers, codes and their two-language texts.
#include <cstdint>

#include "base/text/BilingualTable.h"
#include "framework/runtime/AnsiString.h"

// Numbers of the file classes' messages. A file error n is thrown as TZExcept with the code
// 0xE4000000 + n (0xE4000032 to 0xE400003D) and the file name as its text.
enum : unsigned {
    FileAskReplace = 1,   // the question before an existing file is replaced
    FileErrBadMode = 50,  // an open mode that does not exist
    FileErrNoName = 51,   // no name, or a name longer than a path may be
    FileErrNotFound = 52,
    FileErrClosed = 53,
    FileErrPastEnd = 54,
    FileErrClosing = 55,
    FileErrOpening = 56,
    FileErrNotForWriting = 57,
    FileErrReadInWriteMode = 58,
    FileErrWriteInReadMode = 59,
    FileErrSeekOutside = 60,
    FileErrNoLineEnd = 61,
};

// Rows 1 and 50 to 61, ended by the row numbered 0; '$' stands for the file name.
extern const BilingualRow FileErrorTable[];
constexpr std::uint32_t FileErrorTableEnd = 0;

// The text of a file message, given by its number (1, 50 to 61) or its code (0xE4000032 to
// 0xE400003D), in a language (0 Ukrainian, 1 Russian)
// with the file name in its '$' place (or after it when it has none); "" for any other number.
AnsiString FileErrorText(std::uint32_t numberOrCode, const AnsiString &name, std::uint8_t language);
