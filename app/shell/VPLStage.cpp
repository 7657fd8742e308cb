#include "app/shell/VPLStage.h"

#include "app/objects/VPL3DCursorSet.h"
#include "app/objects/VPLServices.h"
#include "app/shell/VPLActMaker.h"
#include "app/shell/VPLDisplayLibraryLoad.h"
#include "app/shell/VPLInputStrategy.h"
#include "app/shell/VPLProgramValues.h"
#include "foundation/al/ALAllocator.h"
#include "foundation/al/ALMilliseconds.h"
#include "foundation/uu/UURandom.h"
#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "mm/stage/MMAct.h"
#include "platform/win32/winmm.h"

namespace {

// A window of more than this many milliseconds gives one frame-rate reading.
constexpr int32_t kMeasuringWindow = 2500;
// A reading at or below this many frames a second counts as slow.
constexpr int32_t kSlowFrameRate = 9;
// Slow readings in a row before the notice shows; as many fast ones hide it.
constexpr int32_t kNoticeLevel = 4;
constexpr int32_t kMillisecondsPerSecond = 1000;

}  // namespace

VPLStage::VPLStage(MMStageWindow* window, const UURect& rect) : MMStage(window, rect, nullptr) {
  VPLProgramRandom().Reseed(static_cast<int32_t>(timeGetTime()));
  SetInputStrategy(new (ALGlobalAllocator) VPLInputStrategy(this));
  mCursorSet = new (ALGlobalAllocator) VPL3DCursorSet;
  VPL3DCursorSet::SetGlobal(mCursorSet);
}

VPLStage::~VPLStage() {
  // The act outlives this body: the cursor it shows goes first, while its
  // scene is still there.
  mCursorSet->Hide();
  VPL3DCursorSet::SetGlobal(nullptr);
  delete mCursorSet;
  VPLGetServices().mTextureMap = nullptr;
  WaitForDisplayLibrary();
  ReleaseOffscreenDevice();
  mScreenPipeline = UURefCount<MM3DPipeline>();
  mScreenRenderer = UURefCount<MM3DRenderer>();
  mScreenDriver = UURefCount<MM3DDriver>();
}

MMAct* VPLStage::CreateNextAct() { return VPLGetActMaker().MakeAct(this, mNextAct); }

void VPLStage::RequestAct(int32_t number) {
  mNextAct = number;
  RequestActSwitch();
}

void VPLStage::ShowArrowCursor() { VPLShowArrowCursor(this); }

void VPLStage::HideCursor() { VPLHideStageCursor(this); }

bool VPLStage::AgreeToCloseNow() {
  if (!mCloseAgreed && GetAct() != nullptr && VPLGetActMaker().AgreesToClose(GetAct())) {
    mCloseAgreed = true;
  }
  return mCloseAgreed;
}

void VPLStage::Notify(bool draws) {
  MMStage::Notify(draws);
  // Only the creation screen draws with a renderer; the intro is not measured.
  if (GetRenderer()) CountFrame();
}

void VPLStage::CountFrame() {
  const auto now = static_cast<int32_t>(ALMilliseconds());
  if (mWindowStart == kNotStarted) mWindowStart = now;
  ++mFrameCount;
  const int32_t elapsed = now - mWindowStart;
  if (elapsed <= kMeasuringWindow) return;
  ChangeSlowness(mFrameCount * kMillisecondsPerSecond / elapsed);
  mFrameCount = 0;
  mWindowStart = now;
}

// The notice changes only at the ends of the scale, so one odd reading
// neither shows nor hides it.
void VPLStage::ChangeSlowness(int32_t framesPerSecond) {
  if (framesPerSecond <= kSlowFrameRate) {
    if (mSlownessLevel < kNoticeLevel && ++mSlownessLevel == kNoticeLevel) ShowNotice(true);
  } else if (mSlownessLevel > 0 && --mSlownessLevel == 0) {
    ShowNotice(false);
  }
}

void VPLStage::ShowNotice(bool shown) {
  if (GetAct() != nullptr) VPLGetActMaker().ShowSlowMachineNotice(GetAct(), shown);
}
