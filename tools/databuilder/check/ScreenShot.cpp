#include "tools/databuilder/check/ScreenShot.h"

#include "foundation/af/AFPalette.h"
#include "foundation/uu/UUDirectory.h"
#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "mm3d/MM3DCamera.h"
#include "mm3d/MM3DDisplayTreeNodeSRTTransform.h"
#include "mm3d/MM3DDriverTextureMap.h"
#include "mm3d/MM3DMaterial.h"
#include "mm3d/MM3DModel.h"
#include "mm3d/MM3DModelCollection.h"
#include "mm3d/MM3DModelLoader.h"
#include "mm3d/MM3DProjectionVolume.h"
#include "mm3d/MM3DRenderContext.h"
#include "mm3d/MM3DStandardPipeline.h"
#include "mm3d/MM3DStandardRenderer.h"
#include "mm3d/MM3DTextureCollection.h"
#include "mm3d/MM3DTextureLoader.h"
#include "mm3d/drivers/win/WinMM3DGLBitmapDriverAdapter.h"
#include "platform/win32/PathMapping.h"

#include <cairo.h>

#include <cstdio>
#include <memory>
#include <numbers>

namespace content_check {

namespace {

// The files' collections and the shading scratch for one drawing, gone
// again when it ends.
class OpenFiles {
 public:
  explicit OpenFiles(const UUDirectory& directory)
      : mTextures(MM3DOpenTextureResourceFile(directory, "vpl3d.MMX", false)),
        mModels(MM3DOpenModelResourceFile(directory, "vpl3d.MMM", false)) {
    MM3DCreateShadingScratch();
  }
  ~OpenFiles() {
    MM3DDestroyShadingScratch();
    MM3DDestroyModelCollections();
    MM3DDestroyTextureCollections();
  }
  OpenFiles(const OpenFiles&) = delete;
  OpenFiles& operator=(const OpenFiles&) = delete;

  bool IsOpen() const { return mTextures != nullptr && mModels != nullptr; }
  MM3DModelLoader& Models() const { return *mModels; }

 private:
  MM3DTextureLoader* mTextures;
  MM3DModelLoader* mModels;
};

UURefCount<MM3DModel> LoadPlaced(const OpenFiles& files, const PlacedModel& placed,
                                 MM3DDriverTextureMap& textures) {
  UURefCount<MM3DModel> model = files.Models().GetModel(placed.mId, &textures);
  if (model.IsEmpty() || !model->HasDisplayTree()) return {};
  auto* root = dynamic_cast<MM3DDisplayTreeNodeWithChildren*>(model->GetDisplayTree());
  if (root == nullptr) return {};
  auto* place = new MM3DDisplayTreeNodeSRTTransform;
  place->SetScaleX(placed.mScale);
  place->SetScaleY(placed.mScale);
  place->SetScaleZ(placed.mScale);
  place->SetRotationY(placed.mTurnY);
  place->SetTranslation(
      MM3DVector(placed.mPosition[0], placed.mPosition[1], placed.mPosition[2], 1.0f));
  root->InterposeChild(UUOwned<MM3DDisplayTreeNodeWithChildren>(place));
  return model;
}

MM3DMatrix ViewMatrix(const ScreenView& view) {
  MM3DCamera camera(MM3DVector(view.mEye[0], view.mEye[1], view.mEye[2], 1.0f),
                    UUOwned<MM3DVector>(new MM3DVector(view.mInterest[0], view.mInterest[1],
                                                       view.mInterest[2], 1.0f)),
                    0.0f);
  MM3DMatrix matrix;
  camera.GetViewMatrix(matrix);
  return matrix;
}

void Render(const std::vector<UURefCount<MM3DModel>>& models, const ScreenView& view,
            const UURefCount<MM3DDriver>& driver, int32_t width, int32_t height) {
  MM3DStandardRenderer renderer(driver);
  renderer.SetViewport(UURect(0, 0, width, height));
  MM3DStandardPipeline pipeline;
  MM3DProjectionVolume volume;
  volume.SetPerspective(view.mFieldOfView * std::numbers::pi_v<float> / 180.0f,
                        static_cast<float>(width) / static_cast<float>(height), view.mNear,
                        view.mFar);
  pipeline.SetProjection(volume);
  pipeline.SetCameraMatrix(ViewMatrix(view));
  renderer.BeginFrame();
  MM3DRenderContext context(true);
  for (const UURefCount<MM3DModel>& model : models) {
    for (const UURefCount<MM3DLight>& light : model->GetLights()) context.PushLight(light.Get());
  }
  for (const UURefCount<MM3DModel>& model : models) {
    model->GetDisplayTree()->Render(context, pipeline, renderer);
  }
  for (const UURefCount<MM3DModel>& model : models) {
    for (const UURefCount<MM3DLight>& light : model->GetLights()) context.PopLight(light.Get());
  }
  renderer.EndFrame();
}

ScreenPicture ReadSurface(WinMMOffscreenSurface& surface, int32_t width, int32_t height) {
  const BITMAPINFOHEADER& header = surface.GetInfoHeader();
  const auto* bits = static_cast<const uint8_t*>(surface.GetBits());
  const size_t stride = static_cast<size_t>(header.biWidth) * 4;
  ScreenPicture picture{width, height, {}};
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* row = bits + static_cast<size_t>(header.biHeight - 1 - y) * stride;
    for (int32_t x = 0; x < width; ++x) {
      const uint8_t* p = row + static_cast<size_t>(x) * 4;
      picture.mPixels.push_back(static_cast<uint32_t>(p[2]) << 16 |
                                static_cast<uint32_t>(p[1]) << 8 | p[0]);
    }
  }
  return picture;
}

}  // namespace

