#pragma once
// Whether a shape is a whole solid: every edge it has is met once each
// way round (no gap, no face turned against its neighbours), each of its
// separate pieces encloses its room with its fronts outward, and every
// front agrees with its corners' stored normals. The content check holds
// the primitives to it and the tube profiles to the facing that makes
// tubes whole; the tools' tests hold the tubes and freehand shapes the
// program builds to it.

#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "mm3d/MM3DModel.h"
#include "tools/databuilder/Manifest.h"
#include "tools/databuilder/check/ContentCheck.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace content_check {

struct SolidFaults {
  // Edges met more often one way round than the other.
  int32_t mOpenEdges = 0;
  // Separate pieces whose fronts face inward as a whole.
  int32_t mInwardPieces = 0;
  // Triangles whose front turns against their corners' normals.
  int32_t mAgainstNormals = 0;

  bool IsWhole() const { return mOpenEdges == 0 && mInwardPieces == 0 && mAgainstNormals == 0; }
};

// The triangles of the blocks from the given first triangle of each on,
// taken together (corners meet by position).
SolidFaults InspectSolid(const std::vector<const MM3DIndexedMeshVertexData*>& blocks,
                         int32_t firstTriangle = 0);

// The rules for the model of that symbol (none for most).
Findings CheckSolidRules(MM3DModel& model, const std::string& symbol);
// Every model of vpl3d.MMM in the folder.
Findings CheckSolids(const std::filesystem::path& folder, const databuilder::Manifest& manifest);

}  // namespace content_check
