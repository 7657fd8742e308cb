#pragma once
// The content check's rules on the geometry the program itself reads from
// models: slider tracks' ends, the grey strip's and the wheel's colours,
// tube profiles' outlines and widths, the freehand template's arrays,
// motion paths' loops, primitives' size and edges, and the cameras.

#include "mm3d/MM3DModel.h"
#include "tools/databuilder/Manifest.h"
#include "tools/databuilder/check/ContentCheck.h"

#include <filesystem>
#include <string>

namespace content_check {

// The rules that apply to the model of that symbol (none for most).
Findings CheckProgramGeometry(MM3DModel& model, const std::string& symbol);
// Every model of vpl3d.MMM in the folder.
Findings CheckGeometry(const std::filesystem::path& folder, const databuilder::Manifest& manifest);

}  // namespace content_check
