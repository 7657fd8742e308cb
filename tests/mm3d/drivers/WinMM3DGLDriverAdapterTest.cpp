#include "mm3d/drivers/win/WinMM3DGLDriverAdapter.h"

#include "platform/win32/testhooks.h"
#include "tests/mm3d/drivers/DriverFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kRed{255, 0, 0};

WinMM3DGLDriverInfo Driver(const char* library) {
  WinMM3DGLDriverInfo info = kPrimaryDriver;
  std::snprintf(info.mLibrary, sizeof info.mLibrary, "%s", library);
  return info;
}

// The frame of every driver's test, with the bottom right quad's texture
// bilinear-filtered.
void DrawScene(MM3DDriver& driver, MM3DTriangleBuffer& buffer) {
  DrawWindowDriverScene(driver, buffer,
                        {{{kMM3DTextureArgb8888, kMM3DFilterBilinear, 1},
                          {200, 100, 0},
                          {0, 100, 200},
                          Quad{.mLeft = 0, .mBottom = -1, .mRight = 1, .mTop = 0}}});
}

class WinMM3DGLDriverAdapterTest : public WindowDriverFixture {};

TEST_F(WinMM3DGLDriverAdapterTest, NamesTheApiAndTheDevice) {
  UURefCount<MM3DDriver> driver =
      WinMM3DGLCreateDriver(kPrimaryDriver, WindowMode(1), mWindow, mWindow);
  ASSERT_FALSE(driver.IsEmpty());
  EXPECT_EQ(driver->GetApiName(), "OpenGL 1.1");
  EXPECT_NE(driver->GetDescription().find(" by "), std::string::npos);
  EXPECT_TRUE(driver->MakeCurrent());
}

TEST_F(WinMM3DGLDriverAdapterTest, SuspendMinimizesTheFocusWindowAndResumeRestoresIt) {
  UURefCount<MM3DDriver> driver =
      WinMM3DGLCreateDriver(kPrimaryDriver, WindowMode(1), mWindow, mWindow);
  ASSERT_FALSE(driver.IsEmpty());
  EXPECT_TRUE(driver->Suspend());
  vpl::test::DrainMessages();
  EXPECT_FALSE(driver->mActive);
  EXPECT_TRUE(IsIconic(mWindow));
  driver->Resume();
  vpl::test::DrainMessages();
  EXPECT_TRUE(driver->mActive);
  EXPECT_FALSE(IsIconic(mWindow));
}

TEST_F(WinMM3DGLDriverAdapterTest, MissingLibraryGivesEmptyHandleQuietly) {
  const int boxes = vpl::platform::MessageBoxCount();
  EXPECT_TRUE(
      WinMM3DGLCreateDriver(Driver("OPENGL.DLL"), WindowMode(1), mWindow, mWindow).IsEmpty());
  EXPECT_TRUE(
      WinMM3DGLCreateDriver(Driver("3DFXVGL.DLL"), WindowMode(1), mWindow, mWindow).IsEmpty());
  EXPECT_EQ(vpl::platform::MessageBoxCount(), boxes);
}

TEST_F(WinMM3DGLDriverAdapterTest, ThirtyTwoBitDepthIsServed) {
  EXPECT_FALSE(WinMM3DGLCreateDriver(kPrimaryDriver, WindowMode(1, 2), mWindow, mWindow).IsEmpty());
}

TEST_F(WinMM3DGLDriverAdapterTest, PixelFormatAccelerationFollowsTheHardwareFlag) {
  for (const uint8_t hardware : {uint8_t{0}, uint8_t{1}}) {
    UURefCount<MM3DDriver> driver =
        WinMM3DGLCreateDriver(kPrimaryDriver, WindowMode(hardware), mWindow, mWindow);
    ASSERT_FALSE(driver.IsEmpty());
    HDC dc = GetDC(mWindow);
    PIXELFORMATDESCRIPTOR format{};
    ASSERT_NE(DescribePixelFormat(dc, GetPixelFormat(dc), sizeof format, &format), 0);
    ReleaseDC(mWindow, dc);
    EXPECT_EQ((format.dwFlags & PFD_GENERIC_FORMAT) == 0, hardware == 1);
    EXPECT_EQ(format.cColorBits, 32);
    EXPECT_EQ(format.cDepthBits, 16);
  }
}

