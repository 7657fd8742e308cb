#include "foundation/win/Window.h"

#include "tests/foundation/win/ScratchRegistry.h"
#include "tests/support/DesktopTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

constexpr char kPath[] = "Software\\Test\\Placement";
const UURegistryLocation kLocation = {kPath, HKEY_CURRENT_USER};
const AFWindowDescription kDescription = {&AFDefaultWindowClass, 40, 50, 240, 200,
                                          WS_OVERLAPPEDWINDOW,   0};

void WriteInteger(const char* name, int32_t value) {
  const uint32_t bits = static_cast<uint32_t>(value);
  const BYTE bytes[4] = {static_cast<BYTE>(bits), static_cast<BYTE>(bits >> 8),
                         static_cast<BYTE>(bits >> 16), static_cast<BYTE>(bits >> 24)};
  ScratchRegistry::Write(kPath, name, REG_DWORD, bytes, 4);
}

bool QuitIsQueued() {
  MSG message;
  return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

class WindowTest : public ::testing::Test {
 protected:
  void TearDown() override { vpl::test::DrainMessages(); }
  ScratchRegistry mRegistry;
};

TEST_F(WindowTest, OnlyAFullValidPlacementMovesTheWindow) {
  struct Case {
    const char* name;
    int stored;  // how many of XPos, YPos, Width, Height are written
    int32_t width;
    bool heightAsText;
    bool skipRestore;
    RECT expected;
  };
  const RECT made{40, 50, 240, 200};
  const Case cases[] = {
      {"all four", 4, 300, false, false, RECT{500, 400, 800, 520}},
      {"height missing", 3, 300, false, false, made},
      {"height not a number", 4, 300, true, false, made},
      {"negative width", 4, -5, false, false, made},
      {"width beyond the coordinates", 4, INT32_MAX, false, false, made},
      {"restoring skipped", 4, 300, false, true, made},
  };
  for (const Case& c : cases) {
    ScratchRegistry fresh;
    const int32_t values[] = {500, 400, c.width, 120};
    const char* names[] = {"XPos", "YPos", "Width", "Height"};
    for (int i = 0; i < c.stored; ++i) WriteInteger(names[i], values[i]);
    if (c.heightAsText) ScratchRegistry::Write(kPath, "Height", REG_SZ, "120", 4);
    Window window(kDescription, kLocation, c.skipRestore, false);
    const RECT rect = window.GetScreenRect();
    EXPECT_TRUE(EqualRect(&rect, &c.expected)) << c.name << ": " << rect.left << "," << rect.top
                                               << "," << rect.right << "," << rect.bottom;
  }
}

TEST_F(WindowTest, QuitOnCloseEndsTheRunLoopWhenTheWindowCloses) {
  for (const bool quitOnClose : {false, true}) {
    auto* window = new Window(kDescription, kLocation, true, quitOnClose);
    HWND handle = window->GetHandle();
    SendMessageA(handle, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(QuitIsQueued(), quitOnClose);
  }
}

}  // namespace
