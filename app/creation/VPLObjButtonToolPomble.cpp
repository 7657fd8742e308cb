#include "app/creation/VPLObjButtonToolPomble.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreationChar.h"
#include "app/creation/VPLPomblePartButton.h"
#include "app/creation/VPLPomblePreviewObject.h"
#include "app/creation/VPLPombleSlider.h"
#include "app/creation/VPLPombleVisual.h"
#include "app/creation/VPLSceneCreationArea.h"
#include "app/objects/VPLServices.h"
#include "app/objects/VPLToggleButtonObject.h"
#include "mm3d/MM3DModelCollection.h"

namespace {

constexpr float kPi = 3.14159265f;
constexpr MMResourceId kPerformOff = 167;
constexpr MMResourceId kPerformOn = 169;
constexpr MMResourceId kRepeatOff = 173;
constexpr MMResourceId kRepeatOn = 171;
constexpr MMResourceId kSliderDefinition = 200;
constexpr MMResourceId kSliderKnob = 202;
constexpr MMResourceId kPedestalDefinition = 127;
// The pedestal's model stands where the fill panel wants it; moved by this,
// it stands under the preview, inside the pose arc.
const MM3DVector kPedestalPlace{-2.45f, -0.6f, -2.0f, 1.0f};
constexpr MMResourceId kPreviewModel = 155;
constexpr MMResourceId kPartLayout = 217;
// Its tags 2, 3 and 4 name tables of one row per body part: the
// preview's position, scale and rotation when that part shows.
constexpr MMResourceId kPreviewPlacement = 198;
constexpr int16_t kPositionTag = 2;
constexpr int16_t kScaleTag = 3;
constexpr int16_t kRotationTag = 4;
// Row 0, byte 0: 0 when every pose is followed by a new performance.
constexpr MMResourceId kPoseSettings = 190;
constexpr uint8_t kSpace = ' ';

// The body part of the run.
int32_t gCurrentPart = kVPLHead;

}  // namespace

VPLObjButtonToolPomble::~VPLObjButtonToolPomble() = default;

int32_t VPLObjButtonToolPomble::GetCurrentPart() { return gCurrentPart; }

VPLObjCreationChar* VPLObjButtonToolPomble::Character() const {
  VPLCreation* creation = Area().GetCreation();
  return creation != nullptr ? dynamic_cast<VPLObjCreationChar*>(creation->FindCharacter())
                             : nullptr;
}

void VPLObjButtonToolPomble::EnsureCharacter() {
  if (Character() == nullptr) Area().AddCharacter();
}

void VPLObjButtonToolPomble::Engage() {
  EnsureCharacter();
  AddToggles();
  mPoseSlider = Append(std::make_unique<VPLPombleSlider>(
      GetScene(), DefinitionModel(kSliderDefinition), kSliderKnob, MMTaskCallback(), this));
  mPoseSlider->SetScriptId(kSliderDefinition);
  mPedestal = std::make_unique<VPLObj>(GetScene(), DefinitionModel(kPedestalDefinition));
  mPedestal->SetLocation(kPedestalPlace);
  AddPreview();
  AddPartButtons();
  EngageTool(kCharacterTool);
  ShowToggles();
  if (VPLObjCreationChar* character = Character()) character->RefreshPartHighlight();
}

void VPLObjButtonToolPomble::AddToggles() {
  mPerformToggle = Append(std::make_unique<VPLToggleButtonObject>(
      GetScene(), DefinitionModel(kPerformOff), kPerformOff, kPerformOn,
      Callback(&VPLObjButtonToolPomble::OnPerformToggled), kPerformOff));
  mOptionToggle = Append(std::make_unique<VPLToggleButtonObject>(
      GetScene(), DefinitionModel(kRepeatOff), kRepeatOff, kRepeatOn,
      Callback(&VPLObjButtonToolPomble::OnOptionToggled), kRepeatOff));
  if (VPLObjCreationChar* character = Character()) {
    mPerformToggle->SetState(!Area().IsCharacterPerforming());
    mOptionToggle->SetState(character->GetRepeat());
  }
}

void VPLObjButtonToolPomble::AddPreview() {
  VPLObjCreationChar* character = Character();
  auto preview = std::make_unique<VPLPomblePreviewObject>(
      GetScene(), MM3DGetModel(kPreviewModel, VPLGetServices().mTextureMap),
      Callback(&VPLObjButtonToolPomble::ResetHiddenPartPoses),
      character != nullptr ? character->GetPoseVisual() : nullptr);
  mPreviewVisual = &preview->GetPoseVisual();
  preview->SetTool(this);
  mPreview = Append(std::move(preview));
}

void VPLObjButtonToolPomble::AddPartButtons() {
  auto parts = std::make_unique<VPLPomblePartButton>(
      GetScene(), TableModel(kPartLayout, kVPLLayoutTable), kPartLayout, MMTaskCallback());
  parts->SetTool(this);
  parts->Build();
  parts->Select(static_cast<int16_t>(gCurrentPart));
  mPartButtons = Append(std::move(parts));
}

void VPLObjButtonToolPomble::Release() {
  VPLObjButtonTool::Release();
  mPedestal.reset();
  ForgetOptions();
  if (VPLObjCreationChar* character = Character()) character->HidePartHighlight();
}

void VPLObjButtonToolPomble::ForgetOptions() {
  mPoseSlider = nullptr;
  mPreviewVisual = nullptr;
  mPreview = nullptr;
  mPerformToggle = nullptr;
  mOptionToggle = nullptr;
  mPartButtons = nullptr;
}

void VPLObjButtonToolPomble::SelectPart(int32_t part) {
  if (mPreviewVisual == nullptr) return;
  mPreviewVisual->AllPartsOff();
  mPreviewVisual->SwitchPartOn(part);
  gCurrentPart = part;
  PlacePreview(part);
  if (mPoseSlider != nullptr) mPoseSlider->SetFromValue(mPreviewVisual->GetPartPose(part));
}

