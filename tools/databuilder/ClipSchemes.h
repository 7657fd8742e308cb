#pragma once
// The clip schemes (data/clips.toml): for each scheme, the frame tags a
// button definition takes from its model's clip (definition tag -> frame).

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

namespace databuilder {

class ClipSchemes {
 public:
  // A missing file holds no scheme. Throws BuildError.
  static ClipSchemes Read(const std::filesystem::path& file);

  // The scheme's tags in tag order; throws BuildError for an unknown name.
  const std::map<int16_t, int16_t>& GetTags(const std::string& scheme) const;

 private:
  std::map<std::string, std::map<int16_t, int16_t>> mSchemes;
};

}  // namespace databuilder
