#include "base/numbers/ExtendedPrecision.h"

namespace {

// Precision control (bits 8-9) 11 = 64-bit significand; rounding control (bits 10-11) 00 = nearest.
constexpr std::uint16_t PrecisionMask = 0x0F00;
constexpr std::uint16_t ExtendedNearest = 0x0300;

}  // namespace

std::uint16_t X87ControlWord()
{
    std::uint16_t word;
    asm volatile("fnstcw %0" : "=m"(word) : : "memory");
    return word;
}

void SetX87ControlWord(std::uint16_t word) { asm volatile("fldcw %0" : : "m"(word) : "memory"); }

TExtendedPrecision::TExtendedPrecision() : saved_(X87ControlWord())
{
    std::uint16_t wanted = static_cast<std::uint16_t>((saved_ & ~PrecisionMask) | ExtendedNearest);
    if (wanted != saved_)
        SetX87ControlWord(wanted);
}

TExtendedPrecision::~TExtendedPrecision()
{
    if (X87ControlWord() != saved_)
        SetX87ControlWord(saved_);
}
