#pragma once
// What the shell's tests share: a surface with a known pattern, the
// string list and print layouts in a script file of their own, and the
// output of the tools (ffmpeg, ffprobe, file) that read what was written.

#include "foundation/uu/UUOwned.h"
#include "mm/drawing/MMSurface.h"
#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "mm/resources/MMScriptCollection.h"
#include "tests/support/ResourceFileFixtures.h"

#include <dirent.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace shell_test {

// The standard output of a shell command.
inline std::string RunCommand(const std::string& command) {
  std::string output;
  if (std::FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    pclose(pipe);
  }
  return output;
}

// The descriptors the process holds open.
inline int OpenDescriptorCount() {
  int count = 0;
  if (DIR* directory = opendir("/proc/self/fd")) {
    while (readdir(directory) != nullptr) ++count;
    closedir(directory);
  }
  return count;
}

// Pixel (x, y) of the pattern numbered seed: blue, green, red, 0. Smooth
// gradients over an 800 x 600 picture of a small seed, so that a JPEG can
// keep close to it; larger seeds wrap around.
inline uint32_t PatternPixel(int32_t x, int32_t y, int32_t seed) {
  const auto blue = static_cast<uint32_t>((x / 4 + seed * 3) & 0xFF);
  const auto green = static_cast<uint32_t>((y / 3 + seed) & 0xFF);
  const auto red = static_cast<uint32_t>(((x + y) / 8 + seed * 11) & 0xFF);
  return blue | green << 8 | red << 16;
}

// A 32-bit offscreen surface of the pattern.
inline UUOwned<MMSurface> PatternSurface(int32_t width, int32_t height, int32_t seed) {
  UUOwned<MMSurface> surface(
      WinMMCreateOffscreenSurface(32, UURect(0, 0, width, height), AFPalette()));
  if (!surface) return surface;
  surface->BeginDraw();
  MMBitmap image;
  if (surface->GetImageDescription(image)) {
    for (int32_t y = 0; y < height; ++y) {
      auto* row = reinterpret_cast<uint32_t*>(image.GetPixelAddress(0, y));
      for (int32_t x = 0; x < width; ++x) row[x] = PatternPixel(x, y, seed);
    }
  }
  surface->EndDraw();
  return surface;
}

// The 32-bit pixel (x, y) of a surface, fourth byte included.
inline uint32_t SurfacePixel(MMSurface& surface, int32_t x, int32_t y) {
  surface.BeginDraw();
  MMBitmap image;
  uint32_t pixel = 0;
  if (surface.GetImageDescription(image)) {
    const uint8_t* p = image.GetPixelAddress(image.mRect.mLeft + x, image.mRect.mTop + y);
    pixel = static_cast<uint32_t>(p[0] | p[1] << 8 | p[2] << 16 | p[3] << 24);
  }
  surface.EndDraw();
  return pixel;
}

// One print layout's slot table: the slot size and its slots' corners.
struct SlotTable {
  int16_t width;
  int16_t height;
  std::vector<std::pair<int16_t, int16_t>> corners;
};

// The print layouts of the program's data: mode 0 one large copy, mode 1
// four small ones.
inline SlotTable OneLargeCopy() { return {1800, 1350, {{100, 300}}}; }
inline SlotTable FourSmallCopies() {
  return {880, 660, {{100, 300}, {1020, 300}, {100, 1060}, {1020, 1060}}};
}

