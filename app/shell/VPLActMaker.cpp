#include "app/shell/VPLActMaker.h"

#include "app/creation/VPLSceneCreationArea.h"
#include "app/shell/VPL2DDisplayStrategy.h"
#include "app/shell/VPLActCreation.h"
#include "app/shell/VPLActIntro.h"
#include "app/shell/VPLApplication.h"
#include "app/shell/VPLDisplayModeStrategy.h"
#include "app/shell/VPLProgramValues.h"
#include "app/shell/VPLStage.h"
#include "foundation/al/ALAllocator.h"

namespace {

// The intro first, then the creation act; while the intro runs the window
// stays open, unless the session ends.
class VPLProgramActMaker : public VPLActMaker {
 public:
  MMAct* MakeAct(VPLStage* stage, int32_t number) override {
    if (number == kIntroAct) {
      return new (ALGlobalAllocator) VPLActIntro(stage, &VPLIntroDisplayStrategy());
    }
    return new (ALGlobalAllocator) VPLActCreation(stage, &VPLCreationDisplayStrategy());
  }
  bool AgreesToClose(MMAct* act) override {
    if (auto* creation = dynamic_cast<VPLActCreation*>(act)) return creation->CanClose();
    return dynamic_cast<VPLActIntro*>(act) == nullptr || VPLSessionEnding();
  }
  void TickCreation(MMAct* act, int32_t time) override {
    auto* creation = dynamic_cast<VPLActCreation*>(act);
    if (creation != nullptr && creation->GetCreationArea() != nullptr) {
      creation->GetCreationArea()->Tick(time);
    }
  }
  bool DrawCreationView(MMAct* act) override {
    auto* creation = dynamic_cast<VPLActCreation*>(act);
    return creation != nullptr && creation->DrawCreationView();
  }
  void ShowSlowMachineNotice(MMAct* act, bool shown) override {
    if (auto* creation = dynamic_cast<VPLActCreation*>(act)) creation->ShowSlowMachineNotice(shown);
  }

 private:
  static constexpr int32_t kIntroAct = 0;
};

VPLProgramActMaker gProgramActMaker;
VPLActMaker* gMaker = &gProgramActMaker;

}  // namespace

VPLActMaker& VPLGetActMaker() { return *gMaker; }

VPLActMaker& VPLGetProgramActMaker() { return gProgramActMaker; }

void VPLSetActMaker(VPLActMaker* maker) { gMaker = maker != nullptr ? maker : &gProgramActMaker; }
