#include "app/shell/VPLActMaker.h"

#include "app/shell/VPL2DDisplayStrategy.h"
#include "app/shell/VPLActIntro.h"
#include "app/shell/VPLDisplayModeStrategy.h"
#include "app/shell/VPLProgramValues.h"
#include "app/shell/VPLStage.h"
#include "foundation/al/ALAllocator.h"
#include "mm/stage/MM3DAct.h"
#include "mm3d/MM3DRenderer.h"
#include "mm3d/drivers/MM3DDriver.h"

namespace {

constexpr MM3DClearColor kSkyColour{.mRed = 150, .mGreen = 200, .mBlue = 245, .mAlpha = 255};

// The creation screen's display with nothing on it yet.
class VPLEmptyAct : public MM3DAct {
 public:
  explicit VPLEmptyAct(VPLStage* stage) : MM3DAct(stage, &VPLCreationDisplayStrategy()) {}

  void Draw() override {
    if (const UURefCount<MM3DDriver>& driver = GetStage()->GetDriver()) {
      driver->mClearColor = kSkyColour;
      driver->SetClearColor(kSkyColour.AsWord());
    }
    MM3DAct::Draw();
  }
};

// The intro first; while it runs the window stays open.
class VPLProgramActMaker : public VPLActMaker {
 public:
  MMAct* MakeAct(VPLStage* stage, int32_t number) override {
    if (number == kIntroAct) {
      return new (ALGlobalAllocator) VPLActIntro(stage, &VPLIntroDisplayStrategy());
    }
    return new (ALGlobalAllocator) VPLEmptyAct(stage);
  }
  bool AgreesToClose(MMAct* act) override { return dynamic_cast<VPLActIntro*>(act) == nullptr; }
  // The empty screen's picture is its cleared frame.
  bool DrawCreationView(MMAct* act) override {
    const UURefCount<MM3DRenderer> renderer = act->GetStage()->GetRenderer();
    if (!renderer || act->GetStage()->GetPauseCount() > 0) return false;
    renderer->BeginFrame();
    renderer->EndFrame();
    return true;
  }

 private:
  static constexpr int32_t kIntroAct = 0;
};

VPLProgramActMaker gProgramActMaker;
VPLActMaker* gMaker = &gProgramActMaker;

}  // namespace

VPLActMaker& VPLGetActMaker() { return *gMaker; }

void VPLSetActMaker(VPLActMaker* maker) { gMaker = maker != nullptr ? maker : &gProgramActMaker; }
