#include "mm3d/drivers/win/WinMM3DDDDriverAdapter.h"
#include "mm3d/drivers/win/WinMM3DDDTextureCollection.h"

#include "platform/win32/testhooks.h"
#include "tests/mm3d/drivers/DriverFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kRed{255, 0, 0};

// The frame of every driver's test, with the bottom right quad's texture
// nearest-filtered and a mipmapped 16-bit one at the top right. (Clamped
// bilinear textures differ at their edges by design: OpenGL 1.1 blends in
// its border colour, Direct3D repeats the edge texel.)
void DrawScene(MM3DDriver& driver, MM3DTriangleBuffer& buffer) {
  DrawWindowDriverScene(driver, buffer,
                        {{{kMM3DTextureArgb8888, kMM3DFilterNearest, 1},
                          {200, 100, 0},
                          {0, 100, 200},
                          Quad{.mLeft = 0, .mBottom = -1, .mRight = 1, .mTop = 0}},
                         {{kMM3DTextureRgb565, kMM3DFilterNearestMipNearest, 1},
                          kRed,
                          kBlue,
                          Quad{.mLeft = 0.75f, .mBottom = 0.75f, .mRight = 1, .mTop = 1}}});
}

class WinMM3DDDDriverAdapterTest : public WindowDriverFixture {
 protected:
  // Draws the scene through a Direct3D driver on the window and presents;
  // when asked, keeps its back buffer as it stands before Present. The
  // driver, empty when it could not draw, keeps the window's picture while
  // the caller holds it.
  UURefCount<MM3DDriver> DrawSceneOnTheWindow(std::vector<Rgb>* backBuffer = nullptr) {
    UURefCount<MM3DDriver> driver =
        WinMM3DDDCreateDriver(kPrimaryDisplay, WindowMode(), mWindow, mWindow);
    if (driver.IsEmpty()) return driver;
    MM3DTriangleBuffer* buffer = driver->CreateTriangleBuffer(16, 2);
    if (buffer == nullptr) return {};
    DrawScene(*driver, *buffer);
    if (backBuffer != nullptr) *backBuffer = ReadBackBuffer();
    driver->EndFrame();
    driver->DestroyTriangleBuffer(buffer);
    return driver;
  }
};

TEST_F(WinMM3DDDDriverAdapterTest, NamesTheApiAndTheDevice) {
  UURefCount<MM3DDriver> driver =
      WinMM3DDDCreateDriver(kPrimaryDisplay, WindowMode(), mWindow, mWindow);
  ASSERT_FALSE(driver.IsEmpty());
  EXPECT_EQ(driver->GetApiName(), "Direct3D 7");
  EXPECT_FALSE(driver->GetDescription().empty());
  EXPECT_FALSE(driver->MakeCurrent());
  EXPECT_EQ(driver->GetTextureCollection().GetSlotCount(), 1024);
}

TEST_F(WinMM3DDDDriverAdapterTest, BothBackEndsGiveTheSamePixels) {
  DrawScene(*mDriver, *mBuffer);
  const std::vector<Rgb> offscreen = EndFrame();

  std::vector<Rgb> direct3D;
  ASSERT_FALSE(DrawSceneOnTheWindow(&direct3D).IsEmpty());
  ASSERT_EQ(direct3D.size(), offscreen.size());

  int differing = 0;
  for (size_t i = 0; i < direct3D.size(); ++i) differing += !Near(direct3D[i], offscreen[i], 2);
  EXPECT_EQ(differing, 0);
  EXPECT_EQ(direct3D[4 * kSize + 4], kRed);
  EXPECT_EQ(direct3D[(kSize - 4) * kSize + 4], kBlue);
  EXPECT_EQ(direct3D[2 * kSize + kSize - 4], kRed);  // the mipmapped texture's left half
  EXPECT_EQ(direct3D[2 * kSize + kSize - 1], kBlue);
}

// Present copies the windowed frame into the window: the X server shows
// the frame the offscreen driver draws.
TEST_F(WinMM3DDDDriverAdapterTest, TheFrameReachesTheScreenOnXDisplay) {
  if (std::getenv("VPL3D_XVFB") == nullptr) GTEST_SKIP() << "needs the X display (VPL3D_XVFB)";
  DrawScene(*mDriver, *mBuffer);
  const std::vector<Rgb> offscreen = EndFrame();

  const UURefCount<MM3DDriver> driver = DrawSceneOnTheWindow();
  ASSERT_FALSE(driver.IsEmpty());
  vpl::test::DrainMessages();

  EXPECT_EQ(PixelsDifferingOnScreen(mWindow, offscreen, kSize, 2), 0);
}

