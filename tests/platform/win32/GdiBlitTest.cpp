#include "platform/win32/GdiTarget.h"
#include "platform/win32/gdi.h"
#include "tests/platform/win32/GdiTestPixels.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <future>
#include <memory>
#include <vector>

using vpl::test::DibCanvas;

namespace {

TEST(GdiBlitTest, PixelsLandWhereEachDibLayoutStoresThem) {
  struct Case {
    int bits;
    bool bitfields;
    int32_t height;
    std::vector<uint8_t> expected;  // the bytes of RGB(255, 128, 8) at (1, 0)
  };
  const std::vector<RGBQUAD> gray{{0, 0, 0, 0}, {8, 128, 255, 0}, {255, 255, 255, 0}};
  const Case cases[] = {
      {32, false, 2, {8, 128, 255, 0}},
      {32, false, -2, {8, 128, 255, 0}},
      {24, false, 2, {8, 128, 255}},
      {24, false, -2, {8, 128, 255}},
      {16, true, 2, {0x01, 0xFC}},
      {16, false, -2, {0x01, 0x7E}},
      {8, false, 2, {1}},
      {8, false, -2, {1}},
  };
  for (const Case& c : cases) {
    DibCanvas canvas(3, c.height, c.bits, c.bitfields, c.bits == 8 ? gray : std::vector<RGBQUAD>{});
    canvas.Fill(RGB(0, 0, 0));
    ASSERT_TRUE(SetPixelV(canvas.dc(), 1, 0, RGB(255, 128, 8)));
    std::vector<uint8_t> bytes(canvas.Address(1, 0), canvas.Address(1, 0) + c.expected.size());
    EXPECT_EQ(bytes, c.expected) << c.bits << " bits, height " << c.height;
    // The other row is untouched.
    EXPECT_EQ(*canvas.Address(1, 1), 0) << c.bits << " bits, height " << c.height;
  }
}

TEST(GdiBlitTest, DibSectionsRefuseUnsoundHeaders) {
  struct Case {
    LONG width;
    LONG height;
    WORD bits;
    DWORD compression;
    DWORD colorsUsed;
  };
  const Case cases[] = {
      {0, 1, 32, BI_RGB, 0},         {1, 0, 32, BI_RGB, 0},          {32768, 1, 32, BI_RGB, 0},
      {1, INT32_MIN, 32, BI_RGB, 0}, {1, 1, 12, BI_RGB, 0},          {1, 1, 8, BI_BITFIELDS, 0},
      {1, 1, 8, BI_RGB, 257},        {1, 1, 8, BI_RGB, 0x80000000u},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = c.width;
    header.biHeight = c.height;
    header.biPlanes = 1;
    header.biBitCount = c.bits;
    header.biCompression = c.compression;
    header.biClrUsed = c.colorsUsed;
    std::memcpy(info.data(), &header, sizeof header);
    void* bits = &info;
    EXPECT_EQ(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS,
                               &bits, nullptr, 0),
              nullptr)
        << c.width << "x" << c.height << " " << c.bits << " bits, " << c.colorsUsed << " colours";
    EXPECT_EQ(bits, nullptr);
  }
}

TEST(GdiBlitTest, BitBltConvertsBetweenFormats) {
  const std::vector<RGBQUAD> table{
      {0, 0, 0, 0}, {0, 0, 250, 0}, {250, 0, 0, 0}, {255, 255, 255, 0}};
  DibCanvas wide(2, 1, 32);
  DibCanvas indexed(2, 1, 8, false, table);
  DibCanvas packed(2, 1, 16, true);
  SetPixelV(wide.dc(), 0, 0, RGB(240, 10, 10));
  SetPixelV(wide.dc(), 1, 0, RGB(255, 255, 255));
  ASSERT_TRUE(BitBlt(indexed.dc(), 0, 0, 2, 1, wide.dc(), 0, 0, SRCCOPY));
  EXPECT_EQ(*indexed.Address(0, 0), 1);  // the nearest entry
  EXPECT_EQ(*indexed.Address(1, 0), 3);
  ASSERT_TRUE(BitBlt(packed.dc(), 0, 0, 2, 1, indexed.dc(), 0, 0, SRCCOPY));
  ASSERT_TRUE(BitBlt(wide.dc(), 0, 0, 2, 1, packed.dc(), 0, 0, SRCCOPY));
  EXPECT_EQ(wide.At(1, 0), RGB(255, 255, 255));  // white survives 5-6-5
  EXPECT_EQ(wide.At(0, 0), RGB(255, 0, 0));
}

