#pragma once
// The records the helper program wfilewriter appends to a simple file, for the tests that check what
// it left there.
#include <cstdint>
#include <string>

// Record i: its number and 1 to 3000 bytes more, so that records of many lengths reach the file.
inline std::string WFileWriterRecord(uint32_t i)
{
    std::string text = "rec-" + std::to_string(i) + ":";
    text.append(1 + (i * 733u) % 3000u, static_cast<char>('a' + i % 26));
    return text;
}
