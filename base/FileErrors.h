#pragma once
// The file classes' errors: numbers, codes and their two-language texts.
#include <cstdint>

#include "base/BilingualTable.h"

// Numbers of the file classes' messages. A file error n is raised with the code 0xE4000000 + n.
enum : unsigned {
    FileAskReplace = 1,        // the question before an existing file is replaced
    FileErrBadMode = 50,       // an open mode that does not exist
    FileErrNoName = 51,        // no name, or a name longer than a path may be
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
