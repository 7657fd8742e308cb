#include "tools/databuilder/ClipSchemes.h"

#include "tools/databuilder/BuildError.h"
#include "tools/databuilder/TomlSources.h"

#include <charconv>

namespace databuilder {

namespace {

// Tags and frames are 16-bit numbers of the definitions' rows.
constexpr int16_t kFieldWidth = 2;

int64_t TagNumber(std::string_view text, const std::string& where) {
  int64_t number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size()) {
    throw BuildError(where + ": \"" + std::string(text) + "\" is not a tag number");
  }
  return number;
}

}  // namespace

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
      const std::string where = file.string() + ": " + std::string(name) + " tags";
      const int64_t number = TagNumber(tag.str(), where);
      const int64_t value = frame.value_or(int64_t{0});
      RequireFits(number, kFieldWidth, where);
      RequireFits(value, kFieldWidth, where + " " + std::string(tag.str()));
      out[static_cast<int16_t>(number)] = static_cast<int16_t>(value);
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
