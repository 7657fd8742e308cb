#include "platform/win32/gdi.h"
#include "tests/platform/win32/GdiTestPixels.h"

#include <gtest/gtest.h>

#include <vector>

using vpl::test::DibCanvas;

namespace {

bool Same(const PALETTEENTRY& a, const PALETTEENTRY& b) {
  return a.peRed == b.peRed && a.peGreen == b.peGreen && a.peBlue == b.peBlue;
}

std::vector<PALETTEENTRY> SystemPalette(HDC dc) {
  std::vector<PALETTEENTRY> entries(256);
  EXPECT_EQ(GetSystemPaletteEntries(dc, 0, 256, entries.data()), 256u);
  return entries;
}

// A 256-entry logical palette; the entries marked explicit refer to the
// system palette instead of carrying a colour.
std::vector<uint8_t> LogicalPalette(BYTE blue, const std::vector<int>& explicitEntries) {
  std::vector<uint8_t> bytes(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY));
  auto* palette = reinterpret_cast<LOGPALETTE*>(bytes.data());
  palette->palVersion = 0x300;
  palette->palNumEntries = 256;
  for (int i = 0; i < 256; ++i) {
    const auto index = static_cast<BYTE>(i);
    palette->palPalEntry[i] = PALETTEENTRY{index, static_cast<BYTE>(255 - i), blue, 0};
  }
  for (int i : explicitEntries) {
    palette->palPalEntry[i] = PALETTEENTRY{static_cast<BYTE>(i), 0, 0, PC_EXPLICIT};
  }
  return bytes;
}

void Realize(HDC dc, const std::vector<uint8_t>& logical) {
  HPALETTE palette = CreatePalette(reinterpret_cast<const LOGPALETTE*>(logical.data()));
  ASSERT_NE(palette, nullptr);
  HPALETTE previous = SelectPalette(dc, palette, FALSE);
  EXPECT_EQ(RealizePalette(dc), 256u);
  SelectPalette(dc, previous, TRUE);
  RealizePalette(dc);
  EXPECT_TRUE(DeleteObject(palette));
}

TEST(GdiPaletteTest, TheSystemPaletteKeepsTheStaticColoursAndTakesTheRealisedEntries) {
  DibCanvas canvas(1, 1, 32);
  EXPECT_EQ(GetSystemPaletteEntries(canvas.dc(), 0, 0, nullptr), 256u);
  Realize(canvas.dc(), LogicalPalette(7, {}));
  Realize(canvas.dc(), LogicalPalette(9, {100}));
  const std::vector<PALETTEENTRY> system = SystemPalette(canvas.dc());
  PALETTEENTRY stock[20];
  auto* stockPalette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
  ASSERT_EQ(GetPaletteEntries(stockPalette, 0, 20, stock), 20u);
  for (size_t i = 0; i < 10; ++i) {
    EXPECT_TRUE(Same(system[i], stock[i])) << i;
    EXPECT_TRUE(Same(system[246 + i], stock[10 + i])) << 246 + i;
  }
  EXPECT_TRUE(Same(system[10], PALETTEENTRY{10, 245, 9, 0}));
  EXPECT_TRUE(Same(system[245], PALETTEENTRY{245, 10, 9, 0}));
  // An explicit entry takes no slot: the earlier palette's colour stays.
  EXPECT_TRUE(Same(system[100], PALETTEENTRY{100, 155, 7, 0}));
}

TEST(GdiPaletteTest, SystemPaletteRangesAreClippedAndBadDeviceContextsFail) {
  DibCanvas canvas(1, 1, 32);
  PALETTEENTRY entries[10];
  EXPECT_EQ(GetSystemPaletteEntries(canvas.dc(), 250, 10, entries), 6u);
  EXPECT_TRUE(Same(entries[5], PALETTEENTRY{255, 255, 255, 0}));
  EXPECT_EQ(GetSystemPaletteEntries(canvas.dc(), 256, 1, entries), 0u);
  EXPECT_EQ(GetSystemPaletteEntries(nullptr, 0, 10, entries), 0u);
}

}  // namespace
