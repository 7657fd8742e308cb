#include "app/creation/VPLSceneCreationArea.h"

#include "app/creation/VPLCreationCharacter.h"
#include "app/creation/VPLCreationUIHooks.h"
#include "app/creation/VPLObjCreationChar.h"
#include "app/creation/VPLObjCreationUser.h"
#include "app/creation/VPLToolFactory.h"
#include "app/objects/VPL3DCursorSet.h"
#include "app/objects/VPLMaterializer.h"
#include "app/objects/VPLScript.h"
#include "app/objects/VPLServices.h"
#include "foundation/uu/UUCallback.h"
#include "foundation/uu/UUMemory.h"
#include "foundation/win/WinHUD.h"
#include "mm/stage/MM3DBackdrop.h"
#include "mm/stage/MM3DModelMolecule.h"
#include "mm/stage/MMStage.h"
#include "mm3d/MM3DModelCollection.h"

namespace {

// The kinds the tables are opened with; never checked against the table.
constexpr int16_t kSettingsKind = 9;
constexpr int16_t kListKind = 2;
constexpr int16_t kModelOffset = 2;
constexpr int16_t kEntryTag = 0;
constexpr int16_t kPathValueTag = 1;
constexpr int16_t kSpaceKey = 0;
constexpr uint8_t kSpace = ' ';
// The stage notifications the frame statistics follow.
constexpr int32_t kAfterAdvance = 0;
constexpr int32_t kAfterPresent = 1;

int32_t RowCount(const VPLScript& list) { return list.GetScript().GetRowCount(); }

}  // namespace

// The area's creation makes its character and groups through the area, so
// that the character a record holds and the one AddCharacter adds are made
// alike.
class VPLSceneCreationArea::AreaCreation : public VPLCreation {
 public:
  AreaCreation(VPLSceneCreationArea* area, const UURefCount<MM3DCamera>& camera)
      : VPLCreation(area, camera), mArea(area) {}
  VPLObjCreation* MakeOwnCharacter(const UURefCount<MM3DModel>& model) {
    return VPLCreation::MakeCharacter(model);
  }
  VPLObjCreation* MakeOwnGroup(const UURefCount<MM3DModel>& model) {
    return VPLCreation::MakeGroup(model);
  }

 protected:
  VPLObjCreation* MakeCharacter(const UURefCount<MM3DModel>& model) override {
    return mArea->MakeShowingCharacter(model);
  }
  VPLObjCreation* MakeGroup(const UURefCount<MM3DModel>& model) override {
    return mArea->MakeGroup(model);
  }

 private:
  VPLSceneCreationArea* mArea;
};

VPLSceneCreationArea::VPLSceneCreationArea(MMSceneServices* host, MMEnclosure* enclosure,
                                           MMView* view, int32_t cameraIndex)
    : VPLSceneBase(host, enclosure, view, cameraIndex) {
  mMaterializer = std::make_unique<VPLMaterializer>(TextureMap());
  mMaterializer->LoadPreset(kMaterialPreset);
  ReadSettings();
  mCreation = std::make_unique<AreaCreation>(this, GetCamera());
  ReadCurrentSketch();
  SetBackground(mCreation->GetBackground());
  NewUndoBlock(kUndoBlockSize);
  WriteSnapshot();
  mCreation->SetModified(false);
  mUntouched = true;
  SetTool(kVPLToolStart);
}

VPLSceneCreationArea::~VPLSceneCreationArea() {
  mMaterializer.reset();
  mTool.reset();
  mColorSucker.reset();
  mCreation.reset();
  mUndoStream.reset();
  mUndoBlock.reset();
  if (mFrameBegin && GetStage() != nullptr) {
    GetStage()->RemoveEventNotification(kAfterAdvance, mFrameBegin.get());
    GetStage()->RemoveEventNotification(kAfterPresent, mFrameEnd.get());
  }
  mFrameBegin.reset();
  mFrameEnd.reset();
  mHUD.reset();
  mGround.reset();
  mBackdrop.reset();
}

MM3DDriverTextureMap* VPLSceneCreationArea::TextureMap() const {
  MMStage* stage = GetStage();
  return stage != nullptr ? stage->GetTextureMap() : VPLGetServices().mTextureMap;
}

