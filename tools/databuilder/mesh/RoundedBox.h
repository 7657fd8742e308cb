#pragma once
// A box with every edge and corner rounded: each face is a grid whose
// points are pulled onto a ball of the radius round the inner box, so the
// flat middles, the rounded edges and the corners meet without seams.

#include "tools/databuilder/mesh/Mesh.h"

#include <cstdint>

namespace databuilder {

// Centred on the origin; the radius is kept under half the smallest side.
// Each rounded edge gets arcSteps steps per face; the flat middle is split
// so that no step is longer than maxStep.
Mesh RoundedBox(Vec3 size, float radius, int32_t arcSteps, float maxStep);

}  // namespace databuilder
