#pragma once
// Draws a screen of the built files the way the program does: the models
// of vpl3d.MMM with their textures from vpl3d.MMX, placed as the program
// places them, lit by the lights of the backdrop models, from a camera
// with the screen's projection, through the offscreen OpenGL driver. The
// content check proves with it that each object shows where the layout
// puts it; the pictures can be kept to be looked at.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace content_check {

// A model and what the program does to it before drawing: scale, a turn
// about y (radians), then a move.
struct PlacedModel {
  int16_t mId = 0;
  float mPosition[3] = {0, 0, 0};
  float mScale = 1.0f;
  float mTurnY = 0.0f;
};

struct ScreenView {
  float mEye[3];
  float mInterest[3];
  float mFieldOfView;  // degrees, vertical
  float mNear;
  float mFar;
};

struct ScreenPicture {
  int32_t mWidth = 0;
  int32_t mHeight = 0;
  // 0xRRGGBB per pixel, the top row first.
  std::vector<uint32_t> mPixels;

  uint32_t At(int32_t x, int32_t y) const {
    return mPixels[static_cast<size_t>(y) * static_cast<size_t>(mWidth) + static_cast<size_t>(x)];
  }
};

// The colour the picture is cleared to before drawing.
constexpr uint32_t kClearColor = 0x000000;

// The models drawn in order with every model's lights in scope; nothing
// when the files, the driver or a model cannot be had.
std::optional<ScreenPicture> DrawScreen(const std::filesystem::path& folder,
                                        const std::vector<PlacedModel>& models,
                                        const ScreenView& view, int32_t width, int32_t height);

// Writes the picture as a PNG file; false when it cannot.
bool WritePng(const ScreenPicture& picture, const std::filesystem::path& file);

}  // namespace content_check
