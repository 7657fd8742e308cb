#pragma once
// Internal to the platform layer: a font face opened with FreeType at the
// size a LOGFONTA asks for, with its metrics and its 256 glyphs of the
// Windows-1252 code page, rendered once and kept.

#include "platform/win32/gdi.h"

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace vpl::platform {

class GdiFontFace {
 public:
  struct Glyph {
    int32_t advance = 0;  // whole pixels
    int32_t left = 0;     // from the pen position to the bitmap's left column
    int32_t top = 0;      // from the baseline up to the bitmap's top row
    int32_t width = 0;
    int32_t rows = 0;
    std::vector<uint8_t> coverage;  // rows x width, 0-255
  };

  // The face fontconfig matches for the record, or DejaVu Sans when the
  // requested family is not installed; null when no face can be opened.
  static std::shared_ptr<GdiFontFace> Open(const LOGFONTA& font);
  ~GdiFontFace();
  GdiFontFace(const GdiFontFace&) = delete;
  GdiFontFace& operator=(const GdiFontFace&) = delete;

  const TEXTMETRICA& Metrics() const { return mMetrics; }
  bool Underlined() const { return mUnderline; }
  // The glyph of a 1252 byte.
  const Glyph& GlyphOf(uint8_t byte);
  int32_t TextWidth(const uint8_t* text, int32_t length);

 private:
  GdiFontFace() = default;
  void ReadMetrics(const LOGFONTA& font, int32_t emPixels);

  void* mFace = nullptr;  // the FT_Face, kept out of this header
  TEXTMETRICA mMetrics{};
  bool mUnderline = false;
  std::mutex mMutex;
  std::array<std::optional<Glyph>, 256> mGlyphs;
};

}  // namespace vpl::platform
