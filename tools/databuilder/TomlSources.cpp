#include "tools/databuilder/TomlSources.h"

#include "tools/databuilder/BuildError.h"

#include <algorithm>

namespace databuilder {

bool SourceTable::contains(std::string_view key) const { return get(key) != nullptr; }

const toml::node* SourceTable::get(std::string_view key) const {
  mRead.emplace(key);
  return mTable.get(key);
}

toml::node_view<const toml::node> SourceTable::operator[](std::string_view key) const {
  return toml::node_view<const toml::node>(get(key));
}

void SourceTable::RequireEveryKeyRead(const std::string& where) const {
  for (const auto& [key, value] : mTable) {
    if (!mRead.contains(key.str())) {
      throw BuildError(where + ": key \"" + std::string(key.str()) + "\" is not known");
    }
  }
}

toml::table ReadSourceFile(const std::filesystem::path& path) {
  try {
    return toml::parse_file(path.string());
  } catch (const toml::parse_error& error) {
    throw BuildError(path.string() + ":" + std::to_string(error.source().begin.line) + ": " +
                     std::string(error.description()));
  }
}

std::vector<SourceFile> ReadSourceFolder(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> paths;
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) return {};
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file() && entry.path().extension() == ".toml") {
      paths.push_back(entry.path());
    }
  }
  std::sort(paths.begin(), paths.end());
  std::vector<SourceFile> files;
  for (const auto& path : paths) files.push_back({path.string(), ReadSourceFile(path)});
  return files;
}

void RequireFits(int64_t value, int16_t width, const std::string& where) {
  const int64_t bits = int64_t{8} * width;
  if (value < -(int64_t{1} << (bits - 1)) || value >= int64_t{1} << bits) {
    throw BuildError(where + ": " + std::to_string(value) + " does not fit a field of " +
                     std::to_string(width) + " bytes");
  }
}

std::vector<double> ReadNumbers(const toml::node_view<const toml::node>& node, size_t count,
                                const std::string& where) {
  const toml::array* array = node.as_array();
  if (array == nullptr || array->size() != count) {
    throw BuildError(where + ": needs " + std::to_string(count) + " numbers");
  }
  std::vector<double> numbers;
  for (const toml::node& element : *array) {
    const auto value = element.value<double>();
    if (!value) throw BuildError(where + ": needs numbers");
    numbers.push_back(*value);
  }
  return numbers;
}

}  // namespace databuilder
