// Rounding as the whole program does it: to the nearest whole number, a value
// exactly halfway between two going to the even one. Pictures compute halves and
// quarters of sizes, and this keeps them from all drifting the same way.
#pragma once

#include <cstdint>

// 2.5 -> 2, 3.5 -> 4, -2.5 -> -2. Values beyond the 32-bit range give the nearest
// end of the range; a NaN gives 0.
std::int32_t RoundHalfEven(double value);

// A coordinate of a picture as a whole pixel, kept within +-2^30.
int PixelOf(double value);
