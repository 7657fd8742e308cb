#pragma once
// The script stage: every table of the script file from data/scripts/,
// data/layout/ and data/clips.toml, resolved to ids through the manifest.

#include "tools/databuilder/BuildSources.h"
#include "tools/databuilder/BuiltScripts.h"

namespace databuilder {

BuiltScripts BuildScripts(const BuildSources& sources);

}  // namespace databuilder
