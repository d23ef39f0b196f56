#pragma once
// TSLang: one two-language text held as its bytes, with the length of the part last located.
#include <cstdint>

#include "base/memory/ADObj.h"
#include "framework/runtime/AnsiString.h"

class TSLang : public TADObj {
public:
    TSLang();

    void Set(const AnsiString &text);
    void Set(const char *text);  // NUL-terminated; null is empty
    // Sets the byte count (room for new bytes is zeroed) and forgets the located part.
    void SetCount(std::uint32_t n);
    const char *Data() const { return reinterpret_cast<const char *>(TADObj::Data()); }

    // All held bytes; "" when empty.
    AnsiString GetWhole() const;
    // The start of one language's part (0 Ukrainian, 1 Russian, other the whole text); its length
    // is kept as LocatedLength(). The Ukrainian part ends where a Russian section begins.
    const char *LocatePart(std::uint8_t language);
    std::uint32_t LocatedLength() const { return locatedLength_; }
    AnsiString GetText(std::uint8_t language);

private:
    std::uint32_t locatedLength_ = 0;
};
