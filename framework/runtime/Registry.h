#pragma once
// Reading the current user's registry (read only: the system never writes it).
#include "framework/runtime/AnsiString.h"

enum TRegistryRead {
    rrOk,         // the value was read
    rrNoKey,      // the key cannot be opened for reading
    rrNoValue,    // the key has no such value
    rrWrongType,  // the value is not a plain string (REG_SZ)
};

// A REG_SZ value of a key under HKEY_CURRENT_USER, as CP1251 text without its terminator.
TRegistryRead ReadUserRegistryString(const AnsiString &keyPath, const AnsiString &valueName, AnsiString &value);
