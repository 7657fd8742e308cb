// Font faces: fontconfig finds the file, FreeType sizes and renders it.
#include "platform/win32/GdiFontFace.h"

#include "platform/win32/CodePage.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include <fontconfig/fontconfig.h>

#include <strings.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace vpl::platform {

namespace {

constexpr const char* kFallbackFamily = "DejaVu Sans";
constexpr int32_t kDefaultCellHeight = 16;

// FreeType's library is shared by every face; its calls are serialised.
std::mutex& LibraryMutex() {
  static std::mutex mutex;
  return mutex;
}

FT_Library Library() {
  static FT_Library library = [] {
    FT_Library made = nullptr;
    return FT_Init_FreeType(&made) == 0 ? made : nullptr;
  }();
  return library;
}

struct FaceFile {
  std::string path;
  int index = 0;
};

// The file fontconfig matches for a family, weight and slant; nothing when
// the family is named but fontconfig only offers a substitute.
std::optional<FaceFile> MatchFace(const std::string& family, int weight, bool italic) {
  static std::once_flag once;
  std::call_once(once, [] {
    FcInit();
    // Fontconfig keeps its configuration until told to let it go.
    std::atexit(FcFini);
  });
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight <= 0 ? FW_NORMAL : weight));
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (match == nullptr) return std::nullopt;
  std::optional<FaceFile> file;
  FcChar8* matchedFamily = nullptr;
  bool familyFound = false;
  for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &matchedFamily) == FcResultMatch; ++i) {
    familyFound =
        familyFound || strcasecmp(reinterpret_cast<char*>(matchedFamily), family.c_str()) == 0;
  }
  FcChar8* path = nullptr;
  int index = 0;
  if (familyFound && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) {
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    file = FaceFile{reinterpret_cast<char*>(path), index};
  }
  FcPatternDestroy(match);
  return file;
}

int32_t Scale(int32_t units, int32_t emPixels, int32_t unitsPerEm) {
  return static_cast<int32_t>(std::lround(static_cast<double>(units) * emPixels / unitsPerEm));
}

// Windows' ascent and descent of the face in font units.
void WinExtent(FT_Face face, int32_t& ascent, int32_t& descent, int32_t& lineGap) {
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
  ascent = os2 && os2->usWinAscent ? os2->usWinAscent : face->ascender;
  descent = os2 && os2->usWinDescent ? os2->usWinDescent : -face->descender;
  const int32_t hheaLine = hhea ? hhea->Ascender - hhea->Descender + hhea->Line_Gap : face->height;
  lineGap = std::max(0, hheaLine - (ascent + descent));
}

}  // namespace

std::shared_ptr<GdiFontFace> GdiFontFace::Open(const LOGFONTA& font) {
  std::string family =
      Cp1252ToUtf8(std::string(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE)));
  std::optional<FaceFile> file;
  if (!family.empty()) file = MatchFace(family, font.lfWeight, font.lfItalic != 0);
  if (!file) file = MatchFace(kFallbackFamily, font.lfWeight, font.lfItalic != 0);
  if (!file) return nullptr;
  FT_Face face = nullptr;
  {
    std::lock_guard lock(LibraryMutex());
    if (Library() == nullptr ||
        FT_New_Face(Library(), file->path.c_str(), file->index, &face) != 0) {
      return nullptr;
    }
  }
  std::shared_ptr<GdiFontFace> result(new GdiFontFace);
  result->mFace = face;
  int32_t ascent = 0, descent = 0, gap = 0;
  WinExtent(face, ascent, descent, gap);
  const int32_t unitsPerEm = face->units_per_EM ? face->units_per_EM : 2048;
  int32_t emPixels;
  if (font.lfHeight < 0) {
    emPixels = -font.lfHeight;
  } else {
    // A positive height is the cell: ascent plus descent.
    const int32_t cell = font.lfHeight == 0 ? kDefaultCellHeight : font.lfHeight;
    emPixels = std::max(1, static_cast<int32_t>(std::lround(static_cast<double>(cell) * unitsPerEm /
                                                            (ascent + descent))));
  }
  emPixels = std::min(emPixels, 2048);
  {
    std::lock_guard lock(LibraryMutex());
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(emPixels)) != 0) return nullptr;
  }
  result->mUnderline = font.lfUnderline != 0;
  result->ReadMetrics(font, emPixels);
  return result;
}

