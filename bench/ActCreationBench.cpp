// The creation act over the program's own data files. One creation-screen
// frame (the four scenes ticked, the palette and a creation of 20 shapes
// drawn, presented) against the framework's 3D act drawing the same
// display trees as plain visuals in two views of the same cameras: the aim
// is at most 1.3 times. The same frame with 50 shapes and Pomble, all six
// parts on, against the triangles that frame hands to the 3D driver handed
// to it directly: the aim is at most 2.5 times. And the file button's
// change of screens up to the animation's first frame, as a share of a
// 60 Hz frame: the aim is at most two frames.

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreationChar.h"
#include "app/creation/VPLObjCreationUser.h"
#include "app/creation/VPLPombleVisual.h"
#include "app/creation/VPLSceneCreationArea.h"
#include "app/shell/VPLActCreation.h"
#include "app/shell/VPLProgramValues.h"
#include "app/shell/VPLSceneCreationUI.h"
#include "bench/CapturedFrame.h"
#include "bench/RatioOverFloor.h"
#include "mm/drawing/MMRegion.h"
#include "mm/stage/MM3DDisplayTreeVisual.h"
#include "mm/stage/MM3DSpatialEnclosure.h"
#include "mm/stage/MM3DSpatialView.h"
#include "mm3d/MM3DModelCollection.h"
#include "mm3d/MM3DRenderer.h"
#include "mm3d/drivers/MM3DDriver.h"
#include "tests/app/shell/ProgramStage.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

// The primitive tool's shapes: cube to arch.
constexpr MMResourceId kFirstShape = 80;
constexpr int32_t kShapeKinds = 10;
constexpr int32_t kFrameMilliseconds = 16;
constexpr double kFrameSeconds = 1.0 / 60.0;

void UseProgramData() {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  setenv("VPL3D_TEST", "1", 0);
  setenv("VPL_DATA_DIR", VPL_DEFAULT_DATA_DIR, 0);
  VPLOpenGLFirst = 1;
}

// Shapes on the meadow in rows of five around the middle.
void AddShapes(VPLSceneCreationArea& area, MM3DDriverTextureMap* map, int32_t shapes) {
  const int32_t rows = (shapes + 4) / 5;
  for (int32_t i = 0; i < shapes; ++i) {
    auto* shape = new VPLObjCreationUser(&area, MM3DGetModel(kFirstShape + i % kShapeKinds, map),
                                         area.GetCreation());
    const auto x = static_cast<float>(i % 5 - 2) * 6.0f;
    const auto z = static_cast<float>(i / 5 - rows / 2) * 6.0f;
    area.GetCreation()->AddObjectAt(shape, MM3DVector(x, 0.0f, z, 1.0f));
  }
}

// Pomble as the character button adds it, then with every part switched on.
void AddPomble(VPLSceneCreationArea& area) {
  area.AddCharacter();
  auto* pomble = dynamic_cast<VPLObjCreationChar*>(area.GetCreation()->FindCharacter());
  if (pomble == nullptr || pomble->GetPoseVisual() == nullptr) return;
  pomble->GetPoseVisual()->AllPartsOn();
  pomble->RefreshPartHighlight();
}

// The creation screen of the program's creation act on the shell tests'
// stage, with a creation of the given shapes and, if asked, Pomble. The
// program's data files are chosen before it is made.
class CreationScreen {
 public:
  CreationScreen(int32_t shapes, bool withPomble)
      : mStage(&mMaker, 1), mAct(dynamic_cast<VPLActCreation*>(mStage.Act())) {
    if (!Ready()) return;
    VPLSceneCreationArea& area = *mAct->GetCreationArea();
    AddShapes(area, mStage.Stage().GetTextureMap(), shapes);
    if (withPomble) AddPomble(area);
    mNow = mStage.Now();
    RunFrame();
  }
  ~CreationScreen() { VPLSceneCreationUI::ResetQuittingForTest(); }
  CreationScreen(const CreationScreen&) = delete;
  CreationScreen& operator=(const CreationScreen&) = delete;

  bool Ready() const {
    return mFiles.Ready() && mAct != nullptr && mAct->GetCreationArea() != nullptr;
  }
  bool HasPomble() const {
    return mAct->GetCreationArea()->GetCreation()->FindCharacter() != nullptr;
  }
  VPLActCreation& Act() const { return *mAct; }
  MMStage& Stage() const { return mStage.Stage(); }
  void RunFrame() { mStage.RunFrameAt(mNow += kFrameMilliseconds); }
  // The act draws only frames that changed; every timed one does.
  void Repaint() { mAct->Repaint(); }

 private:
  const shell_test::ProgramDataFiles mFiles;
  shell_test::CreationActMaker mMaker;
  shell_test::ProgramStage mStage;
  VPLActCreation* mAct;
  int32_t mNow = 0;
};

// What the act's shown views draw, as plain visuals of the same display
// trees in views of the same cameras and depth ranges, drawn and presented
// the way the framework's 3D act draws its views.
class PlainCopy {
 public:
  explicit PlainCopy(VPLActCreation& act) : mAct(act) {
    for (MMView* view : act.GetViews()) {
      if (view->IsVisible()) Copy(*view);
    }
  }
  ~PlainCopy() {
    for (auto& copy : mCopies) {
      for (auto& visual : copy->mVisuals) copy->mSpace.RemoveVisual(visual.get());
      copy->mView.Detach();
    }
  }
  PlainCopy(const PlainCopy&) = delete;
  PlainCopy& operator=(const PlainCopy&) = delete;