void VPLObjButtonToolPomble::PlacePreview(int32_t part) {
  const VPLScript placement(kPreviewPlacement, kVPLButtonDefinition);
  const auto row = [&](int16_t tag, MM3DVector& v) {
    return placement.FindTag(tag) >= 0 &&
           VPLReadVectorTable(placement.GetTagScriptId(tag), v, part);
  };
  MM3DVector v;
  if (row(kPositionTag, v)) mPreview->SetPosition(v);
  if (row(kScaleTag, v)) mPreview->SetScale(v);
  if (row(kRotationTag, v)) mPreview->SetRotation(v);
}

void VPLObjButtonToolPomble::ApplyPose(float angle, bool commit) {
  VPLObjCreationChar* character = Character();
  if (character == nullptr || mPreviewVisual == nullptr) return;
  mPreviewVisual->SetPartPose(gCurrentPart, angle / kPi, true);
  if (commit) {
    Area().TakeSnapshot();
    if (!mPreviewVisual->IsPartOn(gCurrentPart)) mPreviewVisual->SwitchPartOn(gCurrentPart);
    Area().GetCreation()->SetModified(true);
  }
  ShowToggles();
  if (commit && character->HasAllParts() && PerformsAfterPose()) character->PickRandomAnimation();
}

bool VPLObjButtonToolPomble::PerformsAfterPose() {
  const MMScript settings(kPoseSettings);
  return settings.GetRowCount() > 0 && settings.GetInt16(0, 0) == 0;
}

void VPLObjButtonToolPomble::PoseCharacter() {
  if (Character() == nullptr) {
    Area().AddCharacter();
    OnSceneActivated();
  }
  VPLObjCreationChar* character = Character();
  if (character == nullptr || mPreviewVisual == nullptr) return;
  VPLPombleVisual* visual = character->GetPoseVisual();
  if (!visual->IsPartOn(gCurrentPart)) visual->SwitchPartOn(gCurrentPart);
  visual->SetPartPose(gCurrentPart, mPreviewVisual->GetPartPose(gCurrentPart),
                      !character->IsPerforming());
  ShowToggles();
}

void VPLObjButtonToolPomble::ShowToggles() {
  const VPLObjCreationChar* character = Character();
  SetTogglesShown(character != nullptr && character->HasAllParts());
}

void VPLObjButtonToolPomble::SetTogglesShown(bool shown) {
  for (VPLToggleButtonObject* toggle : {mPerformToggle, mOptionToggle}) {
    if (toggle != nullptr) toggle->SetVisibility(shown ? kMMShown : kMMHidden);
  }
}

void VPLObjButtonToolPomble::OnPerformToggled() {
  VPLObjCreationChar* character = Character();
  if (character != nullptr && character->HasAllParts() && mPerformToggle != nullptr) {
    mPerformToggle->SetState(character->IsPerforming());
  }
  Area().TogglePerformance();
}

void VPLObjButtonToolPomble::OnOptionToggled() {
  if (VPLObjCreationChar* character = Character()) character->SetRepeat(!character->GetRepeat());
}

void VPLObjButtonToolPomble::ResetHiddenPartPoses() {
  if (mPreviewVisual == nullptr) return;
  for (int32_t part = 0; part < kVPLBodyPartCount; ++part) {
    if (!mPreviewVisual->IsPartOn(part)) mPreviewVisual->SetPartPose(part, 0.0f, true);
  }
}

void VPLObjButtonToolPomble::ResetPerformToggle() {
  if (mPerformToggle != nullptr) mPerformToggle->SetState(true);
}

void VPLObjButtonToolPomble::OnSceneActivated() {
  EnsureCharacter();
  VPLObjCreationChar* character = Character();
  if (character == nullptr) return;
  const bool whole = character->HasAllParts();
  if (mPerformToggle != nullptr) mPerformToggle->SetState(!whole || !character->IsPerforming());
  SetTogglesShown(whole);
  character->RefreshPartHighlight();
}

void VPLObjButtonToolPomble::OnCreationReset() {
  EnsureCharacter();
  VPLObjCreationChar* character = Character();
  if (character != nullptr && character->IsPerforming()) character->AbortPerformance();
  OnSceneActivated();
}

bool VPLObjButtonToolPomble::HandleKey(const MMKeyEvent& event) {
  VPLObjCreationChar* character = Character();
  if (character == nullptr || event.mKeyCode != 0 || event.mCharacter != kSpace) return false;
  StepKeyPose();
  VPLPombleVisual* visual = character->GetPoseVisual();
  const UUGrowableArray<MM3DDisplayTreeNodeIndexedBlendShapeArray*>& heads = visual->GetHeadNodes();
  if (heads.Count() > 0) {
    // The sway writes the head's own weights, which the visual hands to its
    // nodes when it draws, without touching the head's stored pose. Its
    // value is brought into the spread's range, so the sway runs over all
    // the node's targets and never past its weights.
    auto& weights = const_cast<UUGrowableArray<float>&>(visual->GetWeights(kVPLHead));
    visual->SpreadPoseWeights(heads[0], weights, mKeyPose / kKeyPoseMax, true);
  }
  return true;
}

void VPLObjButtonToolPomble::StepKeyPose() {
  mKeyPose += mKeyPoseRising ? kKeyPoseStep : -kKeyPoseStep;
  if (mKeyPose < 0.0f) {
    mKeyPose = 0.0f;
    mKeyPoseRising = true;
  } else if (mKeyPose > kKeyPoseMax) {
    mKeyPose = kKeyPoseMax;
    mKeyPoseRising = false;
  }
}