GdiFontFace::~GdiFontFace() {
  std::lock_guard lock(LibraryMutex());
  FT_Done_Face(static_cast<FT_Face>(mFace));
}

void GdiFontFace::ReadMetrics(const LOGFONTA& font, int32_t emPixels) {
  FT_Face face = static_cast<FT_Face>(mFace);
  int32_t ascent = 0, descent = 0, gap = 0;
  WinExtent(face, ascent, descent, gap);
  const int32_t unitsPerEm = face->units_per_EM ? face->units_per_EM : 2048;
  TEXTMETRICA& m = mMetrics;
  m.tmAscent = Scale(ascent, emPixels, unitsPerEm);
  m.tmDescent = Scale(descent, emPixels, unitsPerEm);
  m.tmHeight = m.tmAscent + m.tmDescent;
  m.tmInternalLeading = std::max(0, m.tmHeight - emPixels);
  m.tmExternalLeading = Scale(gap, emPixels, unitsPerEm);
  m.tmMaxCharWidth = static_cast<LONG>((face->size->metrics.max_advance + 63) >> 6);
  m.tmWeight = font.lfWeight <= 0 ? FW_NORMAL : font.lfWeight;
  m.tmItalic = font.lfItalic;
  m.tmUnderlined = font.lfUnderline;
  m.tmStruckOut = font.lfStrikeOut;
  m.tmFirstChar = 0x20;
  m.tmLastChar = 0xFF;
  m.tmDefaultChar = 0x1F;
  m.tmBreakChar = 0x20;
  m.tmDigitizedAspectX = 96;
  m.tmDigitizedAspectY = 96;
  m.tmCharSet = 0;
  m.tmPitchAndFamily = FT_IS_FIXED_WIDTH(face) ? 0 : 1;  // 1: variable pitch
  m.tmAveCharWidth = GlyphOf('x').advance;
}

const GdiFontFace::Glyph& GdiFontFace::GlyphOf(uint8_t byte) {
  std::lock_guard own(mMutex);
  std::optional<Glyph>& slot = mGlyphs[byte];
  if (slot) return *slot;
  slot.emplace(Glyph{});
  std::lock_guard lock(LibraryMutex());
  FT_Face face = static_cast<FT_Face>(mFace);
  if (FT_Load_Char(face, Cp1252ToUnicode(byte), FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0)
    return *slot;
  FT_GlyphSlot glyph = face->glyph;
  const FT_Bitmap& bitmap = glyph->bitmap;
  slot->advance = static_cast<int32_t>((glyph->advance.x + 32) >> 6);
  slot->left = glyph->bitmap_left;
  slot->top = glyph->bitmap_top;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return *slot;
  slot->width = static_cast<int32_t>(bitmap.width);
  slot->rows = static_cast<int32_t>(bitmap.rows);
  slot->coverage.resize(static_cast<size_t>(slot->width) * static_cast<size_t>(slot->rows));
  for (int32_t y = 0; y < slot->rows; ++y) {
    std::memcpy(&slot->coverage[static_cast<size_t>(y) * static_cast<size_t>(slot->width)],

                bitmap.buffer + y * bitmap.pitch, static_cast<size_t>(slot->width));
  }
  return *slot;
}

int32_t GdiFontFace::TextWidth(const uint8_t* text, int32_t length) {
  int32_t width = 0;
  for (int32_t i = 0; i < length; ++i) width += GlyphOf(text[i]).advance;
  return width;
}

}  // namespace vpl::platform
