#pragma once
// Support for the driver tests: a driver of either back-end, the offscreen
// OpenGL driver on a 32-bit surface or the Direct3D driver on a window, set
// up for an orthographic view of the square -1..1, depth 0 near to 2 far;
// quads drawn through the driver, and the pixels of each finished frame.

#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "mm3d/drivers/win/WinMM3DDDDriverAdapter.h"
#include "mm3d/drivers/win/WinMM3DGLBitmapDriverAdapter.h"
#include "platform/win32/testhooks.h"

#include <gtest/gtest.h>

#include "tests/support/DesktopTestSupport.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

struct Rgb {
  int mRed;
  int mGreen;
  int mBlue;
  bool operator==(const Rgb&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Rgb& c) {
  return out << "(" << c.mRed << ", " << c.mGreen << ", " << c.mBlue << ")";
}

// Equal within the rounding the device may add.
inline bool Near(const Rgb& a, const Rgb& b, int tolerance = 2) {
  return std::abs(a.mRed - b.mRed) <= tolerance && std::abs(a.mGreen - b.mGreen) <= tolerance &&
         std::abs(a.mBlue - b.mBlue) <= tolerance;
}

constexpr MM3DCornerColor Corner(Rgb c, int alpha = 255) {
  return MM3DCornerColor{static_cast<uint8_t>(c.mRed), static_cast<uint8_t>(c.mGreen),
                         static_cast<uint8_t>(c.mBlue), static_cast<uint8_t>(alpha)};
}

// How many of the window's pixels on the X screen lie further than the
// tolerance from the frame; -1 when the window cannot be captured at the
// frame's square size.
inline int PixelsDifferingOnScreen(HWND window, const std::vector<Rgb>& frame, int size,
                                   int tolerance) {
  std::vector<uint32_t> screen;
  int width = 0;
  int height = 0;
  if (!vpl::platform::CaptureWindowOnScreen(window, screen, width, height) || width != size ||
      height != size || screen.size() != frame.size()) {
    return -1;
  }
  int differing = 0;
  for (size_t i = 0; i < screen.size(); ++i) {
    const Rgb shown{static_cast<int>(screen[i] >> 16 & 0xFF),
                    static_cast<int>(screen[i] >> 8 & 0xFF), static_cast<int>(screen[i] & 0xFF)};
    differing += !Near(shown, frame[i], tolerance);
  }
  return differing;
}

inline const WinMM3DGLDriverInfo kPrimaryDriver = [] {
  WinMM3DGLDriverInfo info;
  std::snprintf(info.mName, sizeof info.mName, "Primary Display Driver");
  std::snprintf(info.mLibrary, sizeof info.mLibrary, "OPENGL32.DLL");
  return info;
}();

inline const WinMM3DDDDriverDescription kPrimaryDisplay("Primary Display Driver", "", nullptr);

inline MM3DDeviceMode OffscreenMode(int32_t width, int32_t height) {
  MM3DDeviceMode mode(width, height, 2, 0, 1);
  mode.mDepthBufferCode = 1;
  return mode;
}

// A quad as two counter-clockwise triangles (seen with x right, y up), one
// colour, at one depth. Texture-coordinate set 0 runs from its origin at
// the top-left corner over its span of texture widths and heights; set 1
// is one point, the texture's bottom-left corner unless told.
struct Quad {
  float mLeft = -1;
  float mBottom = -1;
  float mRight = 1;
  float mTop = 1;
  float mDepth = 1;
  MM3DCornerColor mColor{255, 255, 255, 255};
  MM3DTexCoord mSet0Origin{0, 0};
  float mSet0Span = 1;
  MM3DTexCoord mSet1Coord{-1, -1};  // the point of set 1, when u >= 0
};

// Sets a state through the driver's cache, as its callers do.
inline void SetState(MM3DDriver& driver, int32_t& cached, int32_t value,
                     void (MM3DDriver::*setter)(int32_t)) {
  if (cached == value) return;
  cached = value;
  (driver.*setter)(value);
}

inline MM3DRenderStateBlock OpaqueBlock() {
  MM3DRenderStateBlock block;
  block.mStageCount = 1;
  block.mStages[0].mDepthMode = kMM3DDepthTestAndWrite;
  block.mStages[0].mDepthFunction = kMM3DDepthLess;
  block.mStages[0].mOpaque = kMM3DBlendingOff;
  block.mStages[0].mBlendFactors = MM3DBlendFactors(kMM3DBlendOne, kMM3DBlendZero);
  return block;
}

// Fills the buffer's first two triangles with the quad and draws them.
inline void DrawQuad(MM3DDriver& driver, MM3DTriangleBuffer& buffer, const Quad& quad,
                     const MM3DRenderStateBlock& block) {
  const MM3DVector lb(quad.mLeft, quad.mBottom, quad.mDepth, 1);
  const MM3DVector rb(quad.mRight, quad.mBottom, quad.mDepth, 1);
  const MM3DVector rt(quad.mRight, quad.mTop, quad.mDepth, 1);
  const MM3DVector lt(quad.mLeft, quad.mTop, quad.mDepth, 1);
  buffer.SetTrianglePositions(0, lb, rb, rt);
  buffer.SetTrianglePositions(1, lb, rt, lt);
  buffer.SetTriangleColors(0, quad.mColor, quad.mColor, quad.mColor);
  buffer.SetTriangleColors(1, quad.mColor, quad.mColor, quad.mColor);
  const auto corners = [&buffer](int32_t set, MM3DTexCoord origin, float span) {
    const MM3DTexCoord c00{origin.mU, origin.mV + span}, c10{origin.mU + span, origin.mV + span};
    const MM3DTexCoord c11{origin.mU + span, origin.mV}, c01 = origin;
    buffer.SetTriangleTexCoords(0, set, c00, c10, c11);
    buffer.SetTriangleTexCoords(1, set, c00, c11, c01);
  };
  corners(0, quad.mSet0Origin, quad.mSet0Span);
  corners(1, quad.mSet1Coord.mU >= 0 ? quad.mSet1Coord : MM3DTexCoord{0, 1}, 0);
  driver.DrawTriangleBuffer(block, buffer, 0, 2);
}

// Orthographic view of x, y in -1..1 and depth 0 (near) to 2 (far).
inline void SetSquareView(MM3DDriver& driver) {
  driver.mProjection.SetOrthographic(-1, 1, -1, 1, 0, 2);
  driver.SetProjection(driver.mProjection);
}

// A 32-bit image painted column by column: paint(x) answers the colour and
// the alpha of column x.
template <typename Paint>
MM3DDriverTextureImage PaintedImage(int32_t width, int32_t height, Paint paint) {
  auto pixels =
      std::make_unique<uint8_t[]>(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  MM3DDriverTextureImage image(width, height, std::move(pixels), 1);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const auto [c, alpha] = paint(x);
      uint8_t* pixel = image.PixelAddress(x, y);
      pixel[0] = static_cast<uint8_t>(c.mRed);
      pixel[1] = static_cast<uint8_t>(c.mGreen);
      pixel[2] = static_cast<uint8_t>(c.mBlue);
      pixel[3] = alpha;
    }
  }
  return image;
}

