#pragma once
// The program's string resources.
#include "framework/runtime/AnsiString.h"

// The Russian (language 1049) string of this id from the program's string table, in code page 1251;
// an empty text when there is none.
AnsiString LoadStr(int id);
