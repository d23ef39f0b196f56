#pragma once
// Points, sizes and rectangles (the framework's TPoint, TSize and TRect) as values: differences,
// widths and heights, the direction from one point to another, and scaling by floating-point
// factors.
#include <cstdint>
#include <span>

#include "framework/graphics/Graphics.h"
#include "framework/runtime/Types.h"

// Three numbers whose third defaults to 10.
struct TTriple {
    std::int32_t A = 0;
    std::int32_t B = 0;
    std::int32_t C = 10;
    friend bool operator==(const TTriple &, const TTriple &) = default;
};

// A copy of the value pointed at, or the zero value when there is none.
template <class T>
T ValueOrZero(const T *value)
{
    return value != nullptr ? *value : T{};
}

inline std::int32_t DiffX(const TPoint &from, const TPoint &to) { return to.X - from.X; }
inline std::int32_t DiffY(const TPoint &from, const TPoint &to) { return to.Y - from.Y; }

// A positive amount places the right (bottom) edge that far from the left (top) one; zero or a
// negative amount places the left (top) edge that far back from the right (bottom) one. Edges that
// would leave the 32-bit range stop at its limit.
void SetWidth(TRect &rect, std::int32_t amount);
void SetHeight(TRect &rect, std::int32_t amount);

// The direction from one point to another: horizontally 0 none, 1 towards smaller x, 3 towards
// larger x; vertically 0 none, 2 towards smaller y, 4 towards larger y.
struct TDirection {
    std::uint8_t Horizontal = 0;
    std::uint8_t Vertical = 0;
    friend bool operator==(const TDirection &, const TDirection &) = default;
};
TDirection DirectionOf(const TPoint &from, const TPoint &to);

// Scaling rounds v × f (or v / f) half up, negative values as positive ones: floor(x + 0.5).
// Dividing by 0 leaves a value as it is, multiplying by 0 gives 0, and a result beyond the 32-bit
// range gives the range's limit.
std::int32_t ScaleMul(std::int32_t value, double factor);
std::int32_t ScaleDiv(std::int32_t value, double factor);
// Pairs and rectangles take x values by the first factor and y values by the second.
TPoint ScaleMul(const TPoint &point, double fx, double fy);
TPoint ScaleDiv(const TPoint &point, double fx, double fy);
TSize ScaleMul(const TSize &size, double fx, double fy);
TSize ScaleDiv(const TSize &size, double fx, double fy);
TRect ScaleMul(const TRect &rect, double fx, double fy);
TRect ScaleDiv(const TRect &rect, double fx, double fy);
void ScaleMul(std::span<TPoint> points, double fx, double fy);
void ScaleDiv(std::span<TPoint> points, double fx, double fy);
