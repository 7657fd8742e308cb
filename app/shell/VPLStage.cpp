#include "app/shell/VPLStage.h"

#include "app/objects/VPL3DCursorSet.h"
#include "app/objects/VPLServices.h"
#include "app/shell/VPLActMaker.h"
#include "app/shell/VPLInputStrategy.h"
#include "app/shell/VPLProgramValues.h"
#include "foundation/al/ALAllocator.h"
#include "foundation/uu/UURandom.h"
#include "mm/stage/MMAct.h"
#include "platform/win32/winmm.h"

VPLStage::VPLStage(MMStageWindow* window, const UURect& rect) : MMStage(window, rect, nullptr) {
  VPLProgramRandom().Reseed(static_cast<int32_t>(timeGetTime()));
  SetInputStrategy(new (ALGlobalAllocator) VPLInputStrategy(this));
  mCursorSet = new (ALGlobalAllocator) VPL3DCursorSet;
  VPL3DCursorSet::SetGlobal(mCursorSet);
}

VPLStage::~VPLStage() {
  VPL3DCursorSet::SetGlobal(nullptr);
  delete mCursorSet;
  VPLGetServices().mTextureMap = nullptr;
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
