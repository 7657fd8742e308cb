#include "platform/opengl/opengl.h"

#include "platform/opengl/OpenGLTargets.h"
#include "platform/win32/testhooks.h"

#include <gtest/gtest.h>

#include "tests/support/DesktopTestSupport.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr char kClassName[] = "OpenGLContextTestWindow";
constexpr int kSize = 24;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr uint32_t kGreenPixel = 0x0000FF00;

using ClearColor = void (*)(GLclampf, GLclampf, GLclampf, GLclampf);
using Clear = void (*)(GLbitfield);

template <typename Function>
Function LookUp(const char* name) {
  return reinterpret_cast<Function>(GetProcAddress(LoadLibraryA("OPENGL32.DLL"), name));
}

void ClearTo(float red, float green, float blue) {
  LookUp<ClearColor>("glClearColor")(red, green, blue, 1.0f);
  LookUp<Clear>("glClear")(GL_COLOR_BUFFER_BIT);
}

int FormatFor(HDC dc, DWORD flags, BYTE colorBits, BYTE depthBits) {
  const PIXELFORMATDESCRIPTOR wanted{.nSize = sizeof(PIXELFORMATDESCRIPTOR),
                                     .nVersion = 1,
                                     .dwFlags = flags,
                                     .iPixelType = PFD_TYPE_RGBA,
                                     .cColorBits = colorBits,
                                     .cDepthBits = depthBits};
  return ChoosePixelFormat(dc, &wanted);
}

constexpr DWORD kWindowFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
constexpr DWORD kBitmapFlags = PFD_DRAW_TO_BITMAP | PFD_SUPPORT_GDI | PFD_SUPPORT_OPENGL;

class OpenGLContextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);
    mWindow = CreateWindowExA(0, kClassName, "GL", WS_POPUP | WS_VISIBLE, 0, 0, kSize, kSize,
                              nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(mWindow, nullptr);
    mDC = GetDC(mWindow);
    vpl::test::DrainMessages();
  }

  void TearDown() override {
    ReleaseDC(mWindow, mDC);
    DestroyWindow(mWindow);
    vpl::test::DrainMessages();
  }

  void Fill(COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    const RECT all{0, 0, kSize, kSize};
    FillRect(mDC, &all, brush);
    DeleteObject(brush);
    vpl::test::DrainMessages();
  }

  bool ShownThroughOpenGL() { return vpl::platform::IsShownThroughOpenGL(mWindow); }

  // What the X server shows at the window's centre; 0 without one.
  uint32_t OnScreen() {
    vpl::test::ScreenOnX screen;
    if (!screen.Capture(mWindow)) return 0;
    return screen.At(screen.Width() / 2, screen.Height() / 2);
  }

  // A 2D frame, a 3D frame and a 2D frame again; shown is asked after each,
  // and between the 2D frame and the first 3D one.
  template <typename Check>
  void TwoDThreeDTwoD(Check shown) {
    Fill(kRed);
    EXPECT_FALSE(ShownThroughOpenGL());
    shown(0x00FF0000u);

    ASSERT_TRUE(SetPixelFormat(mDC, FormatFor(mDC, kWindowFlags, 24, 16), nullptr));
    HGLRC context = wglCreateContext(mDC);
    ASSERT_NE(context, nullptr);
    EXPECT_TRUE(ShownThroughOpenGL());
    // Until the first 3D frame, the last 2D one stays on the screen.
    shown(0x00FF0000u);
    ASSERT_TRUE(wglMakeCurrent(mDC, context));
    ClearTo(0, 1, 0);
    EXPECT_TRUE(SwapBuffers(mDC));
    shown(kGreenPixel);

    ASSERT_TRUE(wglDeleteContext(context));
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_EQ(GetPixelFormat(mDC), 0);
    Fill(kBlue);
    EXPECT_FALSE(ShownThroughOpenGL());
    shown(0x000000FFu);
  }

  HWND mWindow = nullptr;
  HDC mDC = nullptr;
};

TEST_F(OpenGLContextTest, WindowSwitchesToOpenGLAndBack) {
  TwoDThreeDTwoD([](uint32_t) {});
}

TEST_F(OpenGLContextTest, TwoDThreeDTwoDReachTheScreenOnXDisplay) {
  if (std::getenv("VPL3D_XVFB") == nullptr) GTEST_SKIP() << "needs the X display (VPL3D_XVFB)";
  TwoDThreeDTwoD([this](uint32_t expected) { EXPECT_EQ(OnScreen(), expected); });
}

