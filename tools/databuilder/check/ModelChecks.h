#pragma once
// The content check's rules for every model of the model file: materials
// with one or two layers, unit normals on lit materials, texture
// coordinates under textured layers, fronts wound the way their normals
// point, blocks within the engine's limits, textures that exist and
// triangle budgets kept.

#include "foundation/uu/UURefCount.h"
#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "mm3d/MM3DModel.h"
#include "tools/databuilder/Manifest.h"
#include "tools/databuilder/check/ContentCheck.h"

#include <filesystem>
#include <string>

namespace content_check {

// The rules on one model; name says which in each finding.
Findings CheckModelRules(MM3DModel& model, const std::string& name, int32_t budget,
                         int32_t textureCount);
// Whether the triangle from that index on turns its front the way its
// corners' normals point; triangles of no area say nothing.
bool WoundWithNormals(const MM3DIndexedMeshVertexData& block, int32_t first);
// The triangle budget of a model by what its symbol names.
int32_t ModelBudget(const std::string& symbol);
// Every model of vpl3d.MMM in the folder.
Findings CheckModels(const std::filesystem::path& folder, const databuilder::Manifest& manifest);

}  // namespace content_check