// An 8 x 8 image whose left half is the first colour and alpha and right
// half the second; opaque unless told.
inline MM3DDriverTextureImage SolidImage(Rgb left, Rgb right, uint8_t leftAlpha = 255,
                                         uint8_t rightAlpha = 255) {
  return PaintedImage(8, 8, [&](int32_t x) {
    return x < 4 ? std::pair{left, leftAlpha} : std::pair{right, rightAlpha};
  });
}

// The back buffer of the context current after drawing, of the given
// size from its bottom-left corner, top row first.
inline std::vector<Rgb> ReadBackBufferOf(int32_t width, int32_t height) {
  using ReadPixels = void (*)(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*);
  auto read =
      reinterpret_cast<ReadPixels>(GetProcAddress(LoadLibraryA("OPENGL32.DLL"), "glReadPixels"));
  const size_t rowLength = static_cast<size_t>(width);
  std::vector<uint8_t> bytes(rowLength * static_cast<size_t>(height) * 4);
  read(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
  std::vector<Rgb> pixels;
  for (int32_t y = height - 1; y >= 0; --y) {
    for (int32_t x = 0; x < width; ++x) {
      const uint8_t* p = &bytes[(static_cast<size_t>(y) * rowLength + static_cast<size_t>(x)) * 4];
      pixels.push_back(Rgb{p[0], p[1], p[2]});
    }
  }
  return pixels;
}

// A shown top-level window of the size for a driver to draw into; null
// when it cannot be made.
inline HWND OpenDriverWindow(int32_t width, int32_t height) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.lpszClassName = "DriverTestWindow";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, windowClass.lpszClassName, "Driver", WS_POPUP | WS_VISIBLE, 0, 0,
                                width, height, nullptr, nullptr, nullptr, nullptr);
  vpl::test::DrainMessages();
  return window;
}

