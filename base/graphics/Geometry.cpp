#include "base/graphics/Geometry.h"

#include <cmath>
#include <limits>

namespace {

std::int32_t Clamp32(std::int64_t value)
{
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

// floor(x + 0.5) within the 32-bit range; a result that is not a number keeps `unchanged`.
std::int32_t Round(double x, std::int32_t unchanged)
{
    if (std::isnan(x))
        return unchanged;
    double r = std::floor(x + 0.5);
    if (r >= 2147483647.0)
        return std::numeric_limits<std::int32_t>::max();
    if (r <= -2147483648.0)
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(r);
}

std::uint8_t Sign(std::int32_t from, std::int32_t to, std::uint8_t less, std::uint8_t more)
{
    return to < from ? less : to > from ? more : 0;
}

}  // namespace

void SetWidth(TRect &rect, std::int32_t amount)
{
    if (amount > 0)
        rect.Right = Clamp32(std::int64_t{rect.Left} + amount);
    else
        rect.Left = Clamp32(std::int64_t{rect.Right} + amount);
}

void SetHeight(TRect &rect, std::int32_t amount)
{
    if (amount > 0)
        rect.Bottom = Clamp32(std::int64_t{rect.Top} + amount);
    else
        rect.Top = Clamp32(std::int64_t{rect.Bottom} + amount);
}

TDirection DirectionOf(const TPoint &from, const TPoint &to)
{
    return TDirection{Sign(from.X, to.X, 1, 3), Sign(from.Y, to.Y, 2, 4)};
}

std::int32_t ScaleMul(std::int32_t value, double factor) { return Round(static_cast<double>(value) * factor, value); }

std::int32_t ScaleDiv(std::int32_t value, double factor)
{
    return factor == 0 ? value : Round(static_cast<double>(value) / factor, value);
}

TPoint ScaleMul(const TPoint &point, double fx, double fy)
{
    return TPoint{ScaleMul(point.X, fx), ScaleMul(point.Y, fy)};
}

TPoint ScaleDiv(const TPoint &point, double fx, double fy)
{
    return TPoint{ScaleDiv(point.X, fx), ScaleDiv(point.Y, fy)};
}

TSize ScaleMul(const TSize &size, double fx, double fy) { return TSize{ScaleMul(size.cx, fx), ScaleMul(size.cy, fy)}; }

TSize ScaleDiv(const TSize &size, double fx, double fy) { return TSize{ScaleDiv(size.cx, fx), ScaleDiv(size.cy, fy)}; }

TRect ScaleMul(const TRect &rect, double fx, double fy)
{
    return TRect{ScaleMul(rect.Left, fx), ScaleMul(rect.Top, fy), ScaleMul(rect.Right, fx), ScaleMul(rect.Bottom, fy)};
}

TRect ScaleDiv(const TRect &rect, double fx, double fy)
{
    return TRect{ScaleDiv(rect.Left, fx), ScaleDiv(rect.Top, fy), ScaleDiv(rect.Right, fx), ScaleDiv(rect.Bottom, fy)};
}

void ScaleMul(std::span<TPoint> points, double fx, double fy)
{
    for (TPoint &p : points)
        p = ScaleMul(p, fx, fy);
}

void ScaleDiv(std::span<TPoint> points, double fx, double fy)
{
    for (TPoint &p : points)
        p = ScaleDiv(p, fx, fy);
}
