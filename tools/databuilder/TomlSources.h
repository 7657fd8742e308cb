#pragma once
// Reading the builder's TOML sources: whole files and folders in a fixed
// order, and the small value shapes every source uses.

#include <toml++/toml.h>

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace databuilder {

struct SourceFile {
  std::string mPath;
  toml::table mTable;
};

// A source's table that remembers which keys its reader asked for, so that
// a key no reader takes (a misspelling) is an error, not silently ignored.
// Its look-ups are toml::table's, so readers read it as they would one.
class SourceTable {
 public:
  SourceTable(toml::table table) : mTable(std::move(table)) {}  // NOLINT: a table reads as one

  bool contains(std::string_view key) const;
  const toml::node* get(std::string_view key) const;
  toml::node_view<const toml::node> operator[](std::string_view key) const;

  // Throws BuildError naming the first key no reader asked for, after
  // where (the file and the table).
  void RequireEveryKeyRead(const std::string& where) const;

 private:
  toml::table mTable;
  mutable std::set<std::string, std::less<>> mRead;
};

// Throws BuildError with the file and the parser's message.
toml::table ReadSourceFile(const std::filesystem::path& path);
// Every .toml file below the folder, sorted by path; none when it is
// missing.
std::vector<SourceFile> ReadSourceFolder(const std::filesystem::path& folder);
// Throws BuildError naming the value after where unless a field of width
// bytes holds it, read signed or unsigned: a writer would keep only the
// low bytes of a bigger one.
void RequireFits(int64_t value, int16_t width, const std::string& where);
// An array of exactly count numbers (integers or floats).
std::vector<double> ReadNumbers(const toml::node_view<const toml::node>& node, size_t count,
                                const std::string& where);

}  // namespace databuilder
