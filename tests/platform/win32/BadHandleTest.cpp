// Every call of a handle family answers a handle that names nothing alike:
// its failure value, with the error the platform sets for that family.
// The bad handles point at a local object, so no live object can have them.

#include "platform/win32/gdi.h"
#include "platform/win32/kernel.h"
#include "platform/win32/user.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace {

struct Call {
  const char* name;
  std::function<bool()> fails;  // true when the call answered its failure value
};

void ExpectEachFailsWith(const std::vector<Call>& calls, DWORD error) {
  for (const Call& call : calls) {
    SetLastError(0);
    EXPECT_TRUE(call.fails()) << call.name;
    EXPECT_EQ(GetLastError(), error) << call.name;
  }
}

TEST(BadHandleTest, EveryDrawingCallRefusesAnUnknownDeviceContext) {
  int nothing = 0;
  HDC dc = reinterpret_cast<HDC>(&nothing);
  HDC live = CreateCompatibleDC(nullptr);
  const RECT rect{0, 0, 2, 2};
  const POINT points[3] = {{0, 0}, {2, 0}, {0, 2}};
  const int counts[1] = {3};
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 1, 1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  const uint32_t bits[1] = {0};
  PALETTEENTRY entry{};
  RGBQUAD colour{};
  const std::vector<Call> calls = {
      {"DeleteDC", [&] { return !DeleteDC(dc); }},
      {"SelectObject", [&] { return SelectObject(dc, GetStockObject(BLACK_PEN)) == nullptr; }},
      {"SetBkColor", [&] { return SetBkColor(dc, 0) == CLR_INVALID; }},
      {"BitBlt", [&] { return !BitBlt(dc, 0, 0, 1, 1, live, 0, 0, SRCCOPY); }},
      {"BitBlt source", [&] { return !BitBlt(live, 0, 0, 1, 1, dc, 0, 0, SRCCOPY); }},
      {"PatBlt", [&] { return !PatBlt(dc, 0, 0, 1, 1, PATCOPY); }},
      {"StretchDIBits",
       [&] {
         return StretchDIBits(dc, 0, 0, 1, 1, 0, 0, 1, 1, bits, &info, DIB_RGB_COLORS, SRCCOPY) ==
                0;
       }},
      {"ScrollDC", [&] { return !ScrollDC(dc, 1, 1, nullptr, nullptr, nullptr, nullptr); }},
      {"LineTo", [&] { return !LineTo(dc, 1, 1); }},
      {"Polyline", [&] { return !Polyline(dc, points, 3); }},
      {"Rectangle", [&] { return !Rectangle(dc, 0, 0, 2, 2); }},
      {"Ellipse", [&] { return !Ellipse(dc, 0, 0, 2, 2); }},
      {"Polygon", [&] { return !Polygon(dc, points, 3); }},
      {"PolyPolygon", [&] { return !PolyPolygon(dc, points, counts, 1); }},
      {"FillRect",
       [&] { return FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))) == 0; }},
      {"SetPixelV", [&] { return !SetPixelV(dc, 0, 0, 0); }},
      {"GetPixel", [&] { return GetPixel(dc, 0, 0) == CLR_INVALID; }},
      {"SelectPalette",
       [&] {
         return SelectPalette(dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE) ==
                nullptr;
       }},
      {"RealizePalette", [&] { return RealizePalette(dc) == GDI_ERROR; }},
      {"GetSystemPaletteEntries", [&] { return GetSystemPaletteEntries(dc, 0, 1, &entry) == 0; }},
      {"SetDIBColorTable", [&] { return SetDIBColorTable(dc, 0, 1, &colour) == 0; }},
      {"TextOutA", [&] { return !TextOutA(dc, 0, 0, "a", 1); }},
  };
  ExpectEachFailsWith(calls, ERROR_INVALID_HANDLE);
  DeleteDC(live);
}

TEST(BadHandleTest, EveryHeapCallRefusesAnUnknownHeap) {
  uint64_t nothing[8] = {};
  HANDLE heap = nothing;
  HANDLE live = HeapCreate(0, 0, 0);
  void* block = HeapAlloc(live, 0, 8);
  PROCESS_HEAP_ENTRY entry{};
  const std::vector<Call> calls = {
      {"HeapDestroy", [&] { return !HeapDestroy(heap); }},
      {"HeapAlloc", [&] { return HeapAlloc(heap, 0, 8) == nullptr; }},
      {"HeapFree", [&] { return !HeapFree(heap, 0, block); }},
      {"HeapSize", [&] { return HeapSize(heap, 0, block) == static_cast<SIZE_T>(-1); }},
      {"HeapLock", [&] { return !HeapLock(heap); }},
      {"HeapUnlock", [&] { return !HeapUnlock(heap); }},
      {"HeapWalk", [&] { return !HeapWalk(heap, &entry); }},
  };
  ExpectEachFailsWith(calls, ERROR_INVALID_HANDLE);
  HeapDestroy(live);
}

TEST(BadHandleTest, EveryQueueCallRefusesAnUnknownWindowOrThread) {
  int nothing = 0;
  HWND window = reinterpret_cast<HWND>(&nothing);
  const std::vector<Call> windowCalls = {
      {"PostMessageA", [&] { return !PostMessageA(window, WM_USER, 0, 0); }},
      {"SendMessageA", [&] { return SendMessageA(window, WM_USER, 0, 0) == 0; }},
      {"SendNotifyMessageA", [&] { return !SendNotifyMessageA(window, WM_USER, 0, 0); }},
      {"SetTimer", [&] { return SetTimer(window, 1, 10, nullptr) == 0; }},
      {"KillTimer", [&] { return !KillTimer(window, 1); }},
  };
  ExpectEachFailsWith(windowCalls, ERROR_INVALID_WINDOW_HANDLE);
  ExpectEachFailsWith(
      {{"PostThreadMessageA", [] { return !PostThreadMessageA(0x7FFFFFF0, WM_USER, 0, 0); }}},
      ERROR_INVALID_THREAD_ID);
}

}  // namespace
