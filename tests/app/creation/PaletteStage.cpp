#include "tests/app/creation/PaletteStage.h"

#include "app/creation/VPLObjButtonToolDraw.h"
#include "app/creation/VPLObjButtonToolFHand.h"
#include "app/creation/VPLObjButtonToolFill.h"
#include "app/creation/VPLObjButtonToolMagnet.h"
#include "app/creation/VPLObjButtonToolPomble.h"
#include "app/creation/VPLObjButtonToolPrim.h"
#include "app/creation/VPLObjButtonToolSelect.h"
#include "app/creation/VPLPombleVisual.h"
#include "app/creation/VPLToolFactory.h"
#include "app/objects/VPLServices.h"
#include "mm/stage/MMStage.h"

#include <utility>

namespace palette_stage {

namespace {

// A tool that only tells which number it was built for.
template <int32_t N>
class ReportingTool : public VPLTool {
 public:
  using VPLTool::VPLTool;
  bool OnMouse(const VPLPickEvent& /*event*/) override { return false; }
  VPLToolEnums GetToolType() const override { return static_cast<VPLToolEnums>(N); }
};

template <int32_t... N>
std::array<VPLToolMaker, kVPLToolCount> InstallReportingTools(
    std::integer_sequence<int32_t, N...>) {
  return {VPLToolFactory::SetMaker(N, &VPLMakeTool<ReportingTool<N>>)...};
}

// The screen's buttons: definition and class, in palette order.
template <typename Button>
std::unique_ptr<VPLObjButtonTool> Make(const VPLToolPalette& palette, MMResourceId definition) {
  return std::make_unique<Button>(palette, VPLObjButtonTool::DefinitionModel(definition),
                                  MMTaskCallback(), definition);
}

}  // namespace

PaletteScene::PaletteScene(MMSceneServices* host, MMEnclosure* enclosure, MMView* view)
    : PlainInterfaceScene(host, enclosure, view, kInterfaceCamera), mAreaEnclosure(GetStage()) {
  VPLGetServices().mTextureMap = GetStage()->GetTextureMap();
  mMakers = InstallReportingTools(std::make_integer_sequence<int32_t, kVPLToolCount>());
  mArea = std::make_unique<VPLSceneCreationArea>(host, &mAreaEnclosure, nullptr, kAreaCamera);
  mArea->SetUIHooks(this);
}

PaletteScene::~PaletteScene() {
  mCurrent = nullptr;
  mArea.reset();
  for (int32_t n = 0; n < kVPLToolCount; ++n) {
    VPLToolFactory::SetMaker(n, mMakers[static_cast<size_t>(n)]);
  }
  VPLGetServices().mTextureMap = nullptr;
}

void PaletteScene::BuildPalette() {
  const VPLToolPalette palette = Palette();
  mButtons = {AddButton(Make<VPLObjButtonToolSelect>(palette, 100)),
              AddButton(Make<VPLObjButtonToolFHand>(palette, 108)),
              AddButton(Make<VPLObjButtonToolDraw>(palette, 104)),
              AddButton(Make<VPLObjButtonToolPrim>(palette, 112)),
              AddButton(Make<VPLObjButtonToolFill>(palette, 116)),
              AddButton(Make<VPLObjButtonToolMagnet>(palette, 120)),
              AddButton(Make<VPLObjButtonToolPomble>(palette, 124))};
}

VPLObjButtonTool* PaletteScene::AddButton(std::unique_ptr<VPLObjButtonTool> button) {
  VPLObjButtonTool* added = button.release();
  AppendInterfaceObject(added);
  return added;
}

void PaletteScene::SetCurrentToolButton(VPLObjButtonTool* button) {
  if (button == mCurrent) return;
  if (mCurrent != nullptr) mCurrent->Release();
  mCurrent = button;
  if (mCurrent != nullptr) {
    ++mEngagements;
    mCurrent->Engage();
  }
}

void PaletteScene::RefreshPombleTool() {
  if (auto* pomble = dynamic_cast<VPLObjButtonToolPomble*>(mCurrent)) pomble->ResetPerformToggle();
}

void PaletteScene::RefreshAfterUndo() {
  if (mCurrent != nullptr) mCurrent->OnUndo();
}

bool PaletteScene::IsPombleToolCurrent() const {
  return dynamic_cast<VPLObjButtonToolPomble*>(mCurrent) != nullptr;
}

void PaletteScene::UpdateToolPreview() {
  if (mCurrent != nullptr) mCurrent->RefreshFromMaterializer();
}

int32_t AreaTool(const VPLSceneCreationArea& area) {
  const VPLTool* tool = area.GetCurrentTool();
  return tool != nullptr ? tool->GetToolType() : -1;
}

bool IsRed(const VPLObj& object) {
  const MM3DColor& color = object.GetStoredColor();
  return color.mR == 1.0f && color.mG == 0.0f && color.mB == 0.0f;
}

int32_t ToolOf(const VPLObjButton& button) {
  return static_cast<int32_t>(
      VPLScript(button.GetDefinition(), kVPLButtonDefinition).GetTagUInt32(kVPLToolNumberTag));
}

VPLSceneUIBase* MakePaletteScene(MMSceneServices* host, MMEnclosure* enclosure, MMView* view) {
  return new PaletteScene(host, enclosure, view);
}

PaletteTest::PaletteTest()
    : mFiles(std::make_unique<app_fixtures::ProgramDataFiles>()), mStage(MakePaletteScene) {}

PaletteTest::~PaletteTest() = default;

void PaletteTest::SetUp() {
  ASSERT_TRUE(mFiles->Ready());
  Scene().BuildPalette();
  mStage.RunFrame();
}

UUPoint PaletteTest::CentreOf(const VPLObj& object) {
  return mStage.ScreenPointOf(VPLSceneBase::ObjectCentre(object));
}

void PaletteTest::Click(const VPLObj& object) {
  const UUPoint at = CentreOf(object);
  mStage.Move(at);
  mStage.Press(at);
  mStage.Release(at);
  Settle();
}

void PaletteTest::Settle() {
  mStage.RunFrame();
  mStage.RunFrame();
}

void PaletteTest::DoubleClick(const VPLObj& object) {
  const UUPoint at = CentreOf(object);
  mStage.Move(at);
  mStage.Press(at);
  mStage.Release(at);
  mStage.DoubleClick(at);
  mStage.Release(at);
  Settle();
}

}  // namespace palette_stage