TEST_F(OpenGLContextTest, FormatsMatchTheirTarget) {
  const int window = FormatFor(mDC, kWindowFlags, 16, 16);
  PIXELFORMATDESCRIPTOR format{};
  ASSERT_NE(DescribePixelFormat(mDC, window, sizeof format, &format), 0);
  EXPECT_EQ(format.dwFlags & kWindowFlags, kWindowFlags);
  EXPECT_EQ(format.dwFlags & PFD_GENERIC_FORMAT, 0u);
  EXPECT_GE(format.cColorBits, 16);
  EXPECT_GE(format.cDepthBits, 16);
  const int bitmap = FormatFor(mDC, kBitmapFlags, 32, 0);
  EXPECT_FALSE(SetPixelFormat(mDC, bitmap, nullptr));
  EXPECT_EQ(DescribePixelFormat(mDC, 0, sizeof format, &format), 0);
  EXPECT_EQ(wglCreateContext(mDC), nullptr);  // no format set yet
  ASSERT_TRUE(SetPixelFormat(mDC, window, nullptr));
  EXPECT_TRUE(SetPixelFormat(mDC, window, nullptr));
  EXPECT_FALSE(SetPixelFormat(mDC, window + 1, nullptr));
  HGLRC context = wglCreateContext(mDC);
  ASSERT_NE(context, nullptr);
  EXPECT_TRUE(wglDeleteContext(context));
  EXPECT_FALSE(wglDeleteContext(context));
}

// A bitmap of 24 or 32 bits, selected into a memory device context.
struct MemoryBitmap {
  explicit MemoryBitmap(WORD bits) {
    dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kSize;
    info.bmiHeader.biHeight = kSize;  // bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bits;
    info.bmiHeader.biCompression = BI_RGB;
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    previous = SelectObject(dc, bitmap);
    bytesPerPixel = bits / 8;
  }
  ~MemoryBitmap() {
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  // Blue, green and red bytes of the pixel x, y from the top left.
  const uint8_t* At(int x, int y) const {
    const ptrdiff_t stride = (ptrdiff_t{kSize} * bytesPerPixel + 3) & ~ptrdiff_t{3};
    return static_cast<const uint8_t*>(pixels) + (kSize - 1 - y) * stride + x * bytesPerPixel;
  }

  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ previous;
  void* pixels = nullptr;
  int bytesPerPixel;
};

TEST_F(OpenGLContextTest, BitmapContextsCopyTheirPictureIntoTheBitmap) {
  for (const WORD bits : {WORD{24}, WORD{32}}) {
    MemoryBitmap memory(bits);
    ASSERT_TRUE(SetPixelFormat(memory.dc, FormatFor(memory.dc, kBitmapFlags, 24, 16), nullptr));
    HGLRC context = wglCreateContext(memory.dc);
    ASSERT_NE(context, nullptr);
    ASSERT_TRUE(wglMakeCurrent(memory.dc, context));
    EXPECT_EQ(wglGetCurrentContext(), context);
    EXPECT_EQ(wglGetCurrentDC(), memory.dc);
    ClearTo(1.0f, 0.5f, 0.0f);
    EXPECT_TRUE(SwapBuffers(memory.dc));
    for (const auto& [x, y] : {std::pair{0, 0}, {kSize - 1, kSize - 1}, {3, 17}}) {
      const uint8_t* pixel = memory.At(x, y);
      EXPECT_EQ(pixel[2], 255) << bits;
      EXPECT_NEAR(pixel[1], 128, 1) << bits;
      EXPECT_EQ(pixel[0], 0) << bits;
    }
    EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
    EXPECT_FALSE(SwapBuffers(memory.dc));  // no context of its own is current
    EXPECT_TRUE(wglDeleteContext(context));
    // The format went with the context: another one can be set.
    EXPECT_EQ(GetPixelFormat(memory.dc), 0);
    EXPECT_TRUE(SetPixelFormat(memory.dc, FormatFor(memory.dc, kBitmapFlags, 32, 32), nullptr));
  }
}

// A thread switches between a window's context and a bitmap's, which
// belong to different GL libraries underneath.
TEST_F(OpenGLContextTest, ThreadSwitchesBetweenWindowAndBitmapContexts) {
  ASSERT_TRUE(SetPixelFormat(mDC, FormatFor(mDC, kWindowFlags, 24, 16), nullptr));
  HGLRC windowContext = wglCreateContext(mDC);
  MemoryBitmap memory(32);
  ASSERT_TRUE(SetPixelFormat(memory.dc, FormatFor(memory.dc, kBitmapFlags, 24, 0), nullptr));
  HGLRC bitmapContext = wglCreateContext(memory.dc);
  ASSERT_NE(windowContext, nullptr);
  ASSERT_NE(bitmapContext, nullptr);
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(wglMakeCurrent(mDC, windowContext));
    ClearTo(0, 1, 0);
    EXPECT_TRUE(SwapBuffers(mDC));
    ASSERT_TRUE(wglMakeCurrent(memory.dc, bitmapContext));
    ClearTo(0, 0, static_cast<float>(round));
    ASSERT_TRUE(SwapBuffers(memory.dc));
    EXPECT_EQ(memory.At(5, 5)[0], round * 255);
  }
  EXPECT_FALSE(wglMakeCurrent(memory.dc, windowContext));
  EXPECT_TRUE(wglDeleteContext(bitmapContext));
  EXPECT_TRUE(wglDeleteContext(windowContext));
}

