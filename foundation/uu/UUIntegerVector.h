#pragma once
// Integer vector lengths without floating point.

#include <cstdint>

// An approximation of sqrt(a * a + b * b): three Newton steps from the
// larger plus half the smaller.
int32_t UUIntegerHypot(int32_t a, int32_t b);
// Rescales (x, y) to the given length; the zero vector stays (0, 0).
void UUScaleVector(int32_t& x, int32_t& y, int32_t length);
