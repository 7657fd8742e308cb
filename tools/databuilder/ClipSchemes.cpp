#include "tools/databuilder/ClipSchemes.h"

#include "tools/databuilder/BuildError.h"
#include "tools/databuilder/TomlSources.h"

namespace databuilder {

ClipSchemes ClipSchemes::Read(const std::filesystem::path& file) {
  ClipSchemes schemes;
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return schemes;
  const toml::table root = ReadSourceFile(file);
  for (const auto& [name, scheme] : root) {
    const toml::table* tags = scheme.as_table() ? (*scheme.as_table())["tags"].as_table() : nullptr;
    if (tags == nullptr)
      throw BuildError(file.string() + ": " + std::string(name) + " has no tags");
    auto& out = schemes.mSchemes[std::string(name.str())];
    for (const auto& [tag, frame] : *tags) {
      out[static_cast<int16_t>(std::stoi(std::string(tag.str())))] =
          static_cast<int16_t>(frame.value_or(0));
    }
  }
  return schemes;
}

const std::map<int16_t, int16_t>& ClipSchemes::GetTags(const std::string& scheme) const {
  const auto found = mSchemes.find(scheme);
  if (found == mSchemes.end()) throw BuildError("no clip scheme \"" + scheme + "\"");
  return found->second;
}

}  // namespace databuilder
