// Texts measured with the program's own font drawing: each dialog text and
// label wraps into three lines of its panel's width, the slow-machine
// notice too at its small size, and each credit line fits the page.

#include "mm/drawing/MMSystemFont.h"
#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "tools/databuilder/check/ContentCheck.h"
#include "tools/databuilder/check/ScriptView.h"

#include <cstring>
#include <memory>
#include <sstream>

namespace content_check {

namespace {

constexpr int32_t kStrings = 8;
constexpr int16_t kFaceTag = 45;
// Texts are drawn into 256 pixels less a margin of 50 on each side.
constexpr int32_t kWrapWidth = 256 - 100;
constexpr int32_t kMostLines = 3;
constexpr int32_t kDialogPixels = 24;
constexpr int32_t kNoticePixels = 9;
constexpr int16_t kNoticeTag = 8;
constexpr int16_t kDialogTags[] = {20, 21, 22, 24, 25, 26, 27, 28, 32, 33, 34, 35, 36, 37};
constexpr int32_t kCredits = 646;
constexpr int16_t kLineTag = 1;
constexpr int32_t kCreditWidth = 220;
constexpr int16_t kLineHeightOffset = 10;
constexpr int32_t kWeight = 400;

class TextMeasure {
 public:
  TextMeasure(const char* face, int32_t pixels)
      : mSurface(WinMMCreateOffscreenSurface(32, UURect(0, 0, 256, 256), AFPalette())),
        mFont(face, pixels, kWeight, false, false) {
    mSurface->BeginText(&mFont);
  }
  ~TextMeasure() { mSurface->EndText(); }
  TextMeasure(const TextMeasure&) = delete;
  TextMeasure& operator=(const TextMeasure&) = delete;

  int32_t Width(const std::string& text) {
    return mFont.GetTextWidth(text.c_str(), static_cast<int32_t>(text.size()));
  }
  // Lines of the width the text takes, breaking between words; a word
  // wider than the line counts as a line that does not fit (a large
  // count).
  int32_t Lines(const std::string& text, int32_t width) {
    std::istringstream words(text);
    std::string word;
    std::string line;
    int32_t lines = 0;
    while (words >> word) {
      const std::string longer = line.empty() ? word : line + " " + word;
      if (Width(longer) <= width) {
        line = longer;
        continue;
      }
      if (Width(word) > width) return kWordTooWide;
      lines += line.empty() ? 0 : 1;
      line = word;
    }
    return lines + (line.empty() ? 0 : 1);
  }

 private:
  static constexpr int32_t kWordTooWide = 1000;
  std::unique_ptr<WinMMOffscreenSurface> mSurface;
  MMSystemFont mFont;
};

void CheckWraps(const MMScript& strings, const char* face, int32_t pixels,
                const std::vector<int16_t>& tags, Findings& findings) {
  TextMeasure measure(face, pixels);
  for (int16_t tag : tags) {
    const int32_t row = FindTag(strings, tag);
    const std::string text = row < 0 ? "" : strings.GetString(row, 2);
    if (text.empty()) findings.push_back("string " + std::to_string(tag) + " is missing");
    if (measure.Lines(text, kWrapWidth) > kMostLines) {
      findings.push_back("string " + std::to_string(tag) + " takes more than three lines");
    }
  }
}

void CheckCreditLines(const ScriptView& scripts, const char* face, Findings& findings) {
  const MMScript credits = scripts.Get(kCredits);
  for (int32_t n = 0; n < CountTag(credits, 0); ++n) {
    const MMScript page = scripts.Get(TagEntry(credits, 0, n));
    for (int32_t k = 0; k < CountTag(page, kLineTag); ++k) {
      const MMScript line = scripts.Get(TagEntry(page, kLineTag, k));
      TextMeasure measure(face, line.GetInt16(0, kLineHeightOffset));
      if (measure.Width(line.GetString(0, 0)) >= kCreditWidth) {
        findings.push_back(std::string("the credit line \"") + line.GetString(0, 0) +
                           "\" is 220 pixels or wider");
      }
    }
  }
}

}  // namespace

Findings CheckTexts(const std::filesystem::path& folder) {
  const ScriptView scripts(folder);
  if (!scripts.IsOpen()) return {"Hd.mms does not open"};
  Findings findings;
  const MMScript strings = scripts.Get(kStrings);
  const std::string face =
      FindTag(strings, kFaceTag) < 0 ? "" : strings.GetString(FindTag(strings, kFaceTag), 2);
  if (face.empty()) return {"the string list names no font (tag 45)"};
  CheckWraps(strings, face.c_str(), kDialogPixels, {std::begin(kDialogTags), std::end(kDialogTags)},
             findings);
  CheckWraps(strings, face.c_str(), kNoticePixels, {kNoticeTag}, findings);
  CheckCreditLines(scripts, face.c_str(), findings);
  return findings;
}

}  // namespace content_check
