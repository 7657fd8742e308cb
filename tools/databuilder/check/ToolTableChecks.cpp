// The tables the creation's tools and objects read, checked as their code
// reads them: an object's sounds as plain sound ids, each tool's sound
// script with a sound at every moment its code plays for what it did, and
// each tool's cursor row naming a cursor model of its own.

#include "tools/databuilder/check/ContentCheck.h"
#include "tools/databuilder/check/ScriptView.h"

#include <set>

namespace content_check {

namespace {

using databuilder::ItemKind;

constexpr int32_t kObjectSounds = 481;
// Spinning, jiggling, following a path: each row's value is a sound id.
constexpr int16_t kObjectSoundTags[] = {0, 1, 2};

enum : int16_t { kPress = 0, kLoop = 2, kRelease = 4, kAction = 6 };

struct ToolMoments {
  int32_t mScript;
  const char* mTool;
  std::initializer_list<int16_t> mTags;
};

// The moments at which each tool's code tells what it did: the movers,
// magnets and drawing tools press, hold and release; mirror, delete, path
// and flood act; align and group release when they join or gather and act
// when the release changes nothing or takes a member out; the sucker
// releases with the colour taken.
const ToolMoments kToolMoments[] = {
    {482, "move", {kPress, kLoop, kRelease}},
    {483, "rotate", {kPress, kLoop, kRelease}},
    {484, "scale", {kPress, kLoop, kRelease}},
    {485, "mirror", {kAction}},
    {486, "delete", {kAction}},
    {487, "align", {kRelease, kAction}},
    {488, "group", {kRelease, kAction}},
    {489, "path", {kAction}},
    {490, "flood colour", {kAction}},
    {491, "magnet pull", {kPress, kLoop, kRelease}},
    {492, "magnet push", {kPress, kLoop, kRelease}},
    {493, "tube", {kPress, kLoop, kRelease}},
    {494, "primitive", {kPress, kLoop, kRelease}},
    {495, "freehand", {kPress, kLoop, kRelease}},
    {496, "colour sucker", {kRelease}},
};

constexpr int32_t kCursors = 2;
// Rows 0 and 1 are the screens' arrow and hand; the tool factory names
// rows 3 to 21, one or two per tool.
constexpr int32_t kScreenCursorRows = 2;
constexpr int32_t kFirstToolCursorRow = 3;
constexpr int32_t kLastToolCursorRow = 21;
constexpr char kCursorPrefix[] = "cursor.";

void CheckObjectSounds(const ScriptView& scripts, const databuilder::Manifest& manifest,
                       Findings& findings) {
  const MMScript table = scripts.Get(kObjectSounds);
  for (int16_t tag : kObjectSoundTags) {
    const std::string at = ScriptName(kObjectSounds) + " tag " + std::to_string(tag);
    const int32_t sound = TagValue(table, tag);
    if (FindTag(table, tag) < 0) {
      findings.push_back(at + " is missing: an object's sound needs it");
    } else if (sound < 0 || sound >= manifest.GetCount(ItemKind::kSound)) {
      findings.push_back(at + " must be a sound id, not " + std::to_string(sound));
    }
  }
}

void CheckToolMoments(const ScriptView& scripts, Findings& findings) {
  for (const ToolMoments& tool : kToolMoments) {
    const MMScript table = scripts.Get(tool.mScript);
    for (int16_t tag : tool.mTags) {
      if (FindTag(table, tag) < 0) {
        findings.push_back(ScriptName(tool.mScript) + " (" + tool.mTool + ") has no sound at tag " +
                           std::to_string(tag) + ", a moment its code plays");
      }
    }
  }
}

bool IsCursorModel(const databuilder::Manifest& manifest, int32_t id) {
  const databuilder::ManifestItem* item = manifest.Find(ItemKind::kModel, id);
  return item != nullptr && item->mName.starts_with(kCursorPrefix);
}

void CheckToolCursors(const ScriptView& scripts, const databuilder::Manifest& manifest,
                      Findings& findings) {
  const MMScript cursors = scripts.Get(kCursors);
  if (cursors.GetRowCount() <= kLastToolCursorRow || cursors.GetRowSize() != sizeof(int32_t)) {
    findings.push_back(ScriptName(kCursors) + " has no row for every tool's cursor");
    return;
  }
  std::set<int32_t> seen;
  for (int32_t row = 0; row < kScreenCursorRows; ++row) seen.insert(cursors.GetInt32(row, 0));
  for (int32_t row = 0; row <= kLastToolCursorRow; ++row) {
    const std::string at = ScriptName(kCursors) + " row " + std::to_string(row);
    const int32_t model = cursors.GetInt32(row, 0);
    if (!IsCursorModel(manifest, model)) {
      findings.push_back(at + " names model " + std::to_string(model) + ", not a cursor");
    } else if (row >= kFirstToolCursorRow && !seen.insert(model).second) {
      findings.push_back(at + " repeats model " + std::to_string(model) +
                         ": each tool shows its own cursor");
    }
  }
}

}  // namespace

Findings CheckToolTables(const std::filesystem::path& folder,
                         const databuilder::Manifest& manifest) {
  const ScriptView scripts(folder);
  if (!scripts.IsOpen()) return {"Hd.mms does not open"};
  Findings findings;
  CheckObjectSounds(scripts, manifest, findings);
  CheckToolMoments(scripts, findings);
  CheckToolCursors(scripts, manifest, findings);
  return findings;
}

}  // namespace content_check
