#include "tools/databuilder/Manifest.h"

#include "tools/databuilder/BuildError.h"
#include "tools/databuilder/TomlSources.h"

#include <algorithm>

namespace databuilder {

const char* ItemKindName(ItemKind kind) {
  static const char* const kNames[] = {"scripts", "pictures", "sounds",
                                       "films",   "textures", "models"};
  return kNames[static_cast<size_t>(kind)];
}

namespace {

ManifestItem ReadItem(const std::string& name, const toml::node& value, const std::string& where) {
  ManifestItem item;
  item.mName = name;
  if (const auto* id = value.as_integer()) {
    item.mId = static_cast<int32_t>(id->get());
    return item;
  }
  const auto* table = value.as_table();
  const auto id = table == nullptr ? std::nullopt : (*table)["id"].value<int64_t>();
  if (!id) throw BuildError(where + ": \"" + name + "\" needs an id");
  item.mId = static_cast<int32_t>(*id);
  item.mFixed = (*table)["fixed"].value_or(false);
  item.mAttributes = *table;
  return item;
}

}  // namespace

Manifest Manifest::Read(const std::filesystem::path& file) {
  const toml::table root = ReadSourceFile(file);
  Manifest manifest;
  for (ItemKind kind : kItemKinds) manifest.ReadSection(kind, root, file.string());
  return manifest;
}

void Manifest::ReadSection(ItemKind kind, const toml::table& root, const std::string& source) {
  Section& section = mSections[static_cast<size_t>(kind)];
  const std::string where = source + " [" + ItemKindName(kind) + "]";
  section.mCount = static_cast<int32_t>(root["counts"][ItemKindName(kind)].value_or(0));
  const toml::table* items = root[ItemKindName(kind)].as_table();
  if (items == nullptr) return;
  for (const auto& [key, value] : *items) {
    ManifestItem item = ReadItem(std::string(key.str()), value, where);
    if (item.mName.size() > kMaxNameLength) {
      throw BuildError(where + ": \"" + item.mName + "\" is longer than 31 characters");
    }
    if (item.mId < 0 || item.mId >= section.mCount) {
      throw BuildError(where + ": \"" + item.mName + "\" has id " + std::to_string(item.mId) +
                       ", outside 0.." + std::to_string(section.mCount - 1));
    }
    if (section.mById.count(item.mId) != 0) {
      throw BuildError(where + ": id " + std::to_string(item.mId) + " is given twice");
    }
    section.mById[item.mId] = 0;
    section.mItems.push_back(std::move(item));
  }
  std::sort(section.mItems.begin(), section.mItems.end(),
            [](const ManifestItem& a, const ManifestItem& b) { return a.mId < b.mId; });
  for (size_t i = 0; i < section.mItems.size(); ++i) {
    section.mById[section.mItems[i].mId] = i;
    section.mByName[section.mItems[i].mName] = i;
  }
}

int32_t Manifest::GetCount(ItemKind kind) const { return Get(kind).mCount; }

bool Manifest::Has(ItemKind kind, const std::string& name) const {
  return Get(kind).mByName.count(name) != 0;
}

int32_t Manifest::Resolve(ItemKind kind, const std::string& name) const {
  const Section& section = Get(kind);
  const auto found = section.mByName.find(name);
  if (found == section.mByName.end()) {
    throw BuildError(std::string("the manifest has no ") + ItemKindName(kind) + " item \"" + name +
                     "\"");
  }
  return section.mItems[found->second].mId;
}

const ManifestItem* Manifest::Find(ItemKind kind, int32_t id) const {
  const Section& section = Get(kind);
  const auto found = section.mById.find(id);
  return found == section.mById.end() ? nullptr : &section.mItems[found->second];
}

std::string Manifest::GetSubfileName(ItemKind kind, int32_t id) const {
  const ManifestItem* item = Find(kind, id);
  if (item != nullptr) return item->mName;
  std::string kindName = ItemKindName(kind);
  kindName.pop_back();
  return kindName + "." + std::to_string(id);
}

const std::vector<ManifestItem>& Manifest::GetItems(ItemKind kind) const {
  return Get(kind).mItems;
}

}  // namespace databuilder
