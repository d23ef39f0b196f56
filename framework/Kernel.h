#pragma once
// Kernel objects and system queries behind small functions and RAII classes, so that code above
// the framework never includes the system headers.
#include <cstdint>

#include "framework/AnsiString.h"

// The system's text for an error code (no trailing line break); "" for an unknown code.
AnsiString SysErrorMessage(unsigned long errorCode);
// Full path of the running program's executable.
AnsiString GetModuleFileName();
