#pragma once
// The model stage: one model per id of the model file. This is where the
// modelling library plugs in: BuildModels answers a model for every id
// 0..count-1, and an id no recipe makes holds the empty model (a root node
// alone), so every id the program may load exists.

#include "foundation/uu/UURefCount.h"
#include "mm3d/MM3DModel.h"
#include "tools/databuilder/BuildSources.h"

#include <vector>

namespace databuilder {

// The model of id i at index i.
std::vector<UURefCount<MM3DModel>> BuildModels(const BuildSources& sources);

// A root node and nothing else.
UURefCount<MM3DModel> MakeEmptyModel();

}  // namespace databuilder
