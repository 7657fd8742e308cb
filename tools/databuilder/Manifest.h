#pragma once
// The manifest (data/manifest.toml): every symbolic name of every kind of
// item and its permanent id, and how many items each file holds. Sources
// name items by symbol only; the manifest is the one place ids are given.
//
//   [counts]   scripts = 700, pictures = 1, ...   (items per file)
//   [models]   "button.quit" = 26                  (or a table:
//              "pad.rotate" = { id = 11, fixed = true, ... })
// A table entry may carry further attributes a stage reads (a texture's
// size, a sound's length); fixed marks an id the program's code names.

#include <toml++/toml.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace databuilder {

enum class ItemKind { kScript, kPicture, kSound, kFilm, kTexture, kModel };
constexpr ItemKind kItemKinds[] = {ItemKind::kScript, ItemKind::kPicture, ItemKind::kSound,
                                   ItemKind::kFilm,   ItemKind::kTexture, ItemKind::kModel};

// The manifest's section name of a kind: "scripts", "models", ...
const char* ItemKindName(ItemKind kind);

struct ManifestItem {
  std::string mName;
  int32_t mId = 0;
  bool mFixed = false;
  // The entry's further attributes (empty for a plain id).
  toml::table mAttributes;
};

class Manifest {
 public:
  // The longest subfile name a file can hold.
  static constexpr size_t kMaxNameLength = 31;

  // Reads and checks the file: every id inside its file's count, no id or
  // name twice, names of at most 31 characters. Throws BuildError.
  static Manifest Read(const std::filesystem::path& file);

  int32_t GetCount(ItemKind kind) const;
  // The id of a symbol; throws BuildError naming the kind and the symbol
  // when the manifest does not hold it.
  int32_t Resolve(ItemKind kind, const std::string& name) const;
  bool Has(ItemKind kind, const std::string& name) const;
  // The item of an id, or null when no symbol names it.
  const ManifestItem* Find(ItemKind kind, int32_t id) const;
  // The subfile name of an id: its symbol, or "<kind>.<id>" when none.
  std::string GetSubfileName(ItemKind kind, int32_t id) const;
  // Every named item of the kind, in id order.
  const std::vector<ManifestItem>& GetItems(ItemKind kind) const;

 private:
  struct Section {
    int32_t mCount = 0;
    std::vector<ManifestItem> mItems;
    std::map<std::string, size_t> mByName;
    std::map<int32_t, size_t> mById;
  };
  void ReadSection(ItemKind kind, const toml::table& root, const std::string& source);
  const Section& Get(ItemKind kind) const { return mSections[static_cast<size_t>(kind)]; }

  Section mSections[std::size(kItemKinds)];
};

}  // namespace databuilder