// Freeing the slot the device shows takes it off the device first: a quad
// drawn after that is no longer textured with it.
TEST_F(WinMM3DDDDriverAdapterTest, FreeingTheSelectedSlotTakesItOffTheDevice) {
  UURefCount<MM3DDriver> driver =
      WinMM3DDDCreateDriver(kPrimaryDisplay, WindowMode(), mWindow, mWindow);
  ASSERT_FALSE(driver.IsEmpty());
  MM3DTriangleBuffer* buffer = driver->CreateTriangleBuffer(2, 1);
  MM3DDriverTextureHandle red = driver->GetTextureCollection().Load(
      {kMM3DTextureArgb8888, kMM3DFilterNearest, 1}, SolidImage(kRed, kRed));
  ASSERT_FALSE(red.IsEmpty());
  const auto drawWhite = [&] {
    SetSquareView(*driver);
    driver->BeginFrame();
    driver->ClearFrame();
    DrawQuad(*driver, *buffer, Quad{}, OpaqueBlock());
    const Rgb centre = ReadBackBuffer()[kSize / 2 * kSize + kSize / 2];
    driver->EndFrame();
    return centre;
  };
  driver->GetTextureCollection().Select(red.GetSlot());
  EXPECT_EQ(drawWhite(), kRed);
  red.Release();
  EXPECT_EQ(drawWhite(), (Rgb{255, 255, 255}));
  driver->DestroyTriangleBuffer(buffer);
}

// Four devices of one vendor are refused as hardware devices, however well
// DirectDraw answers; as software devices, and other devices, they serve.
TEST_F(WinMM3DDDDriverAdapterTest, FourDevicesOfOneVendorAreRefusedAsHardware) {
  const struct {
    DWORD mVendor;
    DWORD mDevice;
    uint8_t mHardware;
    bool mCreated;
  } kCases[] = {{0x102B, 0x0519, 1, false}, {0x102B, 0x051A, 1, false}, {0x102B, 0x051B, 1, false},
                {0x102B, 0x051F, 1, false}, {0x102B, 0x051A, 0, true},  {0x102B, 0x0520, 1, true},
                {0x102A, 0x051A, 1, true}};
  for (const auto& c : kCases) {
    vpl::platform::SetDirectDrawDeviceIds(c.mVendor, c.mDevice);
    UURefCount<MM3DDriver> driver =
        WinMM3DDDCreateDriver(kPrimaryDisplay, WindowMode(c.mHardware), mWindow, mWindow);
    EXPECT_EQ(!driver.IsEmpty(), c.mCreated)
        << std::hex << c.mVendor << " " << c.mDevice << " " << int{c.mHardware};
  }
  vpl::platform::SetDirectDrawDeviceIds(0, 0);
}

TEST_F(WinMM3DDDDriverAdapterTest, WithoutDepthBufferOnlyColourIsCleared) {
  UURefCount<MM3DDriver> driver =
      WinMM3DDDCreateDriver(kPrimaryDisplay, WindowMode(1, 0), mWindow, mWindow);
  ASSERT_FALSE(driver.IsEmpty());
  MM3DTriangleBuffer* buffer = driver->CreateTriangleBuffer(2, 1);
  DrawScene(*driver, *buffer);
  EXPECT_EQ(ReadBackBuffer()[4 * kSize + 4], kRed);
  driver->EndFrame();
  driver->DestroyTriangleBuffer(buffer);
}

// A frame starts cleared everywhere, not only inside the last view: a red
// frame, then a blue one whose view is the top-left quarter.
TEST_F(WinMM3DDDDriverAdapterTest, ClearingCoversTheWholeTargetWhateverTheViewport) {
  UURefCount<MM3DDriver> driver =
      WinMM3DDDCreateDriver(kPrimaryDisplay, WindowMode(), mWindow, mWindow);
  ASSERT_FALSE(driver.IsEmpty());
  std::vector<Rgb> pixels;
  for (const Rgb& color : {kRed, kBlue}) {
    driver->mClearColor =
        MM3DClearColor{static_cast<uint8_t>(color.mRed), static_cast<uint8_t>(color.mGreen),
                       static_cast<uint8_t>(color.mBlue), 255};
    driver->SetClearColor(driver->mClearColor.AsWord());
    driver->BeginFrame();
    driver->ClearFrame();
    pixels = ReadBackBuffer();
    driver->EndFrame();
    driver->mViewport = UURect(0, 0, kSize / 2, kSize / 2);
    driver->SetViewport(driver->mViewport);
  }
  EXPECT_EQ(pixels[4 * kSize + 4], kBlue);
  EXPECT_EQ(pixels[(kSize - 4) * kSize + kSize - 4], kBlue);
}