TEST_F(WinMM3DGLDriverAdapterTest, OnscreenAndOffscreenGiveTheSamePixels) {
  DrawScene(*mDriver, *mBuffer);
  const std::vector<Rgb> offscreen = EndFrame();

  UURefCount<MM3DDriver> driver =
      WinMM3DGLCreateDriver(kPrimaryDriver, WindowMode(1), mWindow, mWindow);
  ASSERT_FALSE(driver.IsEmpty());
  MM3DTriangleBuffer* buffer = driver->CreateTriangleBuffer(16, 2);
  DrawScene(*driver, *buffer);
  const std::vector<Rgb> onscreen = ReadBackBuffer();
  driver->EndFrame();
  driver->DestroyTriangleBuffer(buffer);

  int differing = 0;
  for (size_t i = 0; i < onscreen.size(); ++i) differing += !Near(onscreen[i], offscreen[i], 1);
  EXPECT_EQ(differing, 0);
  EXPECT_EQ(offscreen[4 * kSize + 4], kRed);
  EXPECT_EQ(offscreen[(kSize - 4) * kSize + 4], kBlue);
}

// The frame shown on the X server is the frame the offscreen driver draws.
TEST_F(WinMM3DGLDriverAdapterTest, TheFrameReachesTheScreenOnXDisplay) {
  if (std::getenv("VPL3D_XVFB") == nullptr) GTEST_SKIP() << "needs the X display (VPL3D_XVFB)";
  DrawScene(*mDriver, *mBuffer);
  const std::vector<Rgb> offscreen = EndFrame();

  UURefCount<MM3DDriver> driver =
      WinMM3DGLCreateDriver(kPrimaryDriver, WindowMode(1), mWindow, mWindow);
  ASSERT_FALSE(driver.IsEmpty());
  MM3DTriangleBuffer* buffer = driver->CreateTriangleBuffer(16, 2);
  DrawScene(*driver, *buffer);
  driver->EndFrame();
  driver->DestroyTriangleBuffer(buffer);
  vpl::test::DrainMessages();

  EXPECT_EQ(PixelsDifferingOnScreen(mWindow, offscreen, kSize, 1), 0);
}

TEST(WinMM3DGLDispatchTest, SystemLibraryTakesPixelFormatsFromGdi) {
  const WinMM3DGLDispatch system("OPENGL32.DLL");
  ASSERT_TRUE(system.IsLoaded());
  EXPECT_EQ(system.ChoosePixelFormat, &ChoosePixelFormat);
  EXPECT_EQ(system.SwapBuffers, &SwapBuffers);
  // Another spelling is another library to the driver: it brings its own.
  const WinMM3DGLDispatch lower("opengl32.dll");
  ASSERT_TRUE(lower.IsLoaded());
  HMODULE module = LoadLibraryA("opengl32.dll");
  EXPECT_EQ(reinterpret_cast<FARPROC>(lower.ChoosePixelFormat),
            GetProcAddress(module, "wglChoosePixelFormat"));
  EXPECT_NE(lower.ChoosePixelFormat, &ChoosePixelFormat);
  EXPECT_FALSE(WinMM3DGLDispatch("PVRGL.DLL").IsLoaded());
}

TEST(WinMM3DGLDriverListTest, HoldsThePrimaryDriverOfTheSystemLibrary) {
  WinMM3DGLDriverList list;
  WinMM3DGLDriverAdapter::ListDrivers(list);
  ASSERT_EQ(list.mCount, 1);
  EXPECT_STREQ(list.mEntries[0].mName, "Primary Display Driver");
  EXPECT_STREQ(list.mEntries[0].mLibrary, "OPENGL32.DLL");
  EXPECT_STREQ(list.mEntries[1].mName, "Unknown");
}

TEST(WinMM3DGLDriverListTest, HoldsAtMostEightDrivers) {
  WinMM3DGLDriverList list;
  for (int i = 0; i < kWinMM3DGLMaxDrivers; ++i) EXPECT_TRUE(list.Add("Driver", "OPENGL32.DLL"));
  EXPECT_FALSE(list.Add("Driver", "OPENGL32.DLL"));
  EXPECT_EQ(list.mCount, kWinMM3DGLMaxDrivers);
}

}  // namespace
