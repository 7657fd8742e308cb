#include "app/shell/VPLActIntro.h"

#include "app/shell/VPLSceneIntro.h"
#include "mm/stage/MMStage.h"

namespace {

constexpr int32_t kViewDepth = 0;
// The mouse-event flag of a button that went up.
constexpr int32_t kReleased = 4;

}  // namespace

VPLActIntro::VPLActIntro(MMStage* stage, MMDisplayModeStrategy* strategy)
    : MM2DAct(stage, strategy), mEnclosure(std::make_unique<MM2DPlanarEnclosure>(stage)) {
  mView = std::make_unique<MM2DPlanarView>(GetViewServices(), mEnclosure.get(),
                                           stage->GetLocalRect(), kViewDepth);
  mScene = std::make_unique<VPLSceneIntro>(GetSceneServices(), mEnclosure.get());
  TakeFocus();
}

VPLActIntro::~VPLActIntro() {
  mScene.reset();
  mView.reset();
  mEnclosure.reset();
}

void VPLActIntro::HandleMouse(const MMMouseEvent& event) {
  if ((event.mFlags & kReleased) != 0) mScene->SkipIntro();
}

void VPLActIntro::HandleKey(const MMKeyEvent& event) {
  mScene->HandleKey(event);
  MMAct::HandleKey(event);
}
