#pragma once
// What every stage of the builder reads: the data folder and its manifest.

#include "tools/databuilder/Manifest.h"

#include <filesystem>

namespace databuilder {

struct BuildSources {
  std::filesystem::path mDataDirectory;
  Manifest mManifest;
};

// Reads the manifest of the data folder.
BuildSources ReadBuildSources(const std::filesystem::path& dataDirectory);

}  // namespace databuilder
