#include "tools/databuilder/render/SceneDrawing.h"

#include "foundation/af/AFPalette.h"
#include "foundation/uu/UUDirectory.h"
#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "mm3d/MM3DAnimationClip.h"
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

#include <cstdio>
#include <numbers>

namespace databuilder {

namespace {

// The files' collections and the shading scratch, while a drawing lives.
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

UUDirectory DirectoryOf(const std::filesystem::path& folder) {
  return UUDirectory(vpl::platform::ToWindowsPath(std::filesystem::absolute(folder)).c_str());
}

UURefCount<MM3DDriver> MakeDriver(WinMMOffscreenSurface* surface, int32_t width, int32_t height) {
  if (surface == nullptr) return {};
  WinMM3DGLDriverInfo info;
  std::snprintf(info.mLibrary, sizeof info.mLibrary, "OPENGL32.DLL");
  MM3DDeviceMode mode(width, height, 2, 0, 1);
  mode.mDepthBufferCode = 1;
  return WinMM3DGLCreateBitmapDriver(info, mode, *surface);
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

ScreenPicture ReadSurface(WinMMOffscreenSurface& surface, int32_t width, int32_t height) {
  const BITMAPINFOHEADER& header = surface.GetInfoHeader();
  const auto* bits = static_cast<const uint8_t*>(surface.GetBits());
  const size_t stride = static_cast<size_t>(header.biWidth) * 4;
  ScreenPicture picture{width, height, {}};
  picture.mPixels.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
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

// A model of the scene and the transform the program would put above it.
struct SceneModel {
  UURefCount<MM3DModel> mModel;
  MM3DDisplayTreeNodeSRTTransform* mPlace = nullptr;
};

}  // namespace

struct SceneDrawing::Parts {
  Parts(const std::filesystem::path& folder, int32_t width, int32_t height)
      : mWidth(width),
        mHeight(height),
        mFiles(DirectoryOf(folder)),
        mSurface(WinMMCreateOffscreenSurface(32, UURect(0, 0, width, height), AFPalette())),
        mDriver(MakeDriver(mSurface.get(), width, height)) {
    if (!mDriver.IsEmpty()) mTextures.SetDriver(mDriver.Get(), &mStrategy);
  }
  ~Parts() {
    // The models' textures go before the driver they live in.
    mModels.clear();
    mTextures.SetDriver(nullptr, nullptr);
  }

  int32_t mWidth;
  int32_t mHeight;
  OpenFiles mFiles;
  std::unique_ptr<WinMMOffscreenSurface> mSurface;
  UURefCount<MM3DDriver> mDriver;
  MM3DStandardDriverTextureStrategy mStrategy;
  MM3DDriverTextureMap mTextures;
  std::vector<SceneModel> mModels;
};

SceneDrawing::SceneDrawing(const std::filesystem::path& folder, int32_t width, int32_t height)
    : mParts(std::make_unique<Parts>(folder, width, height)) {}

SceneDrawing::~SceneDrawing() = default;

bool SceneDrawing::IsReady() const { return mParts->mFiles.IsOpen() && !mParts->mDriver.IsEmpty(); }

size_t SceneDrawing::GetCount() const { return mParts->mModels.size(); }

bool SceneDrawing::Add(const PlacedModel& placed) {
  if (!IsReady()) return false;
  UURefCount<MM3DModel> model = mParts->mFiles.Models().GetModel(placed.mId, &mParts->mTextures);
  if (model.IsEmpty() || !model->HasDisplayTree()) return false;
  auto* root = dynamic_cast<MM3DDisplayTreeNodeWithChildren*>(model->GetDisplayTree());
  if (root == nullptr) return false;
  auto* place = new MM3DDisplayTreeNodeSRTTransform;
  root->InterposeChild(UUOwned<MM3DDisplayTreeNodeWithChildren>(place));
  mParts->mModels.push_back({model, place});
  Place(mParts->mModels.size() - 1, placed);
  return true;
}

void SceneDrawing::Place(size_t i, const PlacedModel& placed) {
  const SceneModel& scene = mParts->mModels[i];
  MM3DDisplayTreeNodeSRTTransform& place = *scene.mPlace;
  place.SetScaleX(placed.mScale);
  place.SetScaleY(placed.mScale);
  place.SetScaleZ(placed.mScale);
  place.SetRotationY(placed.mTurnY);
  place.SetTranslation(
      MM3DVector(placed.mPosition[0], placed.mPosition[1], placed.mPosition[2], 1.0f));
  if (placed.mClipSeconds >= 0.0f && scene.mModel->HasAnimationClip()) {
    scene.mModel->GetAnimationClip()->Apply(placed.mClipSeconds);
  }
}

ScreenPicture SceneDrawing::Draw(const ScreenView& view) {
  Parts& parts = *mParts;
  MM3DStandardRenderer renderer(parts.mDriver);
  renderer.SetViewport(UURect(0, 0, parts.mWidth, parts.mHeight));
  MM3DStandardPipeline pipeline;
  MM3DProjectionVolume volume;
  volume.SetPerspective(view.mFieldOfView * std::numbers::pi_v<float> / 180.0f,
                        static_cast<float>(parts.mWidth) / static_cast<float>(parts.mHeight),
                        view.mNear, view.mFar);
  pipeline.SetProjection(volume);
  pipeline.SetCameraMatrix(ViewMatrix(view));
  renderer.BeginFrame();
  MM3DRenderContext context(true);
  for (const SceneModel& scene : parts.mModels) {
    for (const UURefCount<MM3DLight>& light : scene.mModel->GetLights()) {
      context.PushLight(light.Get());
    }
  }
  for (const SceneModel& scene : parts.mModels) {
    scene.mModel->GetDisplayTree()->Render(context, pipeline, renderer);
  }
  for (const SceneModel& scene : parts.mModels) {
    for (const UURefCount<MM3DLight>& light : scene.mModel->GetLights()) {
      context.PopLight(light.Get());
    }
  }
  renderer.EndFrame();
  return ReadSurface(*parts.mSurface, parts.mWidth, parts.mHeight);
}

std::optional<ScreenPicture> DrawScreen(const std::filesystem::path& folder,
                                        const std::vector<PlacedModel>& models,
                                        const ScreenView& view, int32_t width, int32_t height) {
  SceneDrawing drawing(folder, width, height);
  for (const PlacedModel& placed : models) {
    if (!drawing.Add(placed)) return std::nullopt;
  }
  if (!drawing.IsReady()) return std::nullopt;
  return drawing.Draw(view);
}

}  // namespace databuilder
