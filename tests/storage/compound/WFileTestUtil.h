#pragma once
// Small helpers of the compound-file tests.
#include <string>
#include <vector>

#include "storage/compound/dwfile.h"
#include "tests/support/CompoundFileBuilder.h"

namespace wfiletest {

using testdata::Bytes;

// The data records of logical file n, in chain order.
inline std::vector<Bytes> ReadAll(WFile &f, uint32_t n)
{
    std::vector<Bytes> out;
    WRec rec;
    f.OpenLogicalFile(n);
    while (f.ReadRecord(rec))
        out.emplace_back(rec.Data(), rec.Data() + rec.Length());
    return out;
}

inline std::vector<Bytes> ReadAll(const AnsiString &name, uint32_t n)
{
    WFile f(name, true);
    return ReadAll(f, n);
}

inline Bytes Filled(std::size_t n, uint8_t seed)
{
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = static_cast<uint8_t>(seed + i * 7);
    return b;
}

inline void Fill(WRec &rec, const std::string &text, uint8_t flags = 0)
{
    rec.Assign(text.data(), static_cast<uint32_t>(text.size()));
    rec.SetFlags(flags);
}

}  // namespace wfiletest
