#pragma once
// The system's 8-bit text: std::string holding code page 1251 bytes.
#include <string>

using AnsiString = std::string;
