#pragma once
// Walks the script tables from the entries the code opens, through every
// reference, checking each table against what its reader takes from it:
// references land on tables with rows of the expected size, ids name
// items of their kind, and required tags are present.

#include "tools/databuilder/Manifest.h"
#include "tools/databuilder/check/ContentCheck.h"
#include "tools/databuilder/check/ScriptView.h"

#include <cstdint>
#include <set>
#include <string>

namespace content_check {

class TableWalker {
 public:
  TableWalker(const ScriptView& scripts, const databuilder::Manifest& manifest, Findings& findings);

  // A button definition: tag 0 its model, 2-4 vectors, 8 the other look,
  // 19-25 sound lists.
  void Definition(int32_t entry, const std::string& via);
  // A layout: 0, 1 and 8 models, 5 and 6 arrow definitions, 9 children.
  void Layout(int32_t entry, const std::string& via);
  // A scroll grid or chooser: columns x rows children and both arrows.
  void Grid(int32_t entry);
  // Tagged lists whose tag-0 rows are models or definitions.
  void ModelList(int32_t entry);
  void ItemList(int32_t entry);
  // A tagged table whose every row is a sound list.
  void SoundListTable(int32_t entry);
  // A 4-byte table whose every row is an id of the kind (-1 allowed where
  // said).
  void IdTable(int32_t entry, databuilder::ItemKind kind, bool noneAllowed);
  // The tables with rows of their own shape.
  void Intro(int32_t entry);
  void Cameras(int32_t entry);
  void Animations(int32_t entry);
  void Credits(int32_t entry);
  void PrintLayouts(int32_t entry);

 private:
  // Whether the entry exists, has rows and rows of rowSize bytes; a
  // finding otherwise.
  bool Reached(int32_t entry, int32_t rowSize, const std::string& via);
  void Id(databuilder::ItemKind kind, int64_t id, const std::string& via);
  void SoundList(int32_t entry, const std::string& via);
  void Vector(int32_t entry, const std::string& via);
  void Note(const std::string& finding) { mFindings.push_back(finding); }

  const ScriptView& mScripts;
  const databuilder::Manifest& mManifest;
  Findings& mFindings;
  std::set<int32_t> mWalked;
};

}  // namespace content_check
