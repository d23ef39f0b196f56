#pragma once
// A byte count as the user reads it: the largest unit the count exceeds, the number rounded up.
#include <cstdint>

#include "framework/runtime/AnsiString.h"

// " Тб" above 1024^4 bytes, " Гб" above 1024^3, " Мб" above 1024^2, " Кб" above 1024, else " б" with
// the count itself: 1536 gives "2 Кб", 1024 gives "1024 б".
AnsiString SizeToText(int64_t bytes);