TEST_F(WinMM3DDDDriverAdapterTest, ProjectionMapsTheVolumeToDirect3DClipSpace) {
  MM3DProjectionVolume volume;
  volume.SetOrthographic(-1, 1, -1, 1, 0, 2);
  D3DMATRIX ortho = WinMM3DDDProjectionMatrix(volume);
  EXPECT_FLOAT_EQ(ortho.m[2][2], 0.5f);
  EXPECT_FLOAT_EQ(ortho.m[3][2], 0.0f);
  EXPECT_FLOAT_EQ(ortho.m[3][3], 1.0f);
  volume.SetPerspective(1.0f, 1.0f, 1, 3);
  D3DMATRIX perspective = WinMM3DDDProjectionMatrix(volume);
  EXPECT_FLOAT_EQ(perspective.m[2][2], 1.5f);
  EXPECT_FLOAT_EQ(perspective.m[2][3], 1.0f);
  EXPECT_FLOAT_EQ(perspective.m[3][2], -1.5f);
}

TEST(WinMM3DDDDriverListTest, ListsThePrimaryDisplay) {
  WinMM3DDDDriverList list;
  WinMM3DDDDriverAdapter::ListDrivers(list);
  ASSERT_EQ(list.mCount, 1);
  EXPECT_STREQ(list.mEntries[0].mName, "Primary Display Driver");
  EXPECT_EQ(list.mEntries[0].mPrimary, 1);
  EXPECT_EQ(list.mLibrary, nullptr);
}

TEST(WinMM3DDDDriverDescriptionTest, AGuidClearsThePrimaryFlag) {
  const WinMM3DDDDriverDescription primary;
  EXPECT_EQ(primary.mPrimary, 1);
  EXPECT_STREQ(primary.mName, "");
  const GUID guid{1, 2, 3, {4, 5}};
  const WinMM3DDDDriverDescription other("Card", "card.drv", &guid);
  EXPECT_EQ(other.mPrimary, 0);
  EXPECT_EQ(other.mGuid.Data1, 1u);
  EXPECT_STREQ(other.mDriverName, "card.drv");
}

// Two pixels into each format, with the texels' bytes worked out by hand:
// each channel keeps its top bits, the texel's low byte first.
TEST(WinMM3DDDTextureCollectionTest, PixelsBecomeTexelsOfEveryFormat) {
  // Red, green, blue, alpha.
  const uint8_t pixels[] = {0xFF, 0x80, 0x08, 0x90, 0x12, 0x34, 0x56, 0x00};
  constexpr ptrdiff_t kStep = 4;
  struct Case {
    int32_t code;
    std::vector<uint8_t> texels;
  };
  const Case cases[] = {
      {kMM3DTextureRgb565, {0x01, 0xFC, 0xAA, 0x11}},
      {kMM3DTextureArgb4444, {0x80, 0x9F, 0x35, 0x01}},
      {kMM3DTextureArgb1555, {0x01, 0xFE, 0xCA, 0x08}},
      {kMM3DTextureRgb888, {0x08, 0x80, 0xFF, 0x56, 0x34, 0x12}},
      {kMM3DTextureArgb8888, {0x08, 0x80, 0xFF, 0x90, 0x56, 0x34, 0x12, 0x00}},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> out(c.texels.size(), 0xEE);
    WinMM3DDDWriteTexels(c.code, pixels, kStep, 2, out.data());
    EXPECT_EQ(out, c.texels) << "format " << c.code;
  }
}

TEST(WinMM3DDDTextureCollectionTest, MipChainsHalveWhileBothSidesExceedOne) {
  EXPECT_EQ(WinMM3DDDMipLevelCount(256, 256), 9);
  EXPECT_EQ(WinMM3DDDMipLevelCount(256, 64), 7);
  EXPECT_EQ(WinMM3DDDMipLevelCount(1, 64), 1);
}

}  // namespace
