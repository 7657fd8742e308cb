#pragma once
// Compiles the script sources (data/scripts/*.toml) into the script file's
// tables. A source file holds arrays of three shapes, each naming its
// script by its manifest symbol:
//
//   [[table]]  name, layout ("TAG", "U32", ...), rows = [[field, ...], ...]
//   [[def]]    a button definition: model, tool, place/scale/rotation,
//              kind, toggle, scheme (frame tags from the clip schemes),
//              click/press/hover_on/hover_off/... sounds, fps, rows
//   [[group]]  a layout: model, highlight, grid = [columns, rows], step,
//              back, forward, panel, children = [definition, ...], rows
//
// A field is a number or a one-key table naming what it stands for:
// { model | texture | sound | picture = "symbol" } an id; { script = "s" }
// a reference (entry + 1); { list = "sound" } a reference to the sound's
// shared one-row list; { vector = [x, y, z(, w)] } or { point = "layout
// object" } a reference to a shared vector table; { text = "..." } an
// offset into the table's texts; { def | group | table = {...} } a
// reference to a sub-table. Sub-tables, lists and vectors take ids from
// the end of the manifest's scripts up, in the order they are met; equal
// sub-tables share one id.

#include "tools/databuilder/BuiltScripts.h"
#include "tools/databuilder/ClipSchemes.h"
#include "tools/databuilder/InterfaceLayout.h"
#include "tools/databuilder/Manifest.h"
#include "tools/databuilder/TomlSources.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace databuilder {

class ScriptCompiler {
 public:
  ScriptCompiler(const Manifest& manifest, const InterfaceLayout& layout, const ClipSchemes& clips);

  // Compiles every table of the file. Throws BuildError naming the file
  // and the table.
  void AddSource(const SourceFile& file);
  // Entry i is script i; the manifest's entries no source fills have no
  // rows.
  BuiltScripts Finish() const;

 private:
  using Row = std::vector<int32_t>;
  struct Table {
    int16_t mLayout = 0;
    std::vector<Row> mRows;
    std::string mTexts;
  };

  void AddNamed(const SourceTable& source, const std::string& shape, const std::string& where);
  // Throws BuildError naming a key the shape does not read.
  Table Compile(const SourceTable& source, const std::string& shape, const std::string& where);
  // Throws BuildError naming a value too big for its field.
  void CompileRows(const SourceTable& source, Table& table, const std::string& where);
  void CompileDefinition(const SourceTable& source, Table& table, const std::string& where);
  void CompileGroup(const SourceTable& source, Table& table, const std::string& where);
  void AddSounds(const SourceTable& source, Table& table, const std::string& where);

  // The value a field stands for.
  int32_t Value(const toml::node& node, Table& owner, const std::string& where);
  // A definition key's value: a string names a thing of the key's kind.
  int32_t KeyValue(const toml::node& node, const std::string& kind, Table& owner,
                   const std::string& where);
  int32_t Symbol(const std::string& kind, const std::string& name, Table& owner,
                 const std::string& where);
  int32_t VectorReference(const toml::node& node, const std::string& where);
  int32_t SubTable(Table table, const std::string& name);
  int32_t SoundList(int32_t sound, const std::string& name);

  const Manifest& mManifest;
  const InterfaceLayout& mLayout;
  const ClipSchemes& mClips;
  std::vector<Table> mEntries;
  std::vector<std::string> mNames;
  std::vector<bool> mFilled;
  std::map<std::string, int32_t> mSharedTables;
};

}  // namespace databuilder
