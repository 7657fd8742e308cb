#include "app/creation/VPLObjButtonToolPrim.h"

#include "app/creation/VPLSceneCreationArea.h"
#include "app/objects/VPLPrimObjSelector.h"
#include "app/objects/VPLSceneUIBase.h"
#include "app/objects/VPLScript.h"
#include "app/objects/VPLToggleButtonObject.h"

namespace {

constexpr MMResourceId kToggleDefinition = 224;
// Both catalogues' choosers share this layout's frame, arrows and cell.
constexpr MMResourceId kChooserLayout = 302;
constexpr int32_t kPrimitiveTool = 9;
constexpr int32_t kNotYetRead = -1;

// The places last shown in each catalogue, and which one was shown.
int32_t gFirstIndex = kNotYetRead;
int32_t gSecondIndex = 0;
bool gSecondShown = false;

// A catalogue: the area's model list, the chooser's items, the toggle's
// state while it shows, and its remembered place.
struct Catalogue {
  int32_t mModelList;
  MMResourceId mItems;
  bool mToggleState;
  int32_t* mIndex;
};

const Catalogue kFirst{VPLObjButtonToolPrim::kFirstModelList, 257, true, &gFirstIndex};
const Catalogue kSecond{VPLObjButtonToolPrim::kSecondModelList, 301, false, &gSecondIndex};

const Catalogue& CatalogueOf(bool second) { return second ? kSecond : kFirst; }

}  // namespace

VPLObjButtonToolPrim::VPLObjButtonToolPrim(const VPLToolPalette& palette,
                                           const UURefCount<MM3DModel>& model,
                                           const MMTaskCallback& callback, MMResourceId definition)
    : VPLObjButtonToolWithPreview(palette, model, callback, definition) {
  if (gFirstIndex == kNotYetRead) gFirstIndex = Area().GetSelectedModel();
}

void VPLObjButtonToolPrim::Engage() {
  mToggle = Append(std::make_unique<VPLToggleButtonObject>(
      GetScene(), DefinitionModel(kToggleDefinition), kToggleDefinition,
      VPLScript(kToggleDefinition, kVPLButtonDefinition).GetTagScriptId(kVPLToggleLookTag),
      Callback(&VPLObjButtonToolPrim::OnCatalogueToggled), kToggleDefinition));
  Area().SetTool(kPrimitiveTool);
  BuildChooser();
  VPLObjButtonTool::Engage();
}

void VPLObjButtonToolPrim::BuildChooser() {
  auto chooser = std::make_unique<VPLPrimObjSelector>(
      UIScene(), TableModel(kChooserLayout, kVPLLayoutTable), kChooserLayout,
      Callback(&VPLObjButtonToolPrim::OnChooserScrolled), kFirst.mItems);
  chooser->SetWrap(true);
  auto* area = &Area();
  using AddModel = UUClassCallback<VPLSceneCreationArea, void (VPLSceneCreationArea::*)()>;
  chooser->Build(MMTaskCallback(GetScene()->GetTaskClient(),
                                new AddModel(area, &VPLSceneCreationArea::AddSelectedModel)));
  mChooser = Append(std::move(chooser));
  ShowCatalogue(Area().GetLibraryList() != kFirst.mModelList);
}

void VPLObjButtonToolPrim::ShowCatalogue(bool second) {
  const Catalogue& catalogue = CatalogueOf(second);
  mChooser->SetList(catalogue.mItems);
  Area().SetLibraryList(catalogue.mModelList);
  const auto index = static_cast<int16_t>(*catalogue.mIndex);
  Area().SetSelectedModel(index);
  mChooser->SetOffset(index);
  gSecondShown = second;
  mToggle->SetState(catalogue.mToggleState);
}

void VPLObjButtonToolPrim::OnCatalogueToggled() {
  if (mChooser == nullptr) return;
  // The place of the catalogue being left is kept.
  *CatalogueOf(gSecondShown).mIndex = Area().GetSelectedModel();
  ShowCatalogue(!gSecondShown);
}

void VPLObjButtonToolPrim::OnChooserScrolled() {
  if (mChooser != nullptr) Area().SetSelectedModel(mChooser->GetOffset());
}

void VPLObjButtonToolPrim::Release() {
  if (mChooser != nullptr) *CatalogueOf(gSecondShown).mIndex = mChooser->GetOffset();
  mToggle = nullptr;
  mChooser = nullptr;
  VPLObjButtonToolWithPreview::Release();
}
