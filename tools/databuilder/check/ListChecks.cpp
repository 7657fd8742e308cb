// Lists read side by side, and the content that keeps the program's known
// misreadings harmless.

#include "tools/databuilder/check/ContentCheck.h"
#include "tools/databuilder/check/ScriptView.h"

#include <functional>

namespace content_check {

namespace {

constexpr int16_t kChildTag = 9;

// How many items a list holds, as its reader counts them.
using Counter = std::function<int32_t(const ScriptView&)>;

Counter TagRows(int32_t entry, int16_t tag) {
  return [=](const ScriptView& scripts) { return CountTag(scripts.Get(entry), tag); };
}
Counter Rows(int32_t entry) {
  return [=](const ScriptView& scripts) { return scripts.Get(entry).GetRowCount(); };
}
Counter Times(Counter counter, int32_t factor) {
  return [=](const ScriptView& scripts) { return counter(scripts) * factor; };
}

struct Alignment {
  const char* mRule;
  Counter mLeft;
  Counter mRight;
};

std::vector<Alignment> Alignments() {
  return {
      {"grounds 55 = backdrops 56", TagRows(55, 0), TagRows(56, 0)},
      {"path items 163 = paths 164", TagRows(163, 0), TagRows(164, 0)},
      {"path items 163 = reversed paths 165", TagRows(163, 0), TagRows(165, 0)},
      {"catalogue 225 = its items 257", TagRows(225, 0), TagRows(257, 0)},
      {"catalogue 226 = its items 301", TagRows(226, 0), TagRows(301, 0)},
      {"profiles 306 = profile items 313 x 5", TagRows(306, 0), Times(TagRows(313, 0), 5)},
      {"magnet reaches 502 = size buttons of 140", Rows(502), TagRows(140, kChildTag)},
      {"print modes of 331 = print layouts 21", TagRows(331, kChildTag), TagRows(21, 0)},
      {"print modes of 331 = print layouts 22", TagRows(331, kChildTag), TagRows(22, 0)},
  };
}

constexpr int32_t kIntroFilms = 1;
constexpr int32_t kMaterial = 4;
constexpr int16_t kSpecularPowerTag = 23;
constexpr int32_t kCredits = 646;
constexpr int32_t kNoModel = 506;
constexpr int16_t kGapTag = 2;
constexpr int32_t kPomble = 174;
constexpr int32_t kAutoSaveLabel = 45;
constexpr int16_t kPositionTag = 2;
constexpr int16_t kScaleTag = 3;
constexpr int16_t kRotationTag = 4;
constexpr int32_t kGroundOff = 90;
constexpr int32_t kGroundOn = 92;
constexpr int16_t kOtherLookTag = 8;
constexpr int32_t kExportKinds = 341;
constexpr int32_t kStillExport = 3;
constexpr int32_t kEmptyModel = 0;

// Page n of the intro plays film n and then reads the same row as the
// film id.
void IntroFilmsNameThemselves(const ScriptView& scripts, Findings& findings) {
  const MMScript films = scripts.Get(kIntroFilms);
  for (int32_t row = 0; row < films.GetRowCount(); ++row) {
    if (films.GetInt32(row, 0) != row) {
      findings.push_back("script 1 row " + std::to_string(row) + " must hold " +
                         std::to_string(row));
    }
  }
}

// A page's row 0 is read as its model table and again as a line or gap:
// it must be a gap reference to the "no model" entry or to a model table
// whose own row 0 reads as a zero gap.
void CreditPagesStartWithAGap(const ScriptView& scripts, Findings& findings) {
  const MMScript credits = scripts.Get(kCredits);
  if (scripts.Get(kNoModel).GetInt16(0, 0) != 0) findings.push_back("script 506 must hold 0");
  for (int32_t n = 0; n < CountTag(credits, 0); ++n) {
    const MMScript page = scripts.Get(TagEntry(credits, 0, n));
    const int32_t first = EntryOf(page.GetScriptId(0, 2));
    const bool gap = page.GetInt16(0, 0) == kGapTag;
    const bool zero = first == kNoModel || scripts.Get(first).GetInt16(0, 0) == 0;
    if (!gap || !zero) {
      findings.push_back("credit page " + std::to_string(n) + " must start with a zero gap");
    }
  }
}

void DefinitionsHoldTogether(const ScriptView& scripts, Findings& findings) {
  if (TagValue(scripts.Get(kPomble), 0) != kPomble) {
    findings.push_back("list 174 must name model 174");
  }
  const MMScript label = scripts.Get(kAutoSaveLabel);
  if (FindTag(label, kPositionTag) < 0 || FindTag(label, kScaleTag) >= 0 ||
      FindTag(label, kRotationTag) >= 0) {
    findings.push_back("script 45 must carry a position (tag 2) alone");
  }
  const MMScript off = scripts.Get(kGroundOff);
  const MMScript on = scripts.Get(kGroundOn);
  if (FindTag(off, 0) < 0 || FindTag(on, 0) < 0 || TagEntry(off, kOtherLookTag) != kGroundOn ||
      TagEntry(on, kOtherLookTag) != kGroundOff) {
    findings.push_back("the ground toggle's looks 90 and 92 must be whole and name each other");
  }
  const MMScript still = scripts.Get(TagEntry(scripts.Get(kExportKinds), kChildTag, kStillExport));
  const MMScript stillOn = scripts.Get(TagEntry(still, kOtherLookTag));
  if (TagValue(still, 0) != kEmptyModel || TagValue(stillOn, 0) != kEmptyModel) {
    findings.push_back("export kind 3 must show the empty model in both looks");
  }
  if (TagValue(scripts.Get(kMaterial), kSpecularPowerTag) != 1) {
    findings.push_back("the default material's specular power must be 1");
  }
}

}  // namespace

Findings CheckAlignedLists(const std::filesystem::path& folder) {
  const ScriptView scripts(folder);
  if (!scripts.IsOpen()) return {"Hd.mms does not open"};
  Findings findings;
  for (const Alignment& alignment : Alignments()) {
    const int32_t left = alignment.mLeft(scripts);
    const int32_t right = alignment.mRight(scripts);
    if (left != right || left == 0) {
      findings.push_back(std::string(alignment.mRule) + " does not hold: " + std::to_string(left) +
                         " and " + std::to_string(right));
    }
  }
  return findings;
}

Findings CheckAbsorbedFaults(const std::filesystem::path& folder) {
  const ScriptView scripts(folder);
  if (!scripts.IsOpen()) return {"Hd.mms does not open"};
  Findings findings;
  IntroFilmsNameThemselves(scripts, findings);
  CreditPagesStartWithAGap(scripts, findings);
  DefinitionsHoldTogether(scripts, findings);
  return findings;
}

}  // namespace content_check
