#include "app/shell/VPLSceneCreationUI.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLCreationCharacter.h"
#include "app/creation/VPLObjButtonToolDraw.h"
#include "app/creation/VPLObjButtonToolFHand.h"
#include "app/creation/VPLObjButtonToolFill.h"
#include "app/creation/VPLObjButtonToolMagnet.h"
#include "app/creation/VPLObjButtonToolPomble.h"
#include "app/creation/VPLObjButtonToolPrim.h"
#include "app/creation/VPLObjButtonToolSelect.h"
#include "app/creation/VPLObjCreation.h"
#include "app/creation/VPLSceneCreationArea.h"
#include "app/objects/RU3DTextureCollectionFromString.h"
#include "app/objects/VPL3DCursorSet.h"
#include "app/objects/VPLObjButton.h"
#include "app/objects/VPLObjEventCamera.h"
#include "app/objects/VPLServices.h"
#include "app/objects/VPLStringList.h"
#include "app/objects/VPLToggleButtonObject.h"
#include "app/objects/VPLUpAlphaHiliteObject.h"
#include "app/shell/VPLActCreation.h"
#include "app/shell/VPLShellPreferences.h"
#include "mm/drawing/MMSystemFont.h"
#include "mm3d/MM3DModelCollection.h"

#include <numbers>

bool VPLSceneCreationUI::sQuitting = false;

namespace {

// The button definitions of the palette.
constexpr MMResourceId kSelectButton = 100;
constexpr MMResourceId kFreehandButton = 108;
constexpr MMResourceId kDrawButton = 104;
constexpr MMResourceId kPrimitiveButton = 112;
constexpr MMResourceId kFillButton = 116;
constexpr MMResourceId kMagnetButton = 120;
constexpr MMResourceId kPombleButton = 124;
constexpr MMResourceId kNewSketchButton = 78;
constexpr MMResourceId kClearButton = 81;
constexpr MMResourceId kUndoButton = 84;
constexpr MMResourceId kFileScreenButton = 76;
constexpr MMResourceId kExportButton = 87;
constexpr MMResourceId kPrintButton = 96;
constexpr MMResourceId kQuitButton = 36;
constexpr MMResourceId kGroundShown = 90;
constexpr MMResourceId kGroundHidden = 92;
constexpr MMResourceId kZoomPad = 73;
constexpr MMResourceId kRotatePad = 69;
constexpr MMResourceId kResetButton = 65;
constexpr MMResourceId kBackdrop = 59;
constexpr MMResourceId kLogo = 60;
// The plain models and the tables that place them.
constexpr MMResourceId kPaletteFrameModel = 78;
constexpr MMResourceId kResetBaseModel = 10;
constexpr MMResourceId kRotateBaseModel = 12;
constexpr MMResourceId kZoomBaseModel = 14;
constexpr MMResourceId kResetBasePlace = 64;
constexpr MMResourceId kRotateBasePlace = 68;
constexpr MMResourceId kZoomBasePlace = 72;
constexpr float kPaletteFrameZ = -10.0f;
constexpr int32_t kMagnetPull = 17;
constexpr int32_t kHandCursor = 1;
// The slow-machine notice: blue text of 9 pixels, centred both ways, in a
// texture 256 wide (as tall as the notice's proportions make it).
const UURect kNoticeRect(0, 0, 256, 256);
constexpr int32_t kNoticeCentred = 1;
constexpr int32_t kNoticeHeight = 9;
constexpr int32_t kNoticeWeight = 400;
constexpr int16_t kNoticeEntry = 8;
constexpr int16_t kFontFaceEntry = 45;
constexpr int32_t kQuitAnimationEnd = 1;

template <typename T, typename M>
MMTaskCallback MakeCallback(MMTaskClient* client, T* target, M member) {
  return MMTaskCallback(client, new UUClassCallback<T, M>(target, member));
}

template <typename T, typename M>
MMTaskCallback MakeCallback(MMTaskClient* client, T* target, M member, int32_t argument) {
  return MMTaskCallback(client,
                        new UUClassCallback1Parameter<T, M, int32_t>(target, member, argument));
}

UURefCount<MM3DModel> DefinitionModel(MMResourceId definition) {
  return VPLObjButtonTool::DefinitionModel(definition);
}

}  // namespace