VPLObjCreation* VPLSceneCreationArea::MakeCharacter(const UURefCount<MM3DModel>& model) {
  return static_cast<AreaCreation&>(*mCreation).MakeOwnCharacter(model);
}

// The character's show, when it ends by itself, brings the character
// tool's controls up to date (its play button shows play again).
VPLObjCreation* VPLSceneCreationArea::MakeShowingCharacter(const UURefCount<MM3DModel>& model) {
  VPLObjCreation* character = MakeCharacter(model);
  if (auto* shown = dynamic_cast<VPLObjCreationChar*>(character)) {
    shown->SetToolRefreshTask(
        MMTaskCallback(GetTaskClient(),
                       new UUClassCallback<VPLSceneCreationArea, void (VPLSceneCreationArea::*)()>(
                           this, &VPLSceneCreationArea::RefreshCharacterTool)));
  }
  return character;
}

void VPLSceneCreationArea::RefreshCharacterTool() {
  if (mUI != nullptr) mUI->RefreshPombleTool();
}

VPLObjCreation* VPLSceneCreationArea::MakeGroup(const UURefCount<MM3DModel>& model) {
  return static_cast<AreaCreation&>(*mCreation).MakeOwnGroup(model);
}

void VPLSceneCreationArea::ReadSettings() {
  const VPLScript settings(kSettingsScript, kSettingsKind);
  const auto has = [&settings](int16_t tag) { return settings.FindTag(tag) >= 0; };
  const auto int16Of = [&settings](int16_t tag) {
    return static_cast<int16_t>(settings.GetTagInt32(tag));
  };
  // A divisor of 0 or a missing table keeps the drop position at the origin.
  if (has(kDropPositionTag)) {
    VPLReadVectorTable(settings.GetTagScriptId(kDropPositionTag), mDropPosition);
  }
  if (has(kSelectedModelTag)) mSelectedModel = int16Of(kSelectedModelTag);
  if (has(kToolOptionTag)) mToolOption = int16Of(kToolOptionTag);
  if (has(kFreehandModeTag)) mFreehandMode = settings.GetTagUInt32(kFreehandModeTag);
  if (has(kDrawSizeTag)) mDrawSize = int16Of(kDrawSizeTag);
  if (has(kMagnetSizeTag)) mMagnetSize = int16Of(kMagnetSizeTag);
  if (has(kInitialPathTag)) ReadInitialPath(settings.GetTagInt32(kInitialPathTag));
}

void VPLSceneCreationArea::ReadInitialPath(int32_t row) {
  const VPLScript paths(kPathList, kListKind);
  if (row < 0 || row >= RowCount(paths)) return;
  const VPLScript alternates(kAlternatePathList, kListKind);
  mPathIndex = 0;
  mPathModel = static_cast<MMResourceId>(paths.GetTagUInt32(kEntryTag, row));
  mAlternatePathModel = static_cast<MMResourceId>(alternates.GetTagUInt32(kEntryTag, row));
  mPathValue = paths.GetTagInt32(kPathValueTag, row);
}

bool VPLSceneCreationArea::OnMouse(const MMMouseEvent& event) {
  const VPLPickEvent pick(event.mTime, event.mX, event.mY, event.mFlags);
  VPLTool* target = RouteTarget(pick);
  mToolTookInput = target != nullptr && target->OnMouse(pick);
  return mToolTookInput;
}

VPLTool* VPLSceneCreationArea::RouteTarget(const VPLPickEvent& event) const {
  if (mTool && (mTool->IsEngaged() || mTool->GetToolType() == kVPLToolGroup)) return mTool.get();
  if (event.Has(kVPLColorSucker)) return mColorSucker.get();
  return mTool.get();
}

void VPLSceneCreationArea::OnSecondaryInput() {
  if (mTool) mTool->OnSecondaryInput();
}

bool VPLSceneCreationArea::OnKey(const MMKeyEvent& event) {
  if (event.mKeyCode == kSpaceKey && event.mCharacter == kSpace) {
    if (!mToolTookInput) mCreation->ResetCamera();
    return true;
  }
  if (event.mKeyCode == kEnterKey) {
    NextBackground();
    return true;
  }
  return false;
}

