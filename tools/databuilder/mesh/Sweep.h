#pragma once
// A round tube swept along a curve given by its points: each cross-section
// turns with the curve by the smallest rotation from the one before, so the
// tube does not twist. Open tubes are closed by round caps.

#include "tools/databuilder/mesh/Mesh.h"

#include <cstdint>
#include <vector>

namespace databuilder {

Mesh Sweep(const std::vector<Vec3>& curve, float radius, int32_t sides, bool closed);

}  // namespace databuilder
