#pragma once

#include <cstdint>

// The two triangles of a quad whose corners are given top-left, top-right,
// bottom-right, bottom-left.
inline constexpr uint16_t MMQuadIndices[6] = {0, 1, 2, 2, 3, 0};
