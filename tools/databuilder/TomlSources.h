#pragma once
// Reading the builder's TOML sources: whole files and folders in a fixed
// order, and the small value shapes every source uses.

#include <toml++/toml.h>

#include <filesystem>
#include <string>
#include <vector>

namespace databuilder {

struct SourceFile {
  std::string mPath;
  toml::table mTable;
};

// Throws BuildError with the file and the parser's message.
toml::table ReadSourceFile(const std::filesystem::path& path);
// Every .toml file below the folder, sorted by path; none when it is
// missing.
std::vector<SourceFile> ReadSourceFolder(const std::filesystem::path& folder);
// An array of exactly count numbers (integers or floats).
std::vector<double> ReadNumbers(const toml::node_view<const toml::node>& node, size_t count,
                                const std::string& where);

}  // namespace databuilder
