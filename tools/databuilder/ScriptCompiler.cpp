#include "tools/databuilder/ScriptCompiler.h"

#include "tools/databuilder/BuildError.h"
#include "tools/databuilder/ScriptRowLayouts.h"

#include <cmath>

namespace databuilder {

namespace {

// Definition tags (the interface's button definitions).
enum : int32_t {
  kTagModel = 0,
  kTagTool = 1,
  kTagPosition = 2,
  kTagScale = 3,
  kTagRotation = 4,
  kTagMessageKind = 5,
  kTagOtherLook = 8,
  kTagClick = 19,
  kTagPress = 20,
  kTagHoverOn = 21,
  kTagHoverOff = 22,
  kTagDoubleClick = 23,
  kTagDrag = 24,
  kTagReleaseOutside = 25,
  kTagFramesPerSecond = 26,
};

// Layout tags.
enum : int32_t {
  kTagHighlight = 1,
  kTagColumns = 2,
  kTagRows = 3,
  kTagColumnStep = 4,
  kTagBack = 5,
  kTagForward = 6,
  kTagPanel = 8,
  kTagChild = 9,
};

struct SoundKey {
  const char* mKey;
  int32_t mTag;
  const char* mDefault;  // null: none unless given
};

// Unless a definition says otherwise, it ticks when pressed and blips as
// the pointer comes and goes.
constexpr SoundKey kSoundKeys[] = {
    {"click", kTagClick, nullptr},
    {"press", kTagPress, "tick"},
    {"hover_on", kTagHoverOn, "blip.up"},
    {"hover_off", kTagHoverOff, "blip.down"},
    {"double_click", kTagDoubleClick, nullptr},
    {"drag", kTagDrag, nullptr},
    {"release_outside", kTagReleaseOutside, nullptr},
};

struct ItemKey {
  const char* mKey;
  ItemKind mKind;
};

constexpr ItemKey kItemKeys[] = {{"model", ItemKind::kModel},
                                 {"texture", ItemKind::kTexture},
                                 {"sound", ItemKind::kSound},
                                 {"picture", ItemKind::kPicture},
                                 {"film", ItemKind::kFilm}};

int32_t Reference(int32_t id) { return id + 1; }

// A tagged row's value, and each of its halves when a row gives two.
constexpr int16_t kValueWidth = 4;
constexpr int16_t kHalfWidth = 2;

int32_t Thousandths(double value) {
  return static_cast<int32_t>(std::lround(value * kVectorDivisor));
}

}  // namespace

ScriptCompiler::ScriptCompiler(const Manifest& manifest, const InterfaceLayout& layout,
                               const ClipSchemes& clips)
    : mManifest(manifest), mLayout(layout), mClips(clips) {
  const int32_t count = manifest.GetCount(ItemKind::kScript);
  mEntries.resize(static_cast<size_t>(count));
  mFilled.resize(static_cast<size_t>(count));
  for (int32_t id = 0; id < count; ++id) {
    mNames.push_back(manifest.GetSubfileName(ItemKind::kScript, id));
  }
}

void ScriptCompiler::AddSource(const SourceFile& file) {
  for (const char* shape : {"def", "group", "table"}) {
    const toml::array* tables = file.mTable[shape].as_array();
    if (tables == nullptr) continue;
    for (const toml::node& node : *tables) {
      if (!node.is_table()) throw BuildError(file.mPath + ": a " + shape + " is not a table");
      AddNamed(SourceTable(*node.as_table()), shape, file.mPath);
    }
  }
}

void ScriptCompiler::AddNamed(const SourceTable& source, const std::string& shape,
                              const std::string& where) {
  const auto name = source["name"].value<std::string>();
  if (!name) throw BuildError(where + ": a " + shape + " without a name");
  const std::string at = where + ": " + *name;
  const auto id = static_cast<size_t>(mManifest.Resolve(ItemKind::kScript, *name));
  if (mFilled[id]) throw BuildError(at + ": made twice");
  mFilled[id] = true;
  mEntries[id] = Compile(source, shape, at);
}

ScriptCompiler::Table ScriptCompiler::Compile(const SourceTable& source, const std::string& shape,
                                              const std::string& where) {
  Table table;
  if (shape == "def") {
    CompileDefinition(source, table, where);
  } else if (shape == "group") {
    CompileGroup(source, table, where);
  } else {
    const std::string layout = source["layout"].value_or(std::string("TAG"));
    table.mLayout = FindScriptRowLayout(layout);
    if (table.mLayout < 0) throw BuildError(where + ": no row layout \"" + layout + "\"");
  }
  CompileRows(source, table, where);
  source.RequireEveryKeyRead(where);
  return table;
}

void ScriptCompiler::CompileRows(const SourceTable& source, Table& table,
                                 const std::string& where) {
  const toml::array* rows = source["rows"].as_array();
  if (rows == nullptr) return;
  const ScriptRowLayout& layout = ScriptRowLayouts()[static_cast<size_t>(table.mLayout)];
  const size_t fields = layout.mFields.size();
  // A tagged row may give its value as two 16-bit halves.
  const size_t most = table.mLayout == kLayoutTag ? fields + 1 : fields;
  for (const toml::node& node : *rows) {
    const toml::array* row = node.as_array();
    if (row == nullptr || row->size() > most) {
      throw BuildError(where + ": a row needs at most " + std::to_string(most) + " fields");
    }
    Row values;
    for (const toml::node& field : *row) values.push_back(Value(field, table, where));
    if (values.size() == fields + 1) {
      RequireFits(values[1], kHalfWidth, where + " rows");
      RequireFits(values[2], kHalfWidth, where + " rows");
      values = {values[0], static_cast<int32_t>((static_cast<uint32_t>(values[1]) & 0xFFFF) |
                                                static_cast<uint32_t>(values[2]) << 16)};
    }
    values.resize(fields);
    for (size_t f = 0; f < fields; ++f) {
      RequireFits(values[f], layout.mFields[f].mWidth, where + " rows");
    }
    table.mRows.push_back(values);
  }
}

void ScriptCompiler::CompileDefinition(const SourceTable& source, Table& table,
                                       const std::string& where) {
  const auto add = [&](int32_t tag, const char* key, const std::string& kind) {
    if (const toml::node* node = source.get(key)) {
      table.mRows.push_back({tag, KeyValue(*node, kind, table, where + " " + key)});
    }
  };
  if (!source.contains("model")) throw BuildError(where + ": a definition needs its model");
  add(kTagModel, "model", "model");
  add(kTagTool, "tool", "number");
  add(kTagPosition, "place", "point");
  add(kTagScale, "scale", "point");
  add(kTagRotation, "rotation", "point");
  add(kTagMessageKind, "kind", "number");
  add(kTagOtherLook, "toggle", "def");
  if (const auto scheme = source["scheme"].value<std::string>()) {
    for (const auto& [tag, frame] : mClips.GetTags(*scheme)) table.mRows.push_back({tag, frame});
  }
  AddSounds(source, table, where);
  add(kTagFramesPerSecond, "fps", "number");
}

void ScriptCompiler::AddSounds(const SourceTable& source, Table& table, const std::string& where) {
  const bool defaults = source["sounds"].value_or(true);
  for (const SoundKey& key : kSoundKeys) {
    std::string sound;
    if (const auto given = source[key.mKey].value<std::string>()) {
      sound = *given;
    } else if (defaults && key.mDefault != nullptr) {
      sound = key.mDefault;
    } else {
      continue;
    }
    table.mRows.push_back({key.mTag, Symbol("list", sound, table, where + " " + key.mKey)});
  }
}

void ScriptCompiler::CompileGroup(const SourceTable& source, Table& table,
                                  const std::string& where) {
  const auto add = [&](int32_t tag, const char* key, const std::string& kind) {
    if (const toml::node* node = source.get(key)) {
      table.mRows.push_back({tag, KeyValue(*node, kind, table, where + " " + key)});
    }
  };
  add(kTagModel, "model", "model");
  add(kTagHighlight, "highlight", "model");
  if (source.contains("grid")) {
    const auto grid = ReadNumbers(source["grid"], 2, where + " grid");
    table.mRows.push_back({kTagColumns, static_cast<int32_t>(grid[0])});
    table.mRows.push_back({kTagRows, static_cast<int32_t>(grid[1])});
  }
  add(kTagColumnStep, "step", "number");
  add(kTagBack, "back", "def");
  add(kTagForward, "forward", "def");
  add(kTagPanel, "panel", "model");
  if (const toml::array* children = source["children"].as_array()) {
    for (const toml::node& child : *children) {
      table.mRows.push_back({kTagChild, KeyValue(child, "def", table, where + " child")});
    }
  }
}

int32_t ScriptCompiler::KeyValue(const toml::node& node, const std::string& kind, Table& owner,
                                 const std::string& where) {
  if (const auto name = node.value<std::string>()) return Symbol(kind, *name, owner, where);
  if (node.is_array()) return VectorReference(node, where);
  if (kind == "def" && node.is_table()) {
    return Reference(SubTable(Compile(*node.as_table(), "def", where), "def"));
  }
  return Value(node, owner, where);
}

int32_t ScriptCompiler::Symbol(const std::string& kind, const std::string& name, Table& owner,
                               const std::string& where) {
  for (const ItemKey& key : kItemKeys) {
    if (kind == key.mKey) return mManifest.Resolve(key.mKind, name);
  }
  if (kind == "script" || kind == "def") {
    return Reference(mManifest.Resolve(ItemKind::kScript, name));
  }
  if (kind == "list") return SoundList(mManifest.Resolve(ItemKind::kSound, name), name);
  if (kind == "point") {
    const auto centre = mLayout.Get(name).Centre();
    Table vector{kLayoutVec, {}, {}};
    vector.mRows.push_back({Thousandths(centre[0]), Thousandths(centre[1]), Thousandths(centre[2]),
                            kVectorDivisor, kVectorDivisor});
    return Reference(SubTable(vector, "vector"));
  }
  if (kind == "text") {
    const auto offset = static_cast<int32_t>(owner.mTexts.size());
    owner.mTexts += name;
    owner.mTexts.push_back('\0');
    return offset;
  }
  throw BuildError(where + ": \"" + name + "\" cannot stand for a " + kind);
}

int32_t ScriptCompiler::VectorReference(const toml::node& node, const std::string& where) {
  const toml::array* array = node.as_array();
  const size_t count = array != nullptr && array->size() == 3 ? 3 : 4;
  const auto values = ReadNumbers(toml::node_view<const toml::node>(&node), count, where);
  Table vector{kLayoutVec, {}, {}};
  vector.mRows.push_back({Thousandths(values[0]), Thousandths(values[1]), Thousandths(values[2]),
                          Thousandths(count == 4 ? values[3] : 1.0), kVectorDivisor});
  return Reference(SubTable(vector, "vector"));
}

int32_t ScriptCompiler::Value(const toml::node& node, Table& owner, const std::string& where) {
  if (const auto number = node.value<int64_t>()) {
    RequireFits(*number, kValueWidth, where);
    return static_cast<int32_t>(*number);
  }
  const toml::table* field = node.as_table();
  if (field == nullptr || field->size() != 1) {
    throw BuildError(where + ": a field is a number or a table of one key");
  }
  const auto entry = field->begin();
  const std::string kind(entry->first.str());
  const toml::node& value = entry->second;
  if (kind == "vector") return VectorReference(value, where);
  if (kind == "def" || kind == "group" || kind == "table") {
    if (!value.is_table()) throw BuildError(where + ": " + kind + " needs a table");
    return Reference(SubTable(Compile(*value.as_table(), kind, where), kind));
  }
  const auto name = value.value<std::string>();
  if (!name) throw BuildError(where + ": " + kind + " needs a name");
  return Symbol(kind, *name, owner, where);
}

int32_t ScriptCompiler::SubTable(Table table, const std::string& name) {
  std::string key = std::to_string(table.mLayout) + "|" + table.mTexts + "|";
  for (const Row& row : table.mRows) {
    for (int32_t field : row) key += std::to_string(field) + ",";
    key += ";";
  }
  const auto found = mSharedTables.find(key);
  if (found != mSharedTables.end()) return found->second;
  const auto id = static_cast<int32_t>(mEntries.size());
  mEntries.push_back(std::move(table));
  mNames.push_back(name + "." + std::to_string(id));
  mFilled.push_back(true);
  mSharedTables.emplace(std::move(key), id);
  return id;
}

int32_t ScriptCompiler::SoundList(int32_t sound, const std::string& name) {
  Table list{kLayoutU32, {{sound}}, {}};
  return Reference(SubTable(std::move(list), "list." + name));
}

BuiltScripts ScriptCompiler::Finish() const {
  BuiltScripts scripts;
  for (const ScriptRowLayout& layout : ScriptRowLayouts()) {
    scripts.mLayouts.push_back({layout.mName, layout.mRowSize});
  }
  for (size_t id = 0; id < mEntries.size(); ++id) {
    const Table& table = mEntries[id];
    const ScriptRowLayout& layout = ScriptRowLayouts()[static_cast<size_t>(table.mLayout)];
    BuiltScript built{
        mNames[id], table.mLayout, static_cast<int32_t>(table.mRows.size()), {}, table.mTexts};
    built.mRows.resize(table.mRows.size() * static_cast<size_t>(layout.mRowSize));
    for (size_t r = 0; r < table.mRows.size(); ++r) {
      uint8_t* row = built.mRows.data() + r * static_cast<size_t>(layout.mRowSize);
      for (size_t f = 0; f < layout.mFields.size(); ++f) {
        const auto value = static_cast<uint32_t>(table.mRows[r][f]);
        for (int16_t b = 0; b < layout.mFields[f].mWidth; ++b) {
          row[layout.mFields[f].mOffset + b] = static_cast<uint8_t>(value >> (8 * b));
        }
      }
    }
    scripts.mEntries.push_back(std::move(built));
  }
  return scripts;
}

}  // namespace databuilder