std::optional<ScreenPicture> DrawScreen(const std::filesystem::path& folder,
                                        const std::vector<PlacedModel>& models,
                                        const ScreenView& view, int32_t width, int32_t height) {
  const UUDirectory directory(
      vpl::platform::ToWindowsPath(std::filesystem::absolute(folder)).c_str());
  const OpenFiles files(directory);
  if (!files.IsOpen()) return std::nullopt;
  std::unique_ptr<WinMMOffscreenSurface> surface(
      WinMMCreateOffscreenSurface(32, UURect(0, 0, width, height), AFPalette()));
  if (surface == nullptr) return std::nullopt;
  WinMM3DGLDriverInfo info;
  std::snprintf(info.mLibrary, sizeof info.mLibrary, "OPENGL32.DLL");
  MM3DDeviceMode mode(width, height, 2, 0, 1);
  mode.mDepthBufferCode = 1;
  UURefCount<MM3DDriver> driver = WinMM3DGLCreateBitmapDriver(info, mode, *surface);
  if (driver.IsEmpty()) return std::nullopt;
  MM3DStandardDriverTextureStrategy strategy;
  MM3DDriverTextureMap textures;
  textures.SetDriver(driver.Get(), &strategy);
  std::optional<ScreenPicture> picture;
  {
    std::vector<UURefCount<MM3DModel>> loaded;
    for (const PlacedModel& placed : models) {
      loaded.push_back(LoadPlaced(files, placed, textures));
      if (loaded.back().IsEmpty()) break;
    }
    if (loaded.size() == models.size() && (models.empty() || !loaded.back().IsEmpty())) {
      Render(loaded, view, driver, width, height);
      picture = ReadSurface(*surface, width, height);
    }
  }
  textures.SetDriver(nullptr, nullptr);
  return picture;
}

bool WritePng(const ScreenPicture& picture, const std::filesystem::path& file) {
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, picture.mWidth, picture.mHeight);
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int32_t stride = cairo_image_surface_get_stride(surface);
  for (int32_t y = 0; y < picture.mHeight; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    for (int32_t x = 0; x < picture.mWidth; ++x) row[x] = picture.At(x, y);
  }
  cairo_surface_mark_dirty(surface);
  const bool written = cairo_surface_write_to_png(surface, file.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return written;
}

}  // namespace content_check