void VPLSceneCreationArea::Activate() {
  if (!KeepsUnsavedCreation()) {
    mUnsavedSketch.clear();
    mCreation->ClearModified();
    ReadCurrentSketch();
  }
  SetBackground(mCreation->GetBackground());
  const bool modified = mCreation->IsModified();
  if (mUndoStream) mUndoStream->Seek(0, kUUSeekFromStart, nullptr);
  WriteSnapshot();
  mCreation->SetModified(modified);
  mUntouched = true;
  LightCurrentGroup();
  VPLSceneBase::Activate();
}

void VPLSceneCreationArea::Deactivate() {
  if (SaveSketch()) {
    mUnsavedSketch.clear();
    mCreation->ClearModified();
  } else {
    KeepUnsavedCreation();
  }
  VPLSceneBase::Deactivate();
}

bool VPLSceneCreationArea::OnQuitRequest(bool /*flag*/) {
  if (VPLGetServices().mQuit) VPLGetServices().mQuit();
  return true;
}

void VPLSceneCreationArea::Tick(int32_t clock) { mCreation->Tick(clock); }

void VPLSceneCreationArea::SetTool(int32_t value) {
  if (VPLToolFactory::ClassOf(value) >= 0) {
    mTool.reset();
    mTool = VPLToolFactory::Make(value, *this);
  }
  if (!mColorSucker) mColorSucker = VPLToolFactory::MakeColorSucker(*this);
}

void VPLSceneCreationArea::SetCursor(int32_t number) {
  VPL3DCursorSet* cursors = VPL3DCursorSet::GetGlobal();
  VPLSceneUIBase* scene = mUI != nullptr ? mUI->GetCursorScene() : nullptr;
  if (cursors != nullptr && scene != nullptr) cursors->Select(scene, number);
}

void VPLSceneCreationArea::ResetCamera() { mCreation->ResetCamera(); }

int32_t VPLSceneCreationArea::GetBackgroundCount() {
  return VPLScript(kGroundList, kListKind).CountTag(kEntryTag);
}

void VPLSceneCreationArea::SetBackground(int16_t index) {
  if (index < 0 || index >= GetBackgroundCount()) return;
  TakeSnapshot();
  const auto id = [index](MMResourceId list) {
    const VPLScript models(list, kListKind);
    return static_cast<MMResourceId>(models.GetTagUInt32(kEntryTag, index));
  };
  mGround.reset();
  mBackdrop.reset();
  mGround = std::make_unique<MM3DModelMolecule>(this, id(kGroundList));
  // The sky goes where the eye goes, from where it sits about the home eye.
  mBackdrop = std::make_unique<MM3DBackdropMolecule>(this, id(kBackdropList),
                                                     mCreation->GetCamera().GetHomeEye());
  mCreation->SetBackground(index);
  TakeSnapshot();
  ApplyGround(mCreation->GetGround());
}

void VPLSceneCreationArea::NextBackground() {
  const int32_t next = mCreation->GetBackground() + 1;
  SetBackground(next < GetBackgroundCount() ? static_cast<int16_t>(next) : int16_t{0});
}

void VPLSceneCreationArea::ToggleGround() {
  if (mCreation->GetGround()) {
    SetGroundOff();
  } else {
    SetGroundOn();
  }
}

void VPLSceneCreationArea::SetGroundOn() {
  TakeSnapshot();
  ApplyGround(true);
}

void VPLSceneCreationArea::SetGroundOff() {
  TakeSnapshot();
  ApplyGround(false);
}

bool VPLSceneCreationArea::IsGroundHidden() const { return !mCreation->GetGround(); }

void VPLSceneCreationArea::ApplyGround(bool on) {
  if (mGround && (mGround->GetVisibility() == kMMShown) != on) {
    mGround->SetVisibility(on ? kMMShown : kMMHidden);
  }
  mCreation->SetGround(on);
}

void VPLSceneCreationArea::ClearCreation() {
  TakeSnapshot();
  mCreation->ClearAsModified();
  ApplyGround(mCreation->GetGround());
}