enum class DriverBackEnd { kOffscreenOpenGL, kDirect3D };

inline std::string NameOf(DriverBackEnd backEnd) {
  return backEnd == DriverBackEnd::kDirect3D ? "Direct3D" : "OpenGL";
}

inline void PrintTo(DriverBackEnd backEnd, std::ostream* out) { *out << NameOf(backEnd); }

// Names the instances of the tests run on both back-ends.
inline std::string BackEndName(const ::testing::TestParamInfo<DriverBackEnd>& info) {
  return NameOf(info.param);
}

class DriverFixture : public ::testing::Test {
 public:
  static constexpr int32_t kSize = 32;

 protected:
  // The Direct3D driver always draws into a window; the offscreen driver
  // gets one only when asked.
  explicit DriverFixture(DriverBackEnd backEnd, bool withWindow = false)
      : mBackEnd(backEnd), mWithWindow(withWindow || backEnd == DriverBackEnd::kDirect3D) {}

  void SetUp() override {
    if (mWithWindow) OpenWindow();
    if (OnDirect3D()) {
      mDriver = WinMM3DDDCreateDriver(kPrimaryDisplay, WindowMode(), mWindow, mWindow);
    } else {
      mSurface.reset(WinMMCreateOffscreenSurface(32, UURect(0, 0, kSize, kSize), AFPalette()));
      ASSERT_NE(mSurface, nullptr);
      mDriver = WinMM3DGLCreateBitmapDriver(kPrimaryDriver, OffscreenMode(kSize, kSize), *mSurface);
    }
    ASSERT_FALSE(mDriver.IsEmpty());
    mBuffer = mDriver->CreateTriangleBuffer(16, 2);
    ASSERT_NE(mBuffer, nullptr);
    SetSquareView(*mDriver);
  }

  void TearDown() override {
    if (mDriver) mDriver->DestroyTriangleBuffer(mBuffer);
    mDriver.Reset();
    mSurface.reset();
    if (mWindow != nullptr) DestroyWindow(mWindow);
    vpl::test::DrainMessages();
  }

  bool OnDirect3D() const { return mBackEnd == DriverBackEnd::kDirect3D; }

  // A windowed mode of the fixture's size with a 16-bit depth buffer.
  static MM3DDeviceMode WindowMode(uint8_t hardware = 1, int32_t depthBufferCode = 1) {
    MM3DDeviceMode mode(kSize, kSize, 2, hardware, 0);
    mode.mDepthBufferCode = depthBufferCode;
    return mode;
  }

  void BeginFrame(Rgb clear = {0, 0, 0}) {
    mDriver->mClearColor =
        MM3DClearColor{static_cast<uint8_t>(clear.mRed), static_cast<uint8_t>(clear.mGreen),
                       static_cast<uint8_t>(clear.mBlue), 255};
    mDriver->SetClearColor(mDriver->mClearColor.AsWord());
    mDriver->BeginFrame();
    mDriver->ClearFrame();
  }

  void Draw(const Quad& quad, const MM3DRenderStateBlock& block = OpaqueBlock()) {
    DrawQuad(*mDriver, *mBuffer, quad, block);
  }

  // Ends the frame and keeps its pixels, top row first: the offscreen
  // driver's surface after presenting, the Direct3D back buffer before it
  // is shown (showing may leave the back buffer undefined).
  const std::vector<Rgb>& EndFrame() {
    return EndFrameThrough([this] { mDriver->EndFrame(); });
  }
  // The same, for a frame that something above the driver ends.
  const std::vector<Rgb>& EndFrameThrough(const std::function<void()>& endFrame) {
    if (OnDirect3D()) {
      mFrame = ReadBackBuffer();
      endFrame();
    } else {
      endFrame();
      mFrame = SurfacePixels();
    }
    return mFrame;
  }

  // A pixel of the last frame ended, x right and y down from the top-left
  // corner.
  Rgb PixelAt(int32_t x, int32_t y) const {
    return mFrame.at(static_cast<size_t>(y) * kSize + static_cast<size_t>(x));
  }

  // The centre pixel after the frame.
  Rgb Centre() {
    EndFrame();
    return PixelAt(kSize / 2, kSize / 2);
  }

