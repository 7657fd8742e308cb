#include "tests/app/support/InterfaceStage.h"

#include "mm/stage/MMInputStrategy.h"
#include "mm/stage/MMStageControl.h"
#include "mm/tasks/MMTaskManager.h"
#include "mm3d/MM3DDeformerScratch.h"
#include "mm3d/MM3DMaterial.h"

InterfaceAct::InterfaceAct(MMStage* stage, MMDisplayModeStrategy* strategy, const SceneMaker& maker)
    : MM3DAct(stage, strategy), mScene(maker(GetSceneServices(), &mEnclosure, &mView)) {
  mScene->Activate();
}

InterfaceAct::~InterfaceAct() {
  mScene->ResignFocus();
  mScene.reset();
  mView.Detach();
}

void InterfaceAct::Draw() {
  mScene->Tick(GetStage()->GetTaskManager()->GetNow());
  MM3DAct::Draw();
}

InterfaceStage::InterfaceStage(InterfaceAct::SceneMaker maker)
    : mMaker(std::move(maker)),
      mRun(
          [this](MMStage* stage) {
            mAct = new (ALGlobalAllocator) InterfaceAct(stage, &mStrategy, mMaker);
            return mAct;
          },
          false) {
  mRun.Start();
  Stage()->SetFocusAct(mAct);
}

InterfaceStage::~InterfaceStage() = default;

InterfaceStage::EngineScratch::EngineScratch() {
  MM3DCreateShadingScratch();
  MM3DCreateDeformerScratchArrays();
}

InterfaceStage::EngineScratch::~EngineScratch() {
  MM3DFreeDeformerScratchArrays();
  MM3DDestroyShadingScratch();
}

VPLSceneUIBase* InterfaceStage::MakePlainScene(MMSceneServices* host, MMEnclosure* enclosure,
                                               MMView* view) {
  return new PlainInterfaceScene(host, enclosure, view);
}

void InterfaceStage::Send(UINT message, WPARAM wParam, UUPoint at) {
  LRESULT result = 0;
  Stage()->GetInputStrategy()->HandleMessage(
      Stage()->GetControl()->GetHandle(), message, wParam,
      MAKELPARAM(static_cast<WORD>(at.mX), static_cast<WORD>(at.mY)), result);
}

void InterfaceStage::Move(UUPoint at) { Send(WM_MOUSEMOVE, 0, at); }
void InterfaceStage::Press(UUPoint at) { Send(WM_LBUTTONDOWN, MK_LBUTTON, at); }
void InterfaceStage::Drag(UUPoint at) { Send(WM_MOUSEMOVE, MK_LBUTTON, at); }
void InterfaceStage::Release(UUPoint at) { Send(WM_LBUTTONUP, 0, at); }
void InterfaceStage::Press(UUPoint at, WPARAM keys) { Send(WM_LBUTTONDOWN, MK_LBUTTON | keys, at); }
void InterfaceStage::Drag(UUPoint at, WPARAM keys) { Send(WM_MOUSEMOVE, MK_LBUTTON | keys, at); }
void InterfaceStage::Release(UUPoint at, WPARAM keys) { Send(WM_LBUTTONUP, keys, at); }
void InterfaceStage::DoubleClick(UUPoint at) { Send(WM_LBUTTONDBLCLK, MK_LBUTTON, at); }

void InterfaceStage::Type(char character) {
  LRESULT result = 0;
  Stage()->GetInputStrategy()->HandleMessage(Stage()->GetControl()->GetHandle(), WM_CHAR,
                                             static_cast<WPARAM>(character), 0, result);
}

void InterfaceStage::Key(int virtualKey) {
  LRESULT result = 0;
  Stage()->GetInputStrategy()->HandleMessage(Stage()->GetControl()->GetHandle(), WM_KEYDOWN,
                                             static_cast<WPARAM>(virtualKey), 0, result);
}

void InterfaceStage::RunFrame() { mRun.Frame(); }

Rgb InterfaceStage::PixelAt(UUPoint at) const {
  const BITMAPINFOHEADER& header = mSurface->GetInfoHeader();
  const auto* bits = static_cast<const uint8_t*>(mSurface->GetBits());
  const size_t stride = static_cast<size_t>(header.biWidth) * 4;
  const uint8_t* pixel = bits + static_cast<size_t>(header.biHeight - 1 - at.mY) * stride +
                         static_cast<size_t>(at.mX) * 4;
  return Rgb{pixel[2], pixel[1], pixel[0]};
}

UUPoint InterfaceStage::ScreenPointOf(const MM3DVector& world) {
  MMView& view = mAct->View();
  MM3DVector inView;
  view.GetViewMatrix().TransformPoint(inView, world);
  const MM3DVector screen = view.GetProjection().Project(inView, view.GetRect());
  return UUPoint{static_cast<int32_t>(screen.mX), static_cast<int32_t>(screen.mY)};
}
