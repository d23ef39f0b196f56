#pragma once
// Helpers shared by the compound-file sources.
#include <cstdint>
#include <cstdio>

#include "base/memory/Bytes.h"
#include "framework/runtime/AnsiString.h"
#include "storage/compound/dwfile_layout.h"

namespace dwfile_detail {

using namespace CompoundFile;

// The refusal of a writer of the compound file `name` while another writer, in this program or
// another, holds its temporary file name + "$$".
[[noreturn]] void RaiseWriterBusy(const AnsiString &name);

inline AnsiString Hex8(uint32_t v)
{
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08X", static_cast<unsigned>(v));
    return hex;
}

}  // namespace dwfile_detail
