#pragma once
// Draws scenes of the built files the way the program does: the models of
// vpl3d.MMM with their textures from vpl3d.MMX, placed as the program
// places them, lit by every model's lights, from a camera with a
// perspective projection, through the offscreen OpenGL driver. The content
// check proves with it that each object shows where the layout puts it;
// the film stage draws the intro's frames with it.

#include "foundation/uu/UURefCount.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

class MM3DModel;

namespace databuilder {

// A model and what the program does to it before drawing: scale, a turn
// about y (radians), then a move; a model with a clip is posed at the
// clip's time when that is not negative.
struct PlacedModel {
  int16_t mId = 0;
  float mPosition[3] = {0, 0, 0};
  float mScale = 1.0f;
  float mTurnY = 0.0f;
  float mClipSeconds = -1.0f;
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

// The built files and a driver of one picture size, open while it lives,
// holding a scene of models that can be moved and drawn again and again.
class SceneDrawing {
 public:
  SceneDrawing(const std::filesystem::path& folder, int32_t width, int32_t height);
  ~SceneDrawing();
  SceneDrawing(const SceneDrawing&) = delete;
  SceneDrawing& operator=(const SceneDrawing&) = delete;

  // False when the files or the driver cannot be had.
  bool IsReady() const;
  // Loads the model into the scene, drawn in the order added; false when it
  // cannot be loaded.
  bool Add(const PlacedModel& placed);
  // Moves and poses model i of the scene.
  void Place(size_t i, const PlacedModel& placed);
  size_t GetCount() const;
  ScreenPicture Draw(const ScreenView& view);

 private:
  struct Parts;
  std::unique_ptr<Parts> mParts;
};

// The models drawn in order; nothing when the files, the driver or a model
// cannot be had.
std::optional<ScreenPicture> DrawScreen(const std::filesystem::path& folder,
                                        const std::vector<PlacedModel>& models,
                                        const ScreenView& view, int32_t width, int32_t height);

}  // namespace databuilder