// The stage thread owns the drivers: it makes and uses a window's context
// while the main thread, which owns the desktop, runs its message loop.
struct StageWork {
  HWND window;
  DWORD mainThread;
  bool drawn = false;
};

constexpr UINT kStageDone = WM_APP + 1;

DWORD DrawOnStageThread(LPVOID parameter) {
  auto* work = static_cast<StageWork*>(parameter);
  HDC dc = GetDC(work->window);
  if (SetPixelFormat(dc, FormatFor(dc, kWindowFlags, 24, 16), nullptr)) {
    HGLRC context = wglCreateContext(dc);
    if (context != nullptr && wglMakeCurrent(dc, context)) {
      ClearTo(0, 1, 0);
      work->drawn = SwapBuffers(dc) != FALSE;
    }
    if (context != nullptr) wglDeleteContext(context);
  }
  ReleaseDC(work->window, dc);
  PostThreadMessageA(work->mainThread, kStageDone, 0, 0);
  return 0;
}

TEST_F(OpenGLContextTest, AnotherThreadDrawsIntoTheWindow) {
  StageWork work{mWindow, GetCurrentThreadId()};
  HANDLE stage = CreateThread(nullptr, 0, &DrawOnStageThread, &work, 0, nullptr);
  ASSERT_NE(stage, nullptr);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) && message.message != kStageDone) {
    DispatchMessageA(&message);
  }
  EXPECT_EQ(WaitForSingleObject(stage, 10000), WAIT_OBJECT_0);
  CloseHandle(stage);
  EXPECT_TRUE(work.drawn);
  EXPECT_FALSE(ShownThroughOpenGL());
}

TEST(OpenGLModuleTest, SystemLibraryIsTheOnlyOpenGLModule) {
  HMODULE module = LoadLibraryA("OPENGL32.DLL");
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(LoadLibraryA("opengl32.dll"), module);
  EXPECT_NE(GetProcAddress(module, "glDrawArrays"), nullptr);
  EXPECT_NE(GetProcAddress(module, "wglMakeCurrent"), nullptr);
  EXPECT_EQ(GetProcAddress(module, "glNoSuchFunction"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
  EXPECT_EQ(GetProcAddress(module, "CreateWindowExA"), nullptr);
  EXPECT_TRUE(FreeLibrary(module));
  for (const char* missing : {"OPENGL.DLL", "3DFXVGL.DLL", "PVRGL.DLL"}) {
    EXPECT_EQ(LoadLibraryA(missing), nullptr) << missing;
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
  }
}

TEST(OpenGLModuleTest, ModulesNamedMissingAnswerAsMissing) {
  setenv("VPL3D_MISSING_MODULES", "dsound.dll;opengl32.dll", 1);
  EXPECT_EQ(LoadLibraryA("OPENGL32.DLL"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
  EXPECT_EQ(LoadLibraryA("DSOUND.DLL"), nullptr);
  EXPECT_NE(LoadLibraryA("DDRAW.DLL"), nullptr);
  setenv("VPL3D_MISSING_MODULES", "OPENGL32", 1);
  EXPECT_NE(LoadLibraryA("OPENGL32.DLL"), nullptr);
  unsetenv("VPL3D_MISSING_MODULES");
}

}  // namespace