  // The back buffer of the context current after drawing, top row first.
  static std::vector<Rgb> ReadBackBuffer() { return ReadBackBufferOf(kSize, kSize); }

  const DriverBackEnd mBackEnd;
  const bool mWithWindow;
  HWND mWindow = nullptr;
  std::unique_ptr<WinMMOffscreenSurface> mSurface;
  UURefCount<MM3DDriver> mDriver;
  MM3DTriangleBuffer* mBuffer = nullptr;
  std::vector<Rgb> mFrame;

 private:
  void OpenWindow() {
    mWindow = OpenDriverWindow(kSize, kSize);
    ASSERT_NE(mWindow, nullptr);
  }

  // Every pixel of the offscreen surface, top row first.
  std::vector<Rgb> SurfacePixels() const {
    const BITMAPINFOHEADER& header = mSurface->GetInfoHeader();
    const auto* bits = static_cast<const uint8_t*>(mSurface->GetBits());
    const size_t stride = static_cast<size_t>(header.biWidth) * 4;
    std::vector<Rgb> pixels;
    for (int32_t y = 0; y < kSize; ++y) {
      const uint8_t* row = bits + static_cast<size_t>(header.biHeight - 1 - y) * stride;
      for (int32_t x = 0; x < kSize; ++x) {
        const uint8_t* pixel = row + static_cast<size_t>(x) * 4;
        pixels.push_back(Rgb{pixel[2], pixel[1], pixel[0]});
      }
    }
    return pixels;
  }
};

// The offscreen OpenGL driver.
class GLDriverFixture : public DriverFixture {
 protected:
  GLDriverFixture() : DriverFixture(DriverBackEnd::kOffscreenOpenGL) {}

  WinMM3DGLBitmapDriverAdapter& GL() {
    return static_cast<WinMM3DGLBitmapDriverAdapter&>(*mDriver);
  }
};

// The offscreen OpenGL driver plus a visible window of the same size, for
// the drivers that draw into a window.
class WindowDriverFixture : public DriverFixture {
 protected:
  WindowDriverFixture() : DriverFixture(DriverBackEnd::kOffscreenOpenGL, true) {}
};

// The driver of the test's parameter, for tests run on both back-ends.
class BackEndDriverFixture : public DriverFixture,
                             public ::testing::WithParamInterface<DriverBackEnd> {
 protected:
  BackEndDriverFixture() : DriverFixture(GetParam()) {}
};

// A quad textured with a two-coloured image (SolidImage) of the format.
struct TexturedQuad {
  MM3DDriverTextureFormat mFormat;
  Rgb mLeft;
  Rgb mRight;
  Quad mQuad;
};

// The same frame for every window driver: a red quad at the top left, a
// half-transparent green one over the middle, then the textured quads in
// their order.
inline void DrawWindowDriverScene(MM3DDriver& driver, MM3DTriangleBuffer& buffer,
                                  const std::vector<TexturedQuad>& texturedQuads) {
  SetSquareView(driver);
  driver.mClearColor = MM3DClearColor{0, 0, 255, 255};
  driver.SetClearColor(driver.mClearColor.AsWord());
  driver.BeginFrame();
  driver.ClearFrame();
  DrawQuad(driver, buffer,
           Quad{.mLeft = -1, .mBottom = 0, .mRight = 0, .mTop = 1, .mColor = Corner({255, 0, 0})},
           OpaqueBlock());
  MM3DRenderStateBlock blended = OpaqueBlock();
  blended.mStages[0].mOpaque = kMM3DBlendingOn;
  blended.mStages[0].mBlendFactors = {kMM3DBlendSourceAlpha, kMM3DBlendInvSourceAlpha};
  DrawQuad(driver, buffer,
           Quad{.mLeft = -0.5f,
                .mBottom = -0.5f,
                .mRight = 0.5f,
                .mTop = 0.5f,
                .mDepth = 0.5f,
                .mColor = Corner({0, 255, 0}, 100)},
           blended);
  MM3DRenderStateBlock textured = OpaqueBlock();
  for (const TexturedQuad& quad : texturedQuads) {
    textured.mStages[0].mTexture =
        driver.GetTextureCollection().Load(quad.mFormat, SolidImage(quad.mLeft, quad.mRight));
    DrawQuad(driver, buffer, quad.mQuad, textured);
  }
  textured.Reset();
}
