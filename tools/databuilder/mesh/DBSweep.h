#pragma once
// A round tube swept along a curve given by its points: each cross-section
// turns with the curve by the smallest rotation from the one before, so the
// tube does not twist. Open tubes are closed by round caps.

#include "tools/databuilder/mesh/DBMesh.h"

#include <cstdint>
#include <vector>

DBMesh DBSweep(const std::vector<DBVec3>& curve, float radius, int32_t sides, bool closed);
