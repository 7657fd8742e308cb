#pragma once
// Flat shapes drawn as closed 2D outlines, counter-clockwise, in the xy
// plane: rounded rectangles, circles, stars, hearts and any polygon whose
// corners are rounded. An outline is filled flat, or extruded along z with
// its front and back rims rounded off.

#include "tools/databuilder/mesh/DBMesh.h"

#include <cstdint>
#include <vector>

using DBOutline = std::vector<DBVec2>;

DBOutline DBRoundedRectOutline(float width, float height, float radius, int32_t cornerSteps);
DBOutline DBCircleOutline(float radius, int32_t segments);
// Points counts the star's tips; the first tip points up.
DBOutline DBStarOutline(int32_t points, float outerRadius, float innerRadius);
// About 2 x 2, the rounded point at the bottom; segments along the lobes.
DBOutline DBHeartOutline(int32_t segments);
// Replaces each corner by an arc of the radius (kept under half of each
// neighbouring edge) in the given steps.
DBOutline DBRoundCorners(const DBOutline& outline, float radius, int32_t steps);
// The outline's signed area, positive when counter-clockwise.
float DBOutlineArea(const DBOutline& outline);
// The outline moved inward (outward when negative) by the distance.
DBOutline DBInsetOutline(const DBOutline& outline, float distance);

// Triangles covering a simple polygon, as indices into its points.
std::vector<uint32_t> DBTriangulate(const DBOutline& outline);
// The outline filled at height z, facing +z (or -z when facing back).
DBMesh DBFillOutline(const DBOutline& outline, float z, bool facingBack = false);
// A slab from z 0 to depth whose front and back rims are rounded by the
// bevel in the given steps.
DBMesh DBExtrudeOutline(const DBOutline& outline, float depth, float bevel, int32_t bevelSteps);