TEST(GdiBlitTest, StretchBltScalesAndMirrors) {
  DibCanvas source(3, 1, 32);
  const COLORREF colors[] = {RGB(1, 0, 0), RGB(2, 0, 0), RGB(3, 0, 0)};
  for (int x = 0; x < 3; ++x) SetPixelV(source.dc(), x, 0, colors[x]);
  DibCanvas target(6, 2, 32);
  ASSERT_TRUE(StretchBlt(target.dc(), 0, 0, 6, 2, source.dc(), 0, 0, 3, 1, SRCCOPY));
  for (int x = 0; x < 6; ++x) {
    EXPECT_EQ(target.At(x, 0), colors[x / 2]);
    EXPECT_EQ(target.At(x, 1), colors[x / 2]);
  }
  ASSERT_TRUE(StretchBlt(target.dc(), 2, 0, -3, 1, source.dc(), 0, 0, 3, 1, SRCCOPY));
  EXPECT_EQ(target.At(0, 0), colors[2]);
  EXPECT_EQ(target.At(2, 0), colors[0]);
}

TEST(GdiBlitTest, StretchBltMapsPixelsAsThePlatformDoes) {
  constexpr COLORREF kUntouched = RGB(9, 9, 9);
  const COLORREF colors[2][2] = {{RGB(1, 0, 0), RGB(2, 0, 0)}, {RGB(3, 0, 0), RGB(4, 0, 0)}};
  DibCanvas source(2, 2, 32);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 2; ++x) SetPixelV(source.dc(), x, y, colors[y][x]);
  }
  DibCanvas shrunk(1, 1, 32);
  ASSERT_TRUE(StretchBlt(shrunk.dc(), 0, 0, 1, 1, source.dc(), 0, 0, 2, 2, SRCCOPY));
  EXPECT_EQ(shrunk.At(0, 0), colors[0][0]);  // the first pixel it covers

  // All four extents negative: both rectangles run from (1, 1) back to
  // (0, 0) exclusive of (1, 1), unmirrored; only (0, 0) lies inside.
  DibCanvas target(2, 2, 32);
  target.Fill(kUntouched);
  ASSERT_TRUE(StretchBlt(target.dc(), 1, 1, -2, -2, source.dc(), 1, 1, -2, -2, SRCCOPY));
  EXPECT_EQ(target.At(0, 0), colors[0][0]);
  EXPECT_EQ(target.At(1, 0), kUntouched);
  EXPECT_EQ(target.At(0, 1), kUntouched);
  EXPECT_EQ(target.At(1, 1), kUntouched);

  // One side negative mirrors the whole block.
  ASSERT_TRUE(StretchBlt(target.dc(), 1, 1, -2, -2, source.dc(), 0, 0, 2, 2, SRCCOPY));
  EXPECT_EQ(target.At(0, 0), colors[1][1]);
  EXPECT_EQ(target.At(1, 1), colors[0][0]);
}

// Enlarging at every depth that copies pixels as they are, mirrored or
// not: each target pixel is the source pixel under its centre, rows that
// repeat a source row included.
TEST(GdiBlitTest, StretchBltEnlargesEveryDepthPixelForPixel) {
  constexpr int kSourceWidth = 3, kSourceHeight = 2, kWidth = 7, kHeight = 5;
  for (int bits : {16, 24, 32}) {
    for (bool mirrored : {false, true}) {
      DibCanvas source(kSourceWidth, kSourceHeight, bits);
      for (int y = 0; y < kSourceHeight; ++y) {
        for (int x = 0; x < kSourceWidth; ++x) {
          SetPixelV(source.dc(), x, y,
                    RGB(static_cast<BYTE>(8 * (x + 1)), static_cast<BYTE>(8 * (y + 1)), 0));
        }
      }
      DibCanvas target(kWidth, kHeight, bits);
      ASSERT_TRUE(StretchBlt(target.dc(), mirrored ? kWidth - 1 : 0, 0, mirrored ? -kWidth : kWidth,
                             kHeight, source.dc(), 0, 0, kSourceWidth, kSourceHeight, SRCCOPY));
      for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
          const int offset = (2 * x + 1) * kSourceWidth / (2 * kWidth);
          const int column = mirrored ? kSourceWidth - 1 - offset : offset;
          const int row = (2 * y + 1) * kSourceHeight / (2 * kHeight);
          EXPECT_EQ(GetPixel(target.dc(), x, y), GetPixel(source.dc(), column, row))
              << bits << " bits at " << x << "," << y << (mirrored ? " mirrored" : "");
        }
      }
    }
  }
}