void VPLSceneCreationArea::AddLibraryModel(int16_t index) {
  const VPLScript library(mLibraryList, kListKind);
  if (index < 0 || index >= RowCount(library)) return;
  const auto id = static_cast<MMResourceId>(library.GetScript().GetUInt32(index, kModelOffset));
  const UURefCount<MM3DModel> model = MM3DGetModel(id, TextureMap());
  if (!model) return;
  auto* object = new VPLObjCreationUser(this, model, mCreation.get());
  mMaterializer->Apply(object);
  mCreation->AddObjectAt(object, mDropPosition);
}

void VPLSceneCreationArea::AddSelectedModel() {
  mCreation->SetModified(true);
  TakeSnapshot();
  AddLibraryModel(mSelectedModel);
}

VPLCreationCharacter* VPLSceneCreationArea::Character() const {
  return dynamic_cast<VPLCreationCharacter*>(mCreation->FindCharacter());
}

void VPLSceneCreationArea::AddCharacter() {
  if (mCreation->FindCharacter() != nullptr) return;
  const VPLScript list(kCharacterList, kListKind);
  if (list.FindTag(kEntryTag) < 0) return;
  const auto id = static_cast<MMResourceId>(list.GetTagUInt32(kEntryTag));
  const UURefCount<MM3DModel> model = MM3DGetModel(id, TextureMap());
  if (!model) return;
  VPLObjCreation* character = MakeShowingCharacter(model);
  if (character == nullptr) return;
  mCreation->AddObject(character);
  if (VPLCreationCharacter* controls = Character()) {
    controls->SetUpPartHighlight();
    controls->AllPartsOff();
  }
}

void VPLSceneCreationArea::RemoveCharacter() {
  VPLObjCreation* character = mCreation->FindCharacter();
  if (character == nullptr) return;
  StopPerformance();
  mCreation->RemoveObject(character);
}

void VPLSceneCreationArea::TogglePerformance() {
  if (IsCharacterPerforming()) {
    StopPerformance();
  } else {
    StartPerformance();
  }
}

void VPLSceneCreationArea::StartPerformance() {
  VPLCreationCharacter* character = Character();
  if (character != nullptr && !character->IsPerforming()) character->StartPerformance();
}

void VPLSceneCreationArea::StopPerformance() {
  VPLCreationCharacter* character = Character();
  if (character != nullptr && character->IsPerforming()) character->StopPerformance();
}

bool VPLSceneCreationArea::IsCharacterPerforming() const {
  const VPLCreationCharacter* character = Character();
  return character != nullptr && character->IsPerforming();
}

void VPLSceneCreationArea::SelectPath(int16_t index) {
  const VPLScript paths(kPathList, kListKind);
  if (index < 0 || index >= RowCount(paths)) return;
  const VPLScript alternates(kAlternatePathList, kListKind);
  mPathIndex = index;
  mPathModel = static_cast<MMResourceId>(paths.GetTagUInt32(kEntryTag, 0, index));
  mAlternatePathModel = static_cast<MMResourceId>(alternates.GetTagUInt32(kEntryTag, 0, index));
  mPathValue = paths.GetTagInt32(kPathValueTag, 0, index);
}

void VPLSceneCreationArea::CreateHUD() {
  if (mHUD || GetStage() == nullptr) return;
  mHUD = std::make_unique<WinHUD>();
  mFrameBegin =
      std::make_unique<UUClassCallback<VPLSceneCreationArea, void (VPLSceneCreationArea::*)()>>(
          this, &VPLSceneCreationArea::OnFrameBegin);
  mFrameEnd =
      std::make_unique<UUClassCallback<VPLSceneCreationArea, void (VPLSceneCreationArea::*)()>>(
          this, &VPLSceneCreationArea::OnFrameEnd);
  GetStage()->AddEventNotification(kAfterAdvance, mFrameBegin.get());
  GetStage()->AddEventNotification(kAfterPresent, mFrameEnd.get());
}

void VPLSceneCreationArea::OnFrameBegin() {
  if (mHUD) mHUD->BeginRender();
}

void VPLSceneCreationArea::OnFrameEnd() {
  if (mHUD) mHUD->EndFrame();
}

void VPLSceneCreationArea::LightCurrentGroup() {
  VPLObjCreation* group = mCreation->GetCurrentGroup();
  if (mTool && mTool->GetToolType() == kVPLToolGroup && group != nullptr) {
    group->SetHighlight(true, VPLCreation::kGroupTint);
  }
}
