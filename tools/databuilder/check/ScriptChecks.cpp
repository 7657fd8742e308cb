// The checks on the script tables: the walk from every table the code
// opens, the lists read side by side, and the content that keeps the
// program's known misreadings harmless.

#include "tools/databuilder/check/ContentCheck.h"
#include "tools/databuilder/check/ScriptView.h"
#include "tools/databuilder/check/TableWalker.h"

namespace content_check {

namespace {

using databuilder::ItemKind;

// The tables the code opens, by the shape their readers take.
constexpr int32_t kDefinitions[] = {
    59,  60,  36,  78,  81,  84,  76,  87,  96,  90,  92,  64,  68,  72,  65,  69,  73,  100, 104,
    108, 112, 116, 120, 124, 45,  141, 142, 146, 143, 144, 145, 147, 316, 315, 219, 218, 224, 126,
    127, 128, 129, 130, 240, 242, 246, 248, 198, 200, 202, 167, 169, 173, 171, 44,  43,  47,  46,
    50,  49,  48,  51,  52,  53,  329, 328, 330, 332, 333, 342, 343, 359, 360, 361, 362, 363, 364};
constexpr int32_t kLayouts[] = {140, 217, 54, 334, 331, 344, 341, 438, 439, 440};
constexpr int32_t kGrids[] = {151, 314, 302, 303, 133, 377, 386, 429};
constexpr int32_t kModelLists[] = {55, 56, 58, 164, 165, 174, 175, 225, 226, 306, 367, 380};
constexpr int32_t kItemLists[] = {163, 257, 301, 313};
constexpr int32_t kSoundListTables[] = {28,  482, 483, 484, 485, 486, 487, 488,
                                        489, 490, 491, 492, 493, 494, 495, 496};
constexpr int32_t kSoundTables[] = {24, 29, 30, 345, 346, 347, 348, 352, 355, 504};

constexpr int32_t kIntro = 0;
constexpr int32_t kIntroFilms = 1;
constexpr int32_t kCursors = 2;
constexpr int32_t kFillTextures = 3;
constexpr int32_t kCameras = 23;
constexpr int32_t kCoverTextures = 430;
constexpr int32_t kAnimations = 193;
constexpr int32_t kCredits = 646;
constexpr int32_t kPrintLayouts[] = {21, 22};
constexpr int32_t kMessageDialogs[] = {438, 439, 440};
constexpr int32_t kExportKinds = 341;
constexpr int32_t kCursorRows = 22;
constexpr int32_t kMinimumIntroRows = 2;
constexpr int32_t kExportKindCount = 4;
constexpr int16_t kChildTag = 9;
constexpr int16_t kKindTag = 5;
constexpr int16_t kOtherLookTag = 8;
constexpr int32_t kLastMessageKind = 5;

void WalkRoots(TableWalker& walker) {
  for (int32_t entry : kDefinitions) walker.Definition(entry, ScriptName(entry));
  for (int32_t entry : kLayouts) walker.Layout(entry, ScriptName(entry));
  for (int32_t entry : kGrids) walker.Grid(entry);
  for (int32_t entry : kModelLists) walker.ModelList(entry);
  for (int32_t entry : kItemLists) walker.ItemList(entry);
  for (int32_t entry : kSoundListTables) walker.SoundListTable(entry);
  for (int32_t entry : kSoundTables) walker.IdTable(entry, ItemKind::kSound, false);
  walker.IdTable(kCursors, ItemKind::kModel, false);
  walker.IdTable(kFillTextures, ItemKind::kTexture, true);
  walker.IdTable(kCoverTextures, ItemKind::kTexture, false);
  walker.Intro(kIntro);
  walker.Cameras(kCameras);
  walker.Animations(kAnimations);
  walker.Credits(kCredits);
  for (int32_t entry : kPrintLayouts) walker.PrintLayouts(entry);
}

void CheckRequiredRows(const ScriptView& scripts, Findings& findings) {
  if (scripts.Get(kCursors).GetRowCount() != kCursorRows) {
    findings.push_back(ScriptName(kCursors) + " needs 22 cursor rows");
  }
  if (scripts.Get(kIntro).GetRowCount() < kMinimumIntroRows) {
    findings.push_back(ScriptName(kIntro) + " needs at least 2 rows");
  }
  for (int32_t entry : kMessageDialogs) {
    const MMScript dialog = scripts.Get(entry);
    for (int32_t n = 0; n < CountTag(dialog, kChildTag); ++n) {
      const MMScript button = scripts.Get(TagEntry(dialog, kChildTag, n));
      const int32_t kind = TagValue(button, kKindTag);
      if (FindTag(button, kKindTag) < 0 || kind < 0 || kind > kLastMessageKind) {
        findings.push_back(ScriptName(entry) + " child " + std::to_string(n) +
                           " gives no answer of kind 0-5");
      }
    }
  }
  const MMScript kinds = scripts.Get(kExportKinds);
  int32_t toggles = 0;
  for (int32_t n = 0; n < CountTag(kinds, kChildTag); ++n) {
    toggles += FindTag(scripts.Get(TagEntry(kinds, kChildTag, n)), kOtherLookTag) >= 0 ? 1 : 0;
  }
  if (toggles != kExportKindCount || CountTag(kinds, kChildTag) != kExportKindCount) {
    findings.push_back(ScriptName(kExportKinds) + " needs exactly four toggles");
  }
}

}  // namespace

Findings CheckScriptTables(const std::filesystem::path& folder,
                           const databuilder::Manifest& manifest) {
  Findings findings;
  const ScriptView scripts(folder);
  if (!scripts.IsOpen()) return {"Hd.mms does not open"};
  for (int32_t entry = 0; entry < scripts.GetEntryCount(); ++entry) {
    const MMScript script = scripts.Get(entry);
    if (scripts.GetDeclaredRowCount(entry) != script.GetRowCount()) {
      findings.push_back(ScriptName(entry) + "'s rows do not fit its subfile");
    }
  }
  TableWalker walker(scripts, manifest, findings);
  WalkRoots(walker);
  CheckRequiredRows(scripts, findings);
  if (scripts.Get(kIntroFilms).GetRowCount() > 0)
    walker.IdTable(kIntroFilms, ItemKind::kFilm, false);
  return findings;
}

}  // namespace content_check
