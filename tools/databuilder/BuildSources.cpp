#include "tools/databuilder/BuildSources.h"

namespace databuilder {

BuildSources ReadBuildSources(const std::filesystem::path& dataDirectory) {
  return BuildSources{dataDirectory, Manifest::Read(dataDirectory / "manifest.toml")};
}

}  // namespace databuilder
