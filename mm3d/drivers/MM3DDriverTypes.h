#pragma once
// The plain values that travel between the renderer and a device driver:
// the display mode a driver is made for, blend-factor pairs, the depth
// range, and the codes of every device state. The codes are stored in
// materials and render-state blocks; each back-end maps them to its own.

#include <cstdint>

class UUReader;
class UUWriter;

enum MM3DCullMode : int32_t {
  kMM3DCullNone = 0,
  kMM3DCullClockwise = 1,  // back faces; front faces run counter-clockwise on screen
  kMM3DCullCounterClockwise = 2
};

enum MM3DFillMode : int32_t { kMM3DFillSolid = 0, kMM3DFillWireframe = 1 };

enum MM3DDepthMode : int32_t {
  kMM3DDepthOff = 0,
  kMM3DDepthTestOnly = 1,
  kMM3DDepthTestAndWrite = 2,
  kMM3DDepthWriteOnly = 3
};

enum MM3DDepthFunction : int32_t {
  kMM3DDepthAlways = 0,
  kMM3DDepthNever = 1,
  kMM3DDepthLess = 2,
  kMM3DDepthLessEqual = 3,
  kMM3DDepthGreater = 4,
  kMM3DDepthGreaterEqual = 5,
  kMM3DDepthEqual = 6,
  kMM3DDepthNotEqual = 7
};

// The opaque flag: 0 blends, anything else draws opaque.
enum MM3DOpaqueFlag : int32_t { kMM3DBlendingOn = 0, kMM3DBlendingOff = 1 };

enum MM3DBlendFactor : int32_t {
  kMM3DBlendUnset = -1,
  kMM3DBlendZero = 0,
  kMM3DBlendOne = 1,
  kMM3DBlendDestAlpha = 2,
  kMM3DBlendInvDestAlpha = 3,
  kMM3DBlendSourceAlpha = 4,
  kMM3DBlendInvSourceAlpha = 5,
  kMM3DBlendDestColor = 6,
  kMM3DBlendInvDestColor = 7,
  kMM3DBlendSourceColor = 8,
  kMM3DBlendInvSourceColor = 9
};

// 0: the texture colour multiplies the vertex colour; otherwise it replaces it.
enum MM3DTextureMode : int32_t { kMM3DTextureModulate = 0, kMM3DTextureReplace = 1 };

enum MM3DPerspectiveHint : int32_t { kMM3DPerspectiveCorrect = 0, kMM3DPerspectiveFastest = 1 };

enum MM3DDithering : int32_t { kMM3DDitheringOn = 0, kMM3DDitheringOff = 1 };

// A device state not yet sent.
constexpr int32_t kMM3DStateUnset = -1;

// The display mode asked of a driver.
struct MM3DDeviceMode {
  MM3DDeviceMode(int32_t width, int32_t height, int32_t colorDepthCode, uint8_t hardware,
                 uint8_t fullScreen)
      : mWidth(width),
        mHeight(height),
        mHardware(hardware),
        mFullScreen(fullScreen),
        mColorDepthCode(colorDepthCode) {}

  // 16, 24 or 32.
  int32_t GetColorBits() const;
  // 0 (no depth buffer), 16 or 32.
  int32_t GetDepthBits() const;

  int32_t mWidth;
  int32_t mHeight;
  uint8_t mHardware;             // 1 asks for an accelerated device
  uint8_t mFullScreen;           // 1 runs full screen with its own display mode
  int32_t mColorDepthCode;       // 0 16 bits, 1 24, otherwise 32
  int32_t mDepthBufferCode = 0;  // 0 none, 1 16 bits, otherwise 32
};

struct MM3DBlendFactors {
  constexpr MM3DBlendFactors() = default;
  constexpr MM3DBlendFactors(int32_t source, int32_t destination)
      : mSource(source), mDestination(destination) {}

  // A source cannot use the source colour, a destination not the
  // destination colour, and neither may be unset.
  bool IsValid() const;
  bool operator==(const MM3DBlendFactors& other) const = default;
  // Source, then destination, as two 32-bit integers.
  bool Write(UUWriter& writer) const;
  // The pair changes only when both were read.
  bool Read(UUReader& reader);

  int32_t mSource = kMM3DBlendUnset;
  int32_t mDestination = kMM3DBlendUnset;
};

struct MM3DDepthRange {
  MM3DDepthRange() = default;
  MM3DDepthRange(float nearZ, float farZ) : mNear(nearZ), mFar(farZ) {}

  // Both inside [0, 1] and near before far.
  bool IsValid() const;
  bool operator==(const MM3DDepthRange& other) const = default;
  bool Write(UUWriter& writer) const;
  // The range changes only when both were read.
  bool Read(UUReader& reader);

  float mNear = 0.0f;
  float mFar = 1.0f;
};