  void Draw() {
    MMStage& stage = *mAct.GetStage();
    const UURefCount<MM3DRenderer> renderer = stage.GetRenderer();
    renderer->BeginFrame();
    for (auto& copy : mCopies) {
      MMRegion region;
      region.Set(copy->mView.GetRect());
      copy->mView.Draw(region);
    }
    renderer->EndFrame();
    stage.GetDriver()->Present();
  }

 private:
  struct Copy {
    Copy(VPLActCreation& act, const MMView& view)
        : mSpace(act.GetStage()),
          mView(act.GetViewServices(), &mSpace, view.GetRect(), view.GetDepth()) {}
    MM3DSpatialEnclosure mSpace;
    MM3DSpatialView mView;
    std::vector<std::unique_ptr<MM3DDisplayTreeVisual>> mVisuals;
  };

  void Copy(const MMView& view) {
    auto copy = std::make_unique<struct Copy>(mAct, view);
    copy->mView.SetProjection(view.GetProjection());
    copy->mView.SetDepthRange(view.GetDepthRange());
    copy->mView.UpdateViewMatrix(view.GetViewMatrix());
    // Kept out of the act's own frames; drawn by hand.
    copy->mView.SetVisibility(kMMHidden);
    for (MMVisual* visual : view.GetEnclosure()->GetVisuals()) {
      auto* tree = dynamic_cast<MM3DDisplayTreeVisual*>(visual);
      if (tree == nullptr || tree->GetVisibility() != kMMShown) continue;
      copy->mVisuals.push_back(
          std::make_unique<MM3DDisplayTreeVisual>(tree->GetDisplayTree(), tree->GetDepth()));
      copy->mVisuals.back()->SetVisibility(kMMShown);
      copy->mSpace.AddVisual(copy->mVisuals.back().get());
    }
    mCopies.push_back(std::move(copy));
  }

  VPLActCreation& mAct;
  std::vector<std::unique_ptr<struct Copy>> mCopies;
};

void BM_CreationScreenFrameOverPlainVisuals(benchmark::State& state) {
  UseProgramData();
  CreationScreen screen(20, false);
  if (!screen.Ready()) {
    state.SkipWithError("no program data or no 3D device");
    return;
  }
  PlainCopy plain(screen.Act());
  ReportRatioOverFloor(
      state, [&] { plain.Draw(); }, [&] { screen.RunFrame(); }, [&] { screen.Repaint(); });
}
BENCHMARK(BM_CreationScreenFrameOverPlainVisuals)->Unit(benchmark::kMillisecond)->Iterations(100);

void BM_CreationScreenWithPombleFrameOverDriver(benchmark::State& state) {
  UseProgramData();
  CreationScreen screen(50, true);
  if (!screen.Ready() || !screen.HasPomble()) {
    state.SkipWithError("no program data, no Pomble or no 3D device");
    return;
  }
  screen.Repaint();
  CapturedFrame floor(screen.Stage(), [&] { screen.RunFrame(); });
  if (!floor.Ready()) {
    state.SkipWithError("the frame drew no triangles");
    return;
  }
  state.counters["triangles"] = floor.GetTriangles();
  ReportRatioOverFloor(
      state, [&] { floor.Draw(); }, [&] { screen.RunFrame(); }, [&] { screen.Repaint(); });
}
BENCHMARK(BM_CreationScreenWithPombleFrameOverDriver)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(100);

void BM_LeaveForFileScreenToFirstFrameInFrames(benchmark::State& state) {
  UseProgramData();
  const shell_test::ProgramDataFiles files;
  shell_test::FileScreenActMaker maker;
  shell_test::ProgramStage stage(&maker, 1);
  auto* act = dynamic_cast<VPLActCreation*>(stage.Act());
  if (!files.Ready() || !maker.Ready() || act == nullptr || act->GetFileScreen() == nullptr) {
    state.SkipWithError("no program data, library or 3D device");
    return;
  }
  using Clock = std::chrono::steady_clock;
  Clock::duration total{};
  int32_t now = stage.Now();
  const auto playOut = [&] {
    for (int32_t frame = 0; frame < 200 && !act->IsInputEnabled(); ++frame) {
      stage.RunFrameAt(now += kFrameMilliseconds);
    }
  };
  for (auto _ : state) {
    state.PauseTiming();
    if (act->GetMode() == VPLActCreation::kFileScreenMode) act->ReturnToCreation();
    playOut();
    state.ResumeTiming();
    const auto start = Clock::now();
    act->LeaveForFileScreen(kVPLCreationUIScene);
    stage.RunFrameAt(now += kFrameMilliseconds);
    total += Clock::now() - start;
    state.PauseTiming();
    playOut();
    state.ResumeTiming();
  }
  state.counters["ratio"] = std::chrono::duration<double>(total).count() / kFrameSeconds /
                            static_cast<double>(state.iterations());
  VPLSceneCreationUI::ResetQuittingForTest();
}
BENCHMARK(BM_LeaveForFileScreenToFirstFrameInFrames)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
