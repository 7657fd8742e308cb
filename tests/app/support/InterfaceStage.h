#pragma once
// A real stage for the application's interface tests: a 3D act on the
// offscreen OpenGL driver shows one interface scene in a spatial view over
// the whole stage. The test plays the child: mouse and key messages go in
// through the stage control's input strategy, frames run on the test's
// thread (and with them the queued callbacks), and pixels are read back.

#include "app/objects/VPLSceneUIBase.h"
#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "mm/stage/MM3DAct.h"
#include "mm/stage/MM3DSpatialEnclosure.h"
#include "mm/stage/MM3DSpatialView.h"
#include "tests/mm/stage/Stage3DTestSupport.h"
#include "tests/mm3d/drivers/DriverFixture.h"

#include <functional>
#include <memory>

// An interface scene whose owner may add controls; its camera is the given
// row of the camera script, row 0 unless said.
class PlainInterfaceScene : public VPLSceneUIBase {
 public:
  PlainInterfaceScene(MMSceneServices* host, MMEnclosure* enclosure, MMView* view,
                      int32_t cameraRow = 0)
      : VPLSceneUIBase(host, enclosure, view, cameraRow) {}
  using VPLSceneUIBase::AppendInterfaceObject;
};

class InterfaceAct : public MM3DAct {
 public:
  using SceneMaker = std::function<VPLSceneUIBase*(MMSceneServices*, MMEnclosure*, MMView*)>;

  InterfaceAct(MMStage* stage, MMDisplayModeStrategy* strategy, const SceneMaker& maker);
  ~InterfaceAct() override;

  // The scene takes every mouse event and key; it ticks before each frame.
  void HandleMouse(const MMMouseEvent& event) override { mScene->OnMouse(event); }
  void HandleKey(const MMKeyEvent& event) override { mScene->OnKey(event); }
  void Draw() override;

  VPLSceneUIBase& Scene() const { return *mScene; }
  MMView& View() { return mView; }

 private:
  MM3DSpatialEnclosure mEnclosure{GetStage()};
  MM3DSpatialView mView{GetViewServices(), &mEnclosure, GetStage()->GetLocalRect(), 0};
  std::unique_ptr<VPLSceneUIBase> mScene;
};

class InterfaceStage {
 public:
  static constexpr int32_t kWidth = 640;
  static constexpr int32_t kHeight = 480;

  explicit InterfaceStage(InterfaceAct::SceneMaker maker = MakePlainScene);
  static VPLSceneUIBase* MakePlainScene(MMSceneServices* host, MMEnclosure* enclosure,
                                        MMView* view);
  ~InterfaceStage();

  VPLSceneUIBase& Scene() { return mAct->Scene(); }
  // The scene the default maker made.
  PlainInterfaceScene& Plain() { return static_cast<PlainInterfaceScene&>(Scene()); }
  MMStage* Stage() { return mRun.mStage; }

  void Move(UUPoint at);
  void Press(UUPoint at);
  // A move with the button held.
  void Drag(UUPoint at);
  void Release(UUPoint at);
  // The same with keys held as well (MK_CONTROL, MK_SHIFT).
  void Press(UUPoint at, WPARAM keys);
  void Drag(UUPoint at, WPARAM keys);
  void Release(UUPoint at, WPARAM keys);
  // The second click of a double click: the system's double-click message.
  void DoubleClick(UUPoint at);
  void Type(char character);
  // A key pressed alone (a virtual-key code: VK_ESCAPE, VK_RETURN).
  void Key(int virtualKey);
  // Runs the queued tasks (the posted callbacks) and draws a frame.
  void RunFrame();
  // The colour drawn at the point in the last frame.
  Rgb PixelAt(UUPoint at) const;
  // The stage pixel a world point is drawn at.
  UUPoint ScreenPointOf(const MM3DVector& world);

 private:
  void Send(UINT message, WPARAM wParam, UUPoint at);

  // The engine's scratch arrays, which the program's start-up makes.
  struct EngineScratch {
    EngineScratch();
    ~EngineScratch();
  };

  EngineScratch mScratch;
  std::unique_ptr<WinMMOffscreenSurface> mSurface{
      WinMMCreateOffscreenSurface(32, UURect(0, 0, kWidth, kHeight), AFPalette())};
  Installing3DStrategy mStrategy{[this] {
    return WinMM3DGLCreateBitmapDriver(kPrimaryDriver, OffscreenMode(kWidth, kHeight), *mSurface);
  }};
  InterfaceAct::SceneMaker mMaker;
  InterfaceAct* mAct = nullptr;
  StageOnTestThread mRun;
};