// A script file with the string list (script 8) and the print layouts
// (scripts 21 and 22) in collection 0, registered while the object lives.
class ShellScripts {
 public:
  explicit ShellScripts(const SlotTable& mode0 = OneLargeCopy(),
                        const SlotTable& mode1 = FourSmallCopies()) {
    using resource_fixtures::Bytes;
    resource_fixtures::ScriptFileContents contents;
    contents.rowSizes = {kTagRow, kPageRow};
    contents.entries.assign(kEntries, resource_fixtures::ScriptEntry{0, 0, {}, {}});
    contents.entries[kStringList] = StringList();
    const resource_fixtures::ScriptEntry layouts =
        Rows({Tagged(0, kPages + 1, 0), Tagged(0, kPages + 2, 0)});
    contents.entries[kSmallLayout] = layouts;
    contents.entries[kLargeLayout] = layouts;
    for (size_t mode = 0; mode < 2; ++mode) {
      contents.entries[kPages + mode] = Page(static_cast<int16_t>(kSlots + mode + 1));
      contents.entries[kSlots + mode] = Slots(mode == 0 ? mode0 : mode1);
    }
    mName = resource_fixtures::UniqueName("shell-scripts");
    resource_fixtures::WriteScripts(mName, 0, contents);
    MMOpenScriptFile(resource_fixtures::TempDirectory(), mName.c_str());
  }
  ~ShellScripts() {
    MMDeleteAllScriptCollections();
    resource_fixtures::Remove(mName);
  }
  ShellScripts(const ShellScripts&) = delete;
  ShellScripts& operator=(const ShellScripts&) = delete;

 private:
  static constexpr int16_t kTagRow = 6;
  static constexpr int16_t kPageRow = 10;
  static constexpr size_t kStringList = 8;
  static constexpr size_t kSmallLayout = 21;
  static constexpr size_t kLargeLayout = 22;
  static constexpr int16_t kPages = 30;
  static constexpr int16_t kSlots = 32;
  static constexpr size_t kEntries = 34;

  static std::vector<uint8_t> Tagged(int16_t tag, int16_t a, int16_t b) {
    return resource_fixtures::Bytes()
        .U16(static_cast<uint16_t>(tag))
        .U16(static_cast<uint16_t>(a))
        .U16(static_cast<uint16_t>(b))
        .Get();
  }
  static resource_fixtures::ScriptEntry Rows(const std::vector<std::vector<uint8_t>>& rows,
                                             int16_t layout = 0) {
    resource_fixtures::ScriptEntry entry{layout, static_cast<int16_t>(rows.size()), {}, {}};
    for (const auto& row : rows)
      entry.rowBytes.insert(entry.rowBytes.end(), row.begin(), row.end());
    return entry;
  }
  static resource_fixtures::ScriptEntry StringList() {
    const std::vector<std::pair<int16_t, std::string>> texts = {
        {0, "Sketchbook"}, {1, "Sketch"},         {5, ".bmp"},         {6, ".jpg"},
        {13, "Creation"},  {20, "Out of memory"}, {39, "DejaVu Sans"}, {46, "12"}};
    resource_fixtures::ScriptEntry entry{0, static_cast<int16_t>(texts.size()), {}, {}};
    for (const auto& [tag, text] : texts) {
      const auto offset = static_cast<uint32_t>(entry.texts.size());
      const auto row = resource_fixtures::Bytes().U16(static_cast<uint16_t>(tag)).U32(offset).Get();
      entry.rowBytes.insert(entry.rowBytes.end(), row.begin(), row.end());
      entry.texts += text;
      entry.texts.push_back('\0');
    }
    return entry;
  }
  static resource_fixtures::ScriptEntry Page(int16_t slotReference) {
    const auto area = resource_fixtures::Bytes().U16(1).U16(0).U16(0).U16(2000).U16(2600).Get();
    const auto slots =
        resource_fixtures::Bytes().U16(4).U16(static_cast<uint16_t>(slotReference)).Zeros(6).Get();
    return Rows({area, slots}, 1);
  }
  static resource_fixtures::ScriptEntry Slots(const SlotTable& table) {
    std::vector<std::vector<uint8_t>> rows = {Tagged(0, table.width, table.height)};
    for (const auto& [x, y] : table.corners) rows.push_back(Tagged(1, x, y));
    return Rows(rows);
  }

  std::string mName;
};

}  // namespace shell_test
