#pragma once
// Hands a document or an address to the shell (ShellExecuteW, shown normally, no owner window).
#include <cstdint>

#include "framework/runtime/AnsiString.h"

// Empty verb: the shell's default. Returns the shell's result: above 32 on success.
intptr_t ShellOpen(const AnsiString &verb, const AnsiString &file, const AnsiString &parameters);
