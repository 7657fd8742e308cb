#include "app/creation/VPLObjButtonTool.h"

#include "app/creation/VPLCreationUIHooks.h"
#include "app/creation/VPLDrawSizeButton.h"
#include "app/creation/VPLSceneCreationArea.h"
#include "app/objects/VPLSceneUIBase.h"
#include "app/objects/VPLScript.h"
#include "app/objects/VPLServices.h"
#include "mm3d/MM3DModelCollection.h"

namespace {

// The clip times of the button's first frame: the look of a released button.
constexpr int32_t kReleasedStart = 0;
constexpr int32_t kReleasedEnd = 41;
constexpr int32_t kDrawTool = 7;

}  // namespace

VPLObjButtonTool::VPLObjButtonTool(const VPLToolPalette& palette,
                                   const UURefCount<MM3DModel>& model,
                                   const MMTaskCallback& callback, MMResourceId definition)
    : VPLObjEventGrp(palette.mScene, model, kMMNoResource, callback), mPalette(palette) {
  // The group underneath holds no definition, so its hooks stay silent;
  // the look and sounds are this button's own.
  SetDefinition(definition);
  mNormalAlpha = kReleasedAlpha;
  if (!IsSilent() && !ShowRestFrame()) SetAlpha(mNormalAlpha);
}

UURefCount<MM3DModel> VPLObjButtonTool::TableModel(MMResourceId table, int16_t kind) {
  return MM3DGetModel(static_cast<MMResourceId>(VPLScript(table, kind).GetTagUInt32(kVPLModelTag)),
                      VPLGetServices().mTextureMap);
}

void VPLObjButtonTool::OnHoverOn() {
  if (IsSilent() || mCurrent || mHovered) return;
  mHovered = true;
  PlaySound(kVPLHoverOnSoundTag);
  PlayRange(kVPLHoverFramesTag);
}

void VPLObjButtonTool::OnHoverOff() {
  if (IsSilent() || mCurrent || !mHovered) return;
  PlaySound(kVPLHoverOffSoundTag);
  ShowAtRest(kVPLRestFramesTag, kVPLClickFramesTag);
  mHovered = false;
}

void VPLObjButtonTool::OnPress(const VPLPickEvent& /*event*/) {
  if (IsSilent() || mCurrent) return;
  PlaySound(kVPLPressSoundTag);
  PlayRange(kVPLPressFramesTag);
}

void VPLObjButtonTool::OnRelease(const VPLPickEvent& /*event*/) {
  if (IsSilent() || mCurrent) return;
  if (mPalette.mHooks != nullptr) mPalette.mHooks->SetCurrentToolButton(this);
  FireCallback();
  PlaySound(kVPLClickSoundTag);
  PlayRange(kVPLToggleFramesTag);
}

void VPLObjButtonTool::OnReleaseOutside(const VPLPickEvent& /*event*/) {
  if (IsSilent() || mCurrent) return;
  ShowAtRest(kVPLClickFramesTag, kVPLRestFramesTag);
}

void VPLObjButtonTool::ShowAtRest(int16_t firstTag, int16_t secondTag) {
  if (!PlayRange(firstTag) && !PlayRange(secondTag)) SetAlpha(mNormalAlpha);
}

void VPLObjButtonTool::Engage() {
  mCurrent = true;
  mNormalAlpha = 0.0f;
  SetAlpha(mNormalAlpha);
}

void VPLObjButtonTool::EngageTool(int32_t tool) {
  Area().SetTool(tool);
  VPLObjButtonTool::Engage();
}

void VPLObjButtonTool::Release() {
  RemoveAllChildren();
  ShowReleased();
}

void VPLObjButtonTool::RemoveAllChildren() {
  while (GetChildCount() > 0) {
    VPLObjEvent* child = GetChild(static_cast<int16_t>(GetChildCount() - 1));
    child->Detach();
    RemoveChild(child);
  }
}

void VPLObjButtonTool::ShowReleased() {
  mCurrent = false;
  mNormalAlpha = kReleasedAlpha;
  SetAlpha(mNormalAlpha);
  PlayAnimation(kReleasedStart, kReleasedEnd, false);
}

VPLDrawSizeButton* VPLObjButtonTool::AddSizeButtons(MMResourceId layout, int32_t tool) {
  auto* sizes = Append(std::make_unique<VPLDrawSizeButton>(
      mPalette, TableModel(layout, kVPLLayoutTable), layout, MMTaskCallback(), tool));
  sizes->Build();
  sizes->Select(tool == kDrawTool ? Area().GetDrawSize() : Area().GetMagnetSize());
  return sizes;
}