VPLSceneCreationUI::VPLSceneCreationUI(MMSceneServices* host, MMEnclosure* enclosure, MMView* view,
                                       int32_t sceneId)
    : VPLSceneUIBase(host, enclosure, view, sceneId) {}

VPLSceneCreationUI::~VPLSceneCreationUI() {
  if (VPL3DCursorSet::GetGlobal() != nullptr) VPL3DCursorSet::GetGlobal()->Hide();
  mCurrentTool = nullptr;
  mSlowNotice.reset();
  mPaletteFrame.reset();
  mRotatePadBase.reset();
  mZoomPadBase.reset();
  mResetBase.reset();
  mBackdrop.reset();
  mLogo.reset();
}

MMTaskCallback VPLSceneCreationUI::Bind(void (VPLSceneCreationUI::*member)()) {
  return MakeCallback(GetTaskClient(), this, member);
}

VPLObjEvent* VPLSceneCreationUI::Append(VPLObjEvent* object) {
  AppendInterfaceObject(object);
  return object;
}

void VPLSceneCreationUI::BuildPalette() {
  mPaletteFrame = std::make_unique<VPLObj>(
      this, MM3DGetModel(kPaletteFrameModel, VPLGetServices().mTextureMap));
  mPaletteFrame->SetPosition(0.0f, 0.0f, kPaletteFrameZ);
  mPaletteFrame->SetVisibility(kMMShown);
  BuildToolButtons();
  BuildScreenButtons();
  BuildPads();
  mBackdrop =
      std::make_unique<VPLObjButton>(this, DefinitionModel(kBackdrop), MMTaskCallback(), kBackdrop);
  mLogo = std::make_unique<VPLObj>(this, DefinitionModel(kLogo), kLogo);
  mLogo->SetVisibility(kMMShown);
  mCurrentTool = nullptr;
  // The select button is the current one at the start, as if clicked.
  if (VPLObjButtonTool* select = mToolButtons[kSelectTool]) select->OnRelease(VPLPickEvent());
  AddCharacterWhenMissing();
}

void VPLSceneCreationUI::BuildToolButtons() {
  const VPLToolPalette palette{.mScene = this, .mHooks = this, .mArea = mArea};
  size_t next = 0;
  const auto add = [&]<typename Button>(MMResourceId definition, const MMTaskCallback& action) {
    auto* button = new Button(palette, DefinitionModel(definition), action, definition);
    Append(button);
    mToolButtons[next++] = button;
  };
  add.operator()<VPLObjButtonToolSelect>(kSelectButton, MMTaskCallback());
  add.operator()<VPLObjButtonToolFHand>(kFreehandButton, MMTaskCallback());
  add.operator()<VPLObjButtonToolDraw>(kDrawButton, MMTaskCallback());
  add.operator()<VPLObjButtonToolPrim>(kPrimitiveButton, MMTaskCallback());
  add.operator()<VPLObjButtonToolFill>(kFillButton, MMTaskCallback());
  add.operator()<VPLObjButtonToolMagnet>(
      kMagnetButton,
      MakeCallback(GetTaskClient(), mArea, &VPLSceneCreationArea::SetTool, kMagnetPull));
  add.operator()<VPLObjButtonToolPomble>(kPombleButton, MMTaskCallback());
}

void VPLSceneCreationUI::BuildScreenButtons() {
  MMTaskClient* client = GetTaskClient();
  const auto add = [this](MMResourceId definition, const MMTaskCallback& action) {
    return Append(
        new VPLUpAlphaHiliteObject(this, DefinitionModel(definition), action, definition));
  };
  add(kNewSketchButton, Bind(&VPLSceneCreationUI::NewSketchButton));
  add(kClearButton, Bind(&VPLSceneCreationUI::ClearButton));
  add(kUndoButton, MakeCallback(client, mArea, &VPLSceneCreationArea::Undo));
  add(kFileScreenButton, MakeCallback(client, static_cast<VPLActCreation*>(GetHost()->GetAct()),
                                      &VPLActCreation::GoToFileScreen, kVPLCreationUIScene));
  add(kExportButton,
      MakeCallback(client, static_cast<VPLSceneUIBase*>(this), &VPLSceneUIBase::OpenExportDialog));
  mPrintButton = add(kPrintButton, MakeCallback(client, static_cast<VPLSceneUIBase*>(this),
                                                &VPLSceneUIBase::OpenPrintDialog));
  ShowPrintButton(VPLPrintingAllowed());
  mQuitButton = add(kQuitButton, Bind(&VPLSceneCreationUI::QuitButton));
  mGroundToggle = new VPLToggleButtonObject(
      this, DefinitionModel(kGroundShown), kGroundShown, kGroundHidden,
      MakeCallback(client, mArea, &VPLSceneCreationArea::ToggleGround), kGroundHidden);
  Append(mGroundToggle);
  mGroundToggle->SetState(mArea->IsGroundHidden());
}

