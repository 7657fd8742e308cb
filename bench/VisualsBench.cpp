// A 2D frame of a scene of a hundred visuals (solid boxes and pictures) in
// which one small box moves a pixel: redrawing the dirty region only,
// against redrawing the whole stage. Each frame draws the act's views into
// the back surface and presents the redrawn area to the window.
#include "mm/drawing/MMBlitRequest.h"
#include "mm/resources/MMBitmapPictureCollection.h"
#include "mm/stage/MM2DAct.h"
#include "mm/stage/MM2DDisplayModeStrategy.h"
#include "mm/stage/MM2DPictureVisual.h"
#include "mm/stage/MMEnclosure.h"
#include "mm/stage/MMStage.h"
#include "mm/stage/MMStageWindow.h"
#include "mm/stage/MMView.h"
#include "mm/tasks/MMTaskManager.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

constexpr int32_t kColumns = 10;
constexpr int32_t kRows = 10;
constexpr UURect kStageRect(0, 0, 640, 480);

class BenchStage : public MMStage {
 public:
  explicit BenchStage(MMStageWindow* window) : MMStage(window, kStageRect, nullptr) {}
  MMAct* CreateNextAct() override {
    return new (ALGlobalAllocator) MM2DAct(this, &MMStandard2DDisplayModeStrategy());
  }
};

void Drain() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

// A 40 x 30 keyed 32-bit picture with a transparent corner.
MMResourceId AddPicture(MMBitmapPictureCollection& collection) {
  std::unique_ptr<MMBitmapWithPixels> bitmap(
      MMBitmapWithPixels::Create(UURect(0, 0, 40, 30), kMMFormat32, nullptr));
  bitmap->mSubFormat = kMMSubFormatKeyed;
  for (int32_t y = 0; y < 30; ++y) {
    for (int32_t x = 0; x < 40; ++x) {
      uint8_t* pixel = bitmap->GetPixelAddress(x, y);
      pixel[0] = static_cast<uint8_t>(x * 6);
      pixel[1] = static_cast<uint8_t>(y * 8);
      pixel[2] = 128;
      pixel[3] = x + y < 8 ? 255 : 0;
    }
  }
  return collection.AddBitmap(collection.FindFreeSlot(), *bitmap, nullptr);
}

// The stage on this thread, its act showing one enclosure of a hundred
// visuals over the whole stage.
struct Scene {
  Scene() {
    mStage->Init();
    mStage->RequestActSwitch();
    mStage->UpdateLoop(mStage->GetTaskManager()->GetNow(), true);
    Drain();
    mAct = static_cast<MM2DAct*>(mStage->GetAct());
    mEnclosure = std::make_unique<MM2DPlanarEnclosure>(mStage);
    mView =
        std::make_unique<MM2DPlanarView>(mAct->GetViewServices(), mEnclosure.get(), kStageRect, 0);
    const MMPictureReference picture(AddPicture(mPictures));
    for (int32_t i = 0; i < kColumns * kRows - 1; ++i) {
      const UUPoint at{(i % kColumns) * 64 + 4, (i / kColumns) * 48 + 4};
      if (i % 3 == 0) {
        mVisuals.push_back(std::make_unique<MM2DPictureVisual>(at, picture, i));
      } else {
        const AFColor color(AFRGB(static_cast<uint8_t>(i * 2), 90, static_cast<uint8_t>(255 - i)));
        mVisuals.push_back(std::make_unique<MM2DSolidBoxVisual>(
            color, UURect(at.mX, at.mY, at.mX + 56, at.mY + 40), i));
      }
    }
    mMoving = new MM2DSolidBoxVisual(AFColor(AFRGB(255, 255, 0)), UURect(300, 200, 320, 220), 1000);
    mVisuals.emplace_back(mMoving);
    for (auto& visual : mVisuals) mEnclosure->AddVisual(visual.get());
    Frame();
  }
  ~Scene() {
    for (auto& visual : mVisuals) mEnclosure->RemoveVisual(visual.get());
    mView->Detach();
    mView.reset();
    delete mWindow;
    Drain();
  }
  // A whole frame of the stage: tasks, the act's Draw and its Present.
  void Frame() {
    mStage->RequestUpdate(mStage->GetTaskManager()->GetNow(), true);
    mStage->RunPendingUpdate();
  }

  MMStageWindow* mWindow = new (ALGlobalAllocator) MMStageWindow(AFDefaultWindowDescription);
  BenchStage* mStage = new (ALGlobalAllocator) BenchStage(mWindow);
  MM2DAct* mAct = nullptr;
  MMBitmapPictureCollection mPictures{4, 30};
  std::unique_ptr<MM2DPlanarEnclosure> mEnclosure;
  std::unique_ptr<MM2DPlanarView> mView;
  std::vector<std::unique_ptr<MM2DVisual>> mVisuals;
  MM2DSolidBoxVisual* mMoving = nullptr;
};

// arg 0: the moved box's area only; 1: the whole stage.
void BM_FrameWithOneMovingVisual(benchmark::State& state) {
  MMInitializeBlitRoutines();
  Scene scene;
  int32_t step = 1;
  for (auto _ : state) {
    const UUPoint at = scene.mMoving->GetPosition();
    if (at.mX >= 340 || at.mX <= 300) step = -step;
    scene.mMoving->MoveTo(UUPoint{at.mX + step, at.mY});
    if (state.range(0) == 1) scene.mAct->Invalidate(kStageRect);
    scene.Frame();
  }
}
BENCHMARK(BM_FrameWithOneMovingVisual)->Arg(0)->Arg(1);

}  // namespace
