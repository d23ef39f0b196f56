#pragma once
// How the file classes report an error: thrown as TZExcept when the object's owner asked for
// exceptions, otherwise told at once in an error box in the library language. File error n carries
// the code 0xE4000000 + n and the file name; a failed system call (number 0) carries code 0 and the
// system's error code.
#include <cstdint>

#include "framework/runtime/AnsiString.h"

// The code an object keeps for file error n, or the system error code for n = 0.
std::uint32_t FileErrorCode(unsigned number, unsigned long systemCode);

[[noreturn]] void ThrowFileError(unsigned number, unsigned long systemCode, const AnsiString &name);

// The error box: row n of the file error table with the name in its '$' place, or for n = 0 the
// system's text of the error followed by the name.
void ShowFileError(unsigned number, unsigned long systemCode, const AnsiString &name);

// Asks whether the existing file `name` is to be replaced; true for Yes.
bool AskReplaceFile(const AnsiString &name);
