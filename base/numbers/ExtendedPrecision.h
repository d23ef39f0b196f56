#pragma once
// The number conversions compute in the x87 extended type (64-bit significand) in both builds.
// Windows starts every thread but the main one with the x87 unit set to 53-bit precision, which
// would make `long double` arithmetic round like `double` there; the guard below sets 64-bit
// precision and rounding to nearest for its lifetime and gives the caller's control word back after.
#include <cstdint>
#include <limits>

static_assert(std::numeric_limits<long double>::digits == 64,
              "the number conversions need the x87 extended type as long double");

class TExtendedPrecision {
public:
    TExtendedPrecision();
    ~TExtendedPrecision();
    TExtendedPrecision(const TExtendedPrecision &) = delete;
    TExtendedPrecision &operator=(const TExtendedPrecision &) = delete;

private:
    std::uint16_t saved_;
};

// The x87 control word of the calling thread, and setting it (for tests that start a thread the way
// Windows does).
std::uint16_t X87ControlWord();
void SetX87ControlWord(std::uint16_t word);
