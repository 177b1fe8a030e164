#include "base/rounding.h"

#include <algorithm>
#include <cmath>
#include <limits>

std::int32_t RoundHalfEven(double value)
{
    if (std::isnan(value)) return 0;
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    if (value >= static_cast<double>(kMax)) return kMax;
    if (value <= static_cast<double>(kMin)) return kMin;
    // Rounded by magnitude: a magnitude and its floor are within a factor of two of
    // each other (or the floor is 0), so the fraction below is exact. Halves to even
    // are symmetric about zero, so the sign goes back on afterwards.
    const double magnitude = std::fabs(value);
    double whole = std::floor(magnitude);
    const double fraction = magnitude - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
    return static_cast<std::int32_t>(value < 0 ? -whole : whole);
}

int PixelOf(double value)
{
    // Well inside the range in which the platforms' position arithmetic cannot overflow.
    constexpr double limit = 1 << 30;
    return RoundHalfEven(std::clamp(value, -limit, limit));  // a NaN passes through and gives 0
}