std::unique_ptr<VPLObj> VPLSceneCreationUI::MakePadBase(MMResourceId model, MMResourceId scriptId) {
  auto base =
      std::make_unique<VPLObj>(this, MM3DGetModel(model, VPLGetServices().mTextureMap), scriptId);
  base->SetRotation(0.0f, std::numbers::pi_v<float>, 0.0f);
  base->SetVisibility(kMMShown);
  return base;
}

void VPLSceneCreationUI::BuildPads() {
  mZoomPadBase = MakePadBase(kZoomBaseModel, kZoomBasePlace);
  auto* zoom = new VPLObjEventCameraZoom(this, DefinitionModel(kZoomPad));
  zoom->SetScriptId(kZoomPad);
  zoom->SetCameraMoves(&mCameraMoves);
  Append(zoom);
  mZoomPad = zoom;
  mRotatePadBase = MakePadBase(kRotateBaseModel, kRotateBasePlace);
  auto* rotate = new VPLObjEventCameraRotate(this, DefinitionModel(kRotatePad));
  rotate->SetScriptId(kRotatePad);
  rotate->SetCameraMoves(&mCameraMoves);
  Append(rotate);
  mRotatePad = rotate;
  mResetBase = MakePadBase(kResetBaseModel, kResetBasePlace);
  // Invisible over its base, and still taking the clicks.
  auto* reset = new VPLOnUpButtonObject(
      this, DefinitionModel(kResetButton),
      MakeCallback(GetTaskClient(), mArea, &VPLSceneCreationArea::ResetCamera), kResetButton);
  reset->SetAlpha(0.0f);
  mResetButton = Append(reset);
}

void VPLSceneCreationUI::AddCharacterWhenMissing() {
  VPLCreation* creation = mArea->GetCreation();
  if (creation == nullptr || creation->FindCharacter() != nullptr) return;
  mArea->AddCharacter();
  if (auto* character = dynamic_cast<VPLCreationCharacter*>(creation->FindCharacter())) {
    character->HidePartHighlight();
  }
  mArea->WriteSnapshot();
  creation->SetModified(false);
}

void VPLSceneCreationUI::Activate() {
  VPLSceneUIBase::Activate();
  if (mArea != nullptr) UpdateToggleButton(mArea->IsGroundHidden());
  if (VPL3DCursorSet::GetGlobal() != nullptr)
    VPL3DCursorSet::GetGlobal()->Select(this, kHandCursor);
}

bool VPLSceneCreationUI::OnMouse(const MMMouseEvent& event) {
  if (VPLSceneUIBase::OnMouse(event)) return true;
  // A control under the pointer keeps the event from the creation even when
  // it does not keep the mouse: a camera pad pressed and held moves the
  // camera whatever the tool, and never starts a shape behind it.
  if (GetActiveControl() != nullptr) return true;
  if (!mBackdrop || GetView() == nullptr) return false;
  VPLPickEvent pick(event.mTime, event.mX, event.mY, event.mFlags);
  pick.mRay = MakeViewRay(event.mX, event.mY);
  // A click on the palette's backdrop never reaches the creation.
  return mBackdrop->FindTarget(pick) != nullptr;
}

void VPLSceneCreationUI::NewSketchButton() {
  if (!IsModified() && !mArea->IsUntouched()) return;
  if (VPLAutoSaves() || mArea->IsUntouched()) {
    mArea->NewSketch();
    RefreshCurrentTool();
  } else {
    AskUser(kSaveBeforeNewSketch);
  }
}

void VPLSceneCreationUI::ClearButton() {
  mArea->ClearCreation();
  RefreshCurrentTool();
}

void VPLSceneCreationUI::QuitButton() {
  MMTaskCallback(GetTaskClient(),
                 new UUClassCallback<VPLSceneCreationUI, bool (VPLSceneCreationUI::*)(bool)>(
                     this, &VPLSceneCreationUI::OnQuitRequest))
      .Post();
  if (mQuitButton != nullptr) mQuitButton->PlayAnimation(0, kQuitAnimationEnd, false);
}