TEST(GdiBlitTest, StretchDIBitsCountsBottomUpSourceRowsFromTheBottom) {
  // Four rows stored bottom-up: the stored first row is the picture's bottom.
  uint8_t bits[4][4] = {{1, 0, 0, 0}, {2, 0, 0, 0}, {3, 0, 0, 0}, {4, 0, 0, 0}};
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 1, 4, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  DibCanvas target(1, 2, 32);
  EXPECT_EQ(
      StretchDIBits(target.dc(), 0, 0, 1, 2, 0, 1, 1, 2, bits, &info, DIB_RGB_COLORS, SRCCOPY), 2);
  EXPECT_EQ(target.At(0, 0), RGB(0, 0, 3));  // rows 1 and 2 from the bottom, top first
  EXPECT_EQ(target.At(0, 1), RGB(0, 0, 2));
  info.bmiHeader.biBitCount = 12;
  EXPECT_EQ(
      StretchDIBits(target.dc(), 0, 0, 1, 2, 0, 0, 1, 2, bits, &info, DIB_RGB_COLORS, SRCCOPY), 0);
}

TEST(GdiBlitTest, OriginAndClipRegionPlaceAndLimitDrawing) {
  DibCanvas canvas(6, 4, 32);
  canvas.Fill(RGB(0, 0, 0));
  SetWindowOrgEx(canvas.dc(), 10, 20, nullptr);
  HRGN clip = CreateRectRgn(1, 0, 4, 4);
  EXPECT_EQ(SelectClipRgn(canvas.dc(), clip), SIMPLEREGION);
  DeleteObject(clip);
  HBRUSH brush = CreateSolidBrush(RGB(255, 255, 255));
  HGDIOBJ old = SelectObject(canvas.dc(), brush);
  ASSERT_TRUE(PatBlt(canvas.dc(), 10, 21, 6, 2, PATCOPY));
  const std::vector<std::string> expected{"......", ".###..", ".###..", "......"};
  EXPECT_EQ(canvas.Mask(RGB(255, 255, 255)), expected);
  SelectObject(canvas.dc(), old);
  DeleteObject(brush);
  SelectClipRgn(canvas.dc(), nullptr);
  ASSERT_TRUE(PatBlt(canvas.dc(), 10, 20, 6, 4, WHITENESS));
  EXPECT_EQ(canvas.At(5, 3), RGB(255, 255, 255));
}

TEST(GdiBlitTest, ScrollDCMovesPixelsAndReportsTheUncoveredStrip) {
  struct Case {
    int dx, dy;
    RECT update;
  };
  const Case cases[] = {{2, 0, {0, 0, 2, 4}},  {-1, 0, {5, 0, 6, 4}}, {0, 2, {0, 0, 6, 2}},
                        {0, -1, {0, 3, 6, 4}}, {1, 1, {0, 0, 6, 4}},  {0, 0, {0, 0, 0, 0}}};
  for (const Case& c : cases) {
    DibCanvas canvas(6, 4, 32);
    canvas.Fill(RGB(0, 0, 0));
    SetPixelV(canvas.dc(), 2, 1, RGB(9, 9, 9));
    RECT rect{0, 0, 6, 4}, update{};
    ASSERT_TRUE(ScrollDC(canvas.dc(), c.dx, c.dy, &rect, &rect, nullptr, &update));
    EXPECT_EQ(canvas.At(2 + c.dx, 1 + c.dy), RGB(9, 9, 9)) << c.dx << "," << c.dy;
    EXPECT_TRUE(update.left == c.update.left && update.top == c.update.top &&
                update.right == c.update.right && update.bottom == c.update.bottom)
        << c.dx << "," << c.dy << ": " << update.left << " " << update.top << " " << update.right
        << " " << update.bottom;
  }
}

