#include "tools/databuilder/check/TableWalker.h"

namespace content_check {

namespace {

using databuilder::ItemKind;

constexpr int32_t kTagRow = 6;
constexpr int32_t kU32Row = 4;
constexpr int32_t kVectorRow = 20;
constexpr int32_t kIntroRow = 8;
constexpr int32_t kAnimRow = 6;
constexpr int32_t kLineRow = 12;
constexpr int32_t kI16Row = 2;
constexpr int32_t kCamRow = 12;
constexpr int32_t kPageRow = 10;
constexpr int16_t kValue = 2;
constexpr int32_t kNone = -1;

constexpr int16_t kVectorTags[] = {2, 3, 4};
constexpr int16_t kSoundTags[] = {19, 20, 21, 22, 23, 24, 25};
constexpr int16_t kLayoutModelTags[] = {0, 1, 8};
constexpr int16_t kArrowTags[] = {5, 6};
constexpr int16_t kChildTag = 9;
constexpr int16_t kOtherLookTag = 8;
constexpr int16_t kColumnsTag = 2;
constexpr int16_t kRowsTag = 3;
constexpr int16_t kPageLineTag = 1;
constexpr int16_t kPageGapTag = 2;
constexpr int16_t kPageSlotsTag = 4;

std::string At(int32_t entry, int16_t tag) {
  return ScriptName(entry) + " tag " + std::to_string(tag);
}

}  // namespace

TableWalker::TableWalker(const ScriptView& scripts, const databuilder::Manifest& manifest,
                         Findings& findings)
    : mScripts(scripts), mManifest(manifest), mFindings(findings) {}

bool TableWalker::Reached(int32_t entry, int32_t rowSize, const std::string& via) {
  if (entry < 0 || entry >= mScripts.GetEntryCount()) {
    Note(via + " names no table of the file");
    return false;
  }
  const MMScript script = mScripts.Get(entry);
  if (script.GetRowCount() == 0) {
    Note(via + " names " + ScriptName(entry) + ", which has no rows");
    return false;
  }
  if (script.GetRowSize() != rowSize) {
    Note(ScriptName(entry) + " has rows of " + std::to_string(script.GetRowSize()) +
         " bytes; its reader takes " + std::to_string(rowSize));
    return false;
  }
  return true;
}

void TableWalker::Id(ItemKind kind, int64_t id, const std::string& via) {
  if (id < 0 || id >= mManifest.GetCount(kind)) {
    std::string kindName = databuilder::ItemKindName(kind);
    kindName.pop_back();
    Note(via + " names " + kindName + " " + std::to_string(id) + ", which does not exist");
  }
}

void TableWalker::SoundList(int32_t entry, const std::string& via) {
  if (!Reached(entry, kU32Row, via + " (a sound list)")) return;
  const int32_t sound = mScripts.Get(entry).GetInt32(0, 0);
  if (sound != kNone) Id(ItemKind::kSound, sound, ScriptName(entry) + " row 0");
}

void TableWalker::Vector(int32_t entry, const std::string& via) {
  if (!Reached(entry, kVectorRow, via + " (a vector)")) return;
  const MMScript vector = mScripts.Get(entry);
  for (int32_t row = 0; row < vector.GetRowCount(); ++row) {
    if (vector.GetInt32(row, 16) == 0) Note(ScriptName(entry) + " divides by 0");
  }
}

void TableWalker::Definition(int32_t entry, const std::string& via) {
  if (!Reached(entry, kTagRow, via) || !mWalked.insert(entry).second) return;
  const MMScript def = mScripts.Get(entry);
  if (FindTag(def, 0) < 0) {
    Note(ScriptName(entry) + ", a definition, has no model (tag 0)");
  } else {
    Id(ItemKind::kModel, TagValue(def, 0), At(entry, 0));
  }
  for (int16_t tag : kVectorTags) {
    for (int32_t n = 0; n < CountTag(def, tag); ++n) Vector(TagEntry(def, tag, n), At(entry, tag));
  }
  for (int16_t tag : kSoundTags) {
    if (FindTag(def, tag) >= 0) SoundList(TagEntry(def, tag), At(entry, tag));
  }
  if (FindTag(def, kOtherLookTag) >= 0) {
    Definition(TagEntry(def, kOtherLookTag), At(entry, kOtherLookTag));
  }
}

void TableWalker::Layout(int32_t entry, const std::string& via) {
  if (!Reached(entry, kTagRow, via) || !mWalked.insert(entry).second) return;
  const MMScript layout = mScripts.Get(entry);
  for (int16_t tag : kLayoutModelTags) {
    if (FindTag(layout, tag) >= 0) Id(ItemKind::kModel, TagValue(layout, tag), At(entry, tag));
  }
  for (int16_t tag : kArrowTags) {
    if (FindTag(layout, tag) >= 0) Definition(TagEntry(layout, tag), At(entry, tag));
  }
  for (int32_t n = 0; n < CountTag(layout, kChildTag); ++n) {
    Definition(TagEntry(layout, kChildTag, n), At(entry, kChildTag));
  }
}

void TableWalker::Grid(int32_t entry) {
  Layout(entry, ScriptName(entry));
  const MMScript grid = mScripts.Get(entry);
  const int32_t cells = TagValue(grid, kColumnsTag) * TagValue(grid, kRowsTag);
  if (cells <= 0 || cells != CountTag(grid, kChildTag)) {
    Note(ScriptName(entry) + " is a grid of " + std::to_string(cells) + " cells with " +
         std::to_string(CountTag(grid, kChildTag)) + " children");
  }
  for (int16_t tag : kArrowTags) {
    if (FindTag(grid, tag) < 0)
      Note(ScriptName(entry) + " lacks its arrow (tag " + std::to_string(tag) + ")");
  }
}

void TableWalker::ModelList(int32_t entry) {
  if (!Reached(entry, kTagRow, ScriptName(entry))) return;
  const MMScript list = mScripts.Get(entry);
  for (int32_t n = 0; n < CountTag(list, 0); ++n) {
    const int32_t model = TagValue(list, 0, n);
    if (model != kNone) Id(ItemKind::kModel, static_cast<uint32_t>(model), At(entry, 0));
  }
}

void TableWalker::ItemList(int32_t entry) {
  if (!Reached(entry, kTagRow, ScriptName(entry))) return;
  const MMScript list = mScripts.Get(entry);
  for (int32_t n = 0; n < CountTag(list, 0); ++n) Definition(TagEntry(list, 0, n), At(entry, 0));
}

void TableWalker::SoundListTable(int32_t entry) {
  if (!Reached(entry, kTagRow, ScriptName(entry))) return;
  const MMScript table = mScripts.Get(entry);
  for (int32_t row = 0; row < table.GetRowCount(); ++row) {
    SoundList(EntryOf(table.GetScriptId(row, kValue)), At(entry, table.GetInt16(row, 0)));
  }
}

void TableWalker::IdTable(int32_t entry, ItemKind kind, bool noneAllowed) {
  if (!Reached(entry, kU32Row, ScriptName(entry))) return;
  const MMScript table = mScripts.Get(entry);
  for (int32_t row = 0; row < table.GetRowCount(); ++row) {
    const int32_t id = table.GetInt32(row, 0);
    if (!(noneAllowed && id == kNone))
      Id(kind, id, ScriptName(entry) + " row " + std::to_string(row));
  }
}

void TableWalker::Intro(int32_t entry) {
  if (!Reached(entry, kIntroRow, ScriptName(entry))) return;
  const MMScript intro = mScripts.Get(entry);
  for (int32_t row = 0; row < intro.GetRowCount(); ++row) {
    Id(ItemKind::kPicture, intro.GetUInt32(row, 0),
       ScriptName(entry) + " row " + std::to_string(row));
  }
}

void TableWalker::Cameras(int32_t entry) {
  if (!Reached(entry, kCamRow, ScriptName(entry))) return;
  const MMScript cameras = mScripts.Get(entry);
  for (int32_t row = 0; row < cameras.GetRowCount(); ++row) {
    Id(ItemKind::kModel, cameras.GetUInt32(row, 8),
       ScriptName(entry) + " row " + std::to_string(row));
  }
}

void TableWalker::Animations(int32_t entry) {
  if (!Reached(entry, kTagRow, ScriptName(entry))) return;
  const MMScript table = mScripts.Get(entry);
  for (int32_t row = 0; row < table.GetRowCount(); ++row) {
    const int32_t list = EntryOf(table.GetScriptId(row, kValue));
    if (!Reached(list, kAnimRow, ScriptName(entry) + " row " + std::to_string(row))) continue;
    const MMScript animations = mScripts.Get(list);
    for (int32_t a = 0; a < animations.GetRowCount(); ++a) {
      SoundList(EntryOf(animations.GetScriptId(a, 4)), ScriptName(list));
    }
  }
}

void TableWalker::Credits(int32_t entry) {
  if (!Reached(entry, kTagRow, ScriptName(entry))) return;
  const MMScript credits = mScripts.Get(entry);
  for (int32_t n = 0; n < CountTag(credits, 0); ++n) {
    const int32_t page = TagEntry(credits, 0, n);
    if (!Reached(page, kTagRow, At(entry, 0))) continue;
    const MMScript rows = mScripts.Get(page);
    for (int32_t row = 1; row < rows.GetRowCount(); ++row) {
      const int16_t tag = rows.GetInt16(row, 0);
      const int32_t target = EntryOf(rows.GetScriptId(row, kValue));
      const std::string via = At(page, tag);
      if (tag == kPageLineTag) Reached(target, kLineRow, via);
      if (tag == kPageGapTag) Reached(target, kI16Row, via);
    }
  }
}

void TableWalker::PrintLayouts(int32_t entry) {
  if (!Reached(entry, kTagRow, ScriptName(entry))) return;
  const MMScript modes = mScripts.Get(entry);
  for (int32_t n = 0; n < CountTag(modes, 0); ++n) {
    const int32_t page = TagEntry(modes, 0, n);
    if (!Reached(page, kPageRow, At(entry, 0))) continue;
    const int32_t slots = TagEntry(mScripts.Get(page), kPageSlotsTag);
    Reached(slots, kTagRow, At(page, kPageSlotsTag));
  }
}

}  // namespace content_check
