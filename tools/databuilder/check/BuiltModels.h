#pragma once
// The walk the content check's model rules share: every model the build
// put in vpl3d.MMM, by the symbol the manifest gives it.

#include "mm3d/MM3DModel.h"
#include "tools/databuilder/Manifest.h"
#include "tools/databuilder/check/ContentCheck.h"

#include <filesystem>
#include <functional>
#include <string>

namespace content_check {

using BuiltModelCheck = std::function<Findings(MM3DModel& model, const std::string& symbol)>;

// The findings of the check on each model of vpl3d.MMM in the folder that
// has a display tree (a model still empty has nothing to check yet).
Findings CheckEachBuiltModel(const std::filesystem::path& folder,
                             const databuilder::Manifest& manifest, const BuiltModelCheck& check);

}  // namespace content_check