void VPLSceneCreationUI::ShowPrintButton(bool show) {
  if (mPrintButton == nullptr) return;
  mPrintButton->SetVisibility(show ? kMMShown : kMMHidden);
}

void VPLSceneCreationUI::UpdateToggleButton(bool hidden) {
  if (mGroundToggle != nullptr) mGroundToggle->SetState(hidden);
}

void VPLSceneCreationUI::ShowSlowMachineNotice() {
  if (mSlowNotice) return;
  mSlowNotice = std::make_unique<VPLObj>(
      this, MM3DGetModel(kSlowNoticeModel, VPLGetServices().mTextureMap), kSlowNoticeDefinition);
  const VPLStringList strings;
  const RU3DTextStyle style{
      .mFont = std::make_shared<MMSystemFont>(strings.GetText(kFontFaceEntry), kNoticeHeight,
                                              kNoticeWeight, false, false),
      .mColor = AFColor(AFRGB(0, 0, 255)),
      .mHorizontalAlignment = kNoticeCentred,
      .mVerticalAlignment = kNoticeCentred};
  mSlowNotice->RenderText(kNoticeRect, strings.GetText(kNoticeEntry), style);
  mSlowNotice->SetVisibility(kMMShown);
}

void VPLSceneCreationUI::HideSlowMachineNotice() { mSlowNotice.reset(); }

void VPLSceneCreationUI::SetCurrentToolButton(VPLObjButtonTool* button) {
  if (button == mCurrentTool) return;
  if (mCurrentTool != nullptr) mCurrentTool->Release();
  mCurrentTool = button;
  if (mCurrentTool != nullptr) mCurrentTool->Engage();
}

void VPLSceneCreationUI::RefreshPombleTool() {
  if (auto* pomble = dynamic_cast<VPLObjButtonToolPomble*>(mCurrentTool)) {
    pomble->ResetPerformToggle();
  }
}

// Undo, a new or cleared sketch and another sketch read on return give the
// creation a ground of its own: the toggle shows it.
void VPLSceneCreationUI::RefreshAfterUndo() {
  if (mCurrentTool != nullptr) mCurrentTool->OnUndo();
  UpdateToggleButton(mArea->IsGroundHidden());
}

bool VPLSceneCreationUI::IsPombleToolCurrent() const {
  return dynamic_cast<VPLObjButtonToolPomble*>(mCurrentTool) != nullptr;
}

void VPLSceneCreationUI::UpdateToolPreview() {
  if (mCurrentTool != nullptr) mCurrentTool->RefreshFromMaterializer();
}

void VPLSceneCreationUI::RefreshCurrentTool() {
  if (mCurrentTool != nullptr) mCurrentTool->OnCreationReset();
  UpdateToggleButton(mArea->IsGroundHidden());
}

bool VPLSceneCreationUI::IsModified() const {
  return mArea->GetCreation() != nullptr && mArea->GetCreation()->IsModified();
}

VPLCreation* VPLSceneCreationUI::AreaCameraMoves::Creation() const {
  return mScreen.mArea != nullptr ? mScreen.mArea->GetCreation() : nullptr;
}

void VPLSceneCreationUI::AreaCameraMoves::RaiseCamera(float angle) {
  if (VPLCreation* creation = Creation()) creation->RaiseCamera(angle);
}
void VPLSceneCreationUI::AreaCameraMoves::LowerCamera(float angle) {
  if (VPLCreation* creation = Creation()) creation->LowerCamera(angle);
}
void VPLSceneCreationUI::AreaCameraMoves::OrbitCameraPositive(float angle) {
  if (VPLCreation* creation = Creation()) creation->OrbitCameraPositive(angle);
}
void VPLSceneCreationUI::AreaCameraMoves::OrbitCameraNegative(float angle) {
  if (VPLCreation* creation = Creation()) creation->OrbitCameraNegative(angle);
}
void VPLSceneCreationUI::AreaCameraMoves::ZoomCameraIn(float distance) {
  if (VPLCreation* creation = Creation()) creation->ZoomCameraIn(distance);
}
void VPLSceneCreationUI::AreaCameraMoves::ZoomCameraOut(float distance) {
  if (VPLCreation* creation = Creation()) creation->ZoomCameraOut(distance);
}
