#pragma once
// The first act of every run: the intro's pages in 2D on the whole
// 800 x 600 screen. A key goes to the scene; only a mouse release counts,
// as a skip: the click area and the end button never see the mouse.

#include "mm/stage/MM2DAct.h"
#include "mm/stage/MMEnclosure.h"
#include "mm/stage/MMView.h"

#include <memory>

class MMDisplayModeStrategy;
class VPLSceneIntro;

class VPLActIntro : public MM2DAct {
 public:
  VPLActIntro(MMStage* stage, MMDisplayModeStrategy* strategy);
  ~VPLActIntro() override;

  void HandleMouse(const MMMouseEvent& event) override;
  void HandleKey(const MMKeyEvent& event) override;

  VPLSceneIntro& GetScene() const { return *mScene; }

 private:
  std::unique_ptr<MM2DPlanarEnclosure> mEnclosure;
  std::unique_ptr<VPLSceneIntro> mScene;
  std::unique_ptr<MM2DPlanarView> mView;
};
