#pragma once
// Flat shapes drawn as closed 2D outlines, counter-clockwise, in the xy
// plane: rounded rectangles, circles, stars, hearts and any polygon whose
// corners are rounded. An outline is filled flat, or extruded along z with
// its front and back rims rounded off.

#include "tools/databuilder/mesh/Mesh.h"

#include <cstdint>
#include <vector>

namespace databuilder {

using Outline = std::vector<Vec2>;

Outline RoundedRectOutline(float width, float height, float radius, int32_t cornerSteps);
Outline CircleOutline(float radius, int32_t segments);
// Points counts the star's tips; the first tip points up.
Outline StarOutline(int32_t points, float outerRadius, float innerRadius);
// About 2 x 2, the rounded point at the bottom; segments along the lobes.
Outline HeartOutline(int32_t segments);
// Replaces each corner by an arc of the radius (kept under half of each
// neighbouring edge) in the given steps.
Outline RoundCorners(const Outline& outline, float radius, int32_t steps);
// The outline with points added so that no edge is longer than maxStep.
Outline ResampleOutline(const Outline& outline, float maxStep);
// The outline's signed area, positive when counter-clockwise.
float OutlineArea(const Outline& outline);
// The outline moved inward (outward when negative) by the distance.
Outline InsetOutline(const Outline& outline, float distance);

// Triangles covering a simple polygon, as indices into its points.
std::vector<uint32_t> Triangulate(const Outline& outline);
// The outline filled at height z, facing +z (or -z when facing back).
Mesh FillOutline(const Outline& outline, float z, bool facingBack = false);
// The outline filled by rings shrinking toward the middle of its bounds,
// for outlines every point of which that middle sees: the triangles stay small and
// even, where ear clipping leaves long slivers.
Mesh FillOutlineRings(const Outline& outline, float z, int32_t rings, bool facingBack = false);
// A slab from z 0 to depth whose front and back rims are rounded by the
// bevel in the given steps; the faces are filled by rings when capRings is
// not 0, and the side between the rims is split into wallSteps bands.
Mesh ExtrudeOutline(const Outline& outline, float depth, float bevel, int32_t bevelSteps,
                    int32_t capRings = 0, int32_t wallSteps = 1);

}  // namespace databuilder