TEST(GdiBlitTest, SelectedObjectsAreKeptUntilDeselected) {
  DibCanvas canvas(2, 2, 32);
  EXPECT_FALSE(DeleteObject(canvas.bitmap()));  // still selected
  HDC other = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(other, canvas.bitmap()), nullptr);  // one device context at a time
  DeleteDC(other);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
  HGDIOBJ previous = SelectObject(canvas.dc(), pen);
  EXPECT_EQ(previous, GetStockObject(BLACK_PEN));
  EXPECT_FALSE(DeleteObject(pen));
  EXPECT_EQ(SelectObject(canvas.dc(), GetStockObject(NULL_PEN)), reinterpret_cast<HGDIOBJ>(pen));
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_FALSE(DeleteObject(pen));
  EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_BRUSH)));  // stock objects stay
  EXPECT_NE(SelectObject(canvas.dc(), GetStockObject(BLACK_BRUSH)), nullptr);
}

TEST(GdiBlitTest, AWindowDeviceContextDrawsIntoItsPartOfTheWindowPixels) {
  auto pixels = std::make_shared<vpl::platform::WindowPixels>();
  pixels->width = 8;
  pixels->height = 4;
  pixels->pixels.assign(32, 0);
  vpl::platform::WindowDrawTarget target{pixels, POINT{2, 1}, RECT{2, 1, 5, 3}};
  HDC dc = vpl::platform::CreateWindowDC(target);
  ASSERT_NE(dc, nullptr);
  EXPECT_FALSE(DeleteDC(dc));  // handed back through the window layer only
  HBRUSH brush = CreateSolidBrush(RGB(0x12, 0x34, 0x56));
  RECT all{-10, -10, 100, 100};
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  EXPECT_TRUE(pixels->changed);
  EXPECT_EQ(pixels->pixels[1 * 8 + 2], 0x123456u);
  EXPECT_EQ(pixels->pixels[2 * 8 + 4], 0x123456u);
  EXPECT_EQ(pixels->pixels[1 * 8 + 5], 0u);
  EXPECT_EQ(pixels->pixels[3 * 8 + 2], 0u);
  EXPECT_EQ(pixels->pixels[0], 0u);
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
  EXPECT_TRUE(vpl::platform::DeleteWindowDC(dc));
}

// Blits between two windows run both ways at once on two threads: each
// takes both windows' locks, which must never wait on each other.
TEST(GdiBlitTest, BlitsBothWaysBetweenTwoWindowsDoNotDeadlock) {
  std::shared_ptr<vpl::platform::WindowPixels> windows[2];
  HDC dcs[2];
  for (int i = 0; i < 2; ++i) {
    windows[i] = std::make_shared<vpl::platform::WindowPixels>();
    windows[i]->width = 4;
    windows[i]->height = 4;
    windows[i]->pixels.assign(16, 0);
    dcs[i] = vpl::platform::CreateWindowDC({windows[i], POINT{0, 0}, RECT{0, 0, 4, 4}});
    ASSERT_NE(dcs[i], nullptr);
  }
  auto blits = [&dcs](int to) {
    for (int round = 0; round < 20000; ++round)
      BitBlt(dcs[to], 0, 0, 4, 4, dcs[1 - to], 0, 0, SRCCOPY);
  };
  auto one = std::async(std::launch::async, blits, 0);
  auto other = std::async(std::launch::async, blits, 1);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  const bool finished = one.wait_until(deadline) == std::future_status::ready &&
                        other.wait_until(deadline) == std::future_status::ready;
  if (!finished) {
    // The two threads are stuck for good: report rather than hang on them.
    ADD_FAILURE() << "blits between two windows deadlocked";
    std::_Exit(1);
  }
  for (HDC dc : dcs) EXPECT_TRUE(vpl::platform::DeleteWindowDC(dc));
}

}  // namespace
