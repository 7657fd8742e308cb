#pragma once
// The creation screen's tool palette on a real interface stage, over the
// program's own data files (VPL_DATA_DIR): an interface scene that plays
// the creation screen's part (it keeps the current tool button) and a
// creation area of its own, whose tools are stand-ins that report the
// tool number they were built for.

#include "app/creation/VPLCreationUIHooks.h"
#include "app/creation/VPLObjButtonTool.h"
#include "app/creation/VPLSceneCreationArea.h"
#include "app/creation/VPLToolFactory.h"
#include "mm/stage/MM3DSpatialEnclosure.h"
#include "tests/app/support/InterfaceStage.h"
#include "tests/app/support/ProgramDataFiles.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace palette_stage {

// The palette's buttons in the order the screen builds them.
enum PaletteButton : int32_t {
  kSelect = 0,
  kFreehand,
  kDraw,
  kPrimitive,
  kFill,
  kMagnet,
  kPomble,
  kButtonCount
};

// The creation screen as far as the palette sees it.
class PaletteScene : public PlainInterfaceScene, public VPLCreationUIHooks {
 public:
  // The interface camera's row of the camera script.
  static constexpr int32_t kInterfaceCamera = 1;
  static constexpr int32_t kAreaCamera = 0;

  PaletteScene(MMSceneServices* host, MMEnclosure* enclosure, MMView* view);
  ~PaletteScene() override;

  // The seven buttons, built as the screen builds them, none current.
  void BuildPalette();
  // A button of another definition, kept with the palette.
  VPLObjButtonTool* AddButton(std::unique_ptr<VPLObjButtonTool> button);

  void AskUser(int32_t /*kind*/) override {}
  void RefreshPombleTool() override;
  void SetCurrentToolButton(VPLObjButtonTool* button) override;
  VPLObjButtonTool* GetCurrentToolButton() const override { return mCurrent; }
  void RefreshAfterUndo() override;
  bool IsPombleToolCurrent() const override;
  VPLSceneUIBase* GetCursorScene() override { return this; }
  void UpdateToolPreview() override;

  VPLSceneCreationArea& Area() { return *mArea; }
  VPLToolPalette Palette() { return {this, this, mArea.get()}; }
  VPLObjButtonTool* Button(PaletteButton which) const {
    return mButtons[static_cast<size_t>(which)];
  }
  int32_t Engagements() const { return mEngagements; }

 private:
  // The area draws into an enclosure no view shows.
  MM3DSpatialEnclosure mAreaEnclosure;
  // The program's tool makers, back in place at the end.
  std::array<VPLToolMaker, kVPLToolCount> mMakers{};
  std::unique_ptr<VPLSceneCreationArea> mArea;
  std::array<VPLObjButtonTool*, kButtonCount> mButtons{};
  VPLObjButtonTool* mCurrent = nullptr;
  int32_t mEngagements = 0;
};

// The interface stage's maker of the scene.
VPLSceneUIBase* MakePaletteScene(MMSceneServices* host, MMEnclosure* enclosure, MMView* view);

// The number of the tool the area holds; -1 for none.
int32_t AreaTool(const VPLSceneCreationArea& area);
// Whether the object shows the chosen look (its last colour red).
bool IsRed(const VPLObj& object);
// Tag 1 of the object's button definition.
int32_t ToolOf(const VPLObjButton& button);

class PaletteTest : public ::testing::Test {
 protected:
  PaletteTest();
  ~PaletteTest() override;

  void SetUp() override;

  PaletteScene& Scene() { return static_cast<PaletteScene&>(mStage.Scene()); }
  VPLSceneCreationArea& Area() { return Scene().Area(); }
  VPLObjButtonTool& Button(PaletteButton which) { return *Scene().Button(which); }
  template <typename T>
  T& ButtonAs(PaletteButton which) {
    return static_cast<T&>(Button(which));
  }

  // A press and a release at the middle of the object, then a frame (the
  // queued callbacks run).
  void Click(const VPLObj& object);
  void DoubleClick(const VPLObj& object);
  void ClickButton(PaletteButton which) { Click(Button(which)); }
  // Two frames: the callbacks queued by callbacks run too.
  void Settle();
  // The stage pixel at the middle of the object.
  UUPoint CentreOf(const VPLObj& object);

  std::unique_ptr<app_fixtures::ProgramDataFiles> mFiles;
  InterfaceStage mStage;
};

}  // namespace palette_stage
