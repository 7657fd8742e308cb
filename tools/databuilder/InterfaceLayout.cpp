#include "tools/databuilder/InterfaceLayout.h"

#include "tools/databuilder/BuildError.h"
#include "tools/databuilder/TomlSources.h"

namespace databuilder {

namespace {

LayoutObject ReadObject(const SourceTable& entry, const std::string& where) {
  const auto at = ReadNumbers(entry["at"], 2, where + " at");
  const auto size = ReadNumbers(entry["size"], 2, where + " size");
  LayoutObject object;
  object.mScreen = entry["screen"].value_or(std::string());
  if (const auto state = entry["state"].value<std::string>()) object.mStates.push_back(*state);
  if (const toml::array* states = entry["state"].as_array()) {
    for (const toml::node& state : *states) object.mStates.push_back(state.value_or(std::string()));
  }
  object.mX = at[0];
  object.mY = at[1];
  object.mWidth = size[0];
  object.mHeight = size[1];
  object.mZ = entry["z"].value_or(-45.0);
  if (object.mScreen.empty()) throw BuildError(where + ": no screen");
  entry.RequireEveryKeyRead(where);
  return object;
}

}  // namespace

InterfaceLayout InterfaceLayout::Read(const std::filesystem::path& folder) {
  InterfaceLayout layout;
  for (const SourceFile& file : ReadSourceFolder(folder)) {
    const toml::table* objects = file.mTable["objects"].as_table();
    if (objects == nullptr) continue;
    for (const auto& [key, value] : *objects) {
      const std::string name(key.str());
      const std::string where = file.mPath + ": " + name;
      if (!value.is_table()) throw BuildError(where + ": not a table");
      if (!layout.mObjects.emplace(name, ReadObject(SourceTable(*value.as_table()), where))
               .second) {
        throw BuildError(where + ": laid out twice");
      }
    }
  }
  return layout;
}

const LayoutObject& InterfaceLayout::Get(const std::string& name) const {
  const auto found = mObjects.find(name);
  if (found == mObjects.end()) throw BuildError("the layout has no object \"" + name + "\"");
  return found->second;
}

}  // namespace databuilder
