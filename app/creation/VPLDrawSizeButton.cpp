#include "app/creation/VPLDrawSizeButton.h"

#include "app/creation/VPLSceneCreationArea.h"
#include "app/objects/VPLScript.h"

namespace {

constexpr int32_t kDrawTool = 7;
constexpr int32_t kMagnetPushTool = 12;
constexpr int32_t kMagnetPullTool = 17;

VPLUpAlphaHiliteObject* AsHilite(VPLObjEvent* child) {
  return dynamic_cast<VPLUpAlphaHiliteObject*>(child);
}

}  // namespace

const MM3DColor VPLDrawSizeButton::kPlainColor{0.25f, 0.25f, 0.25f, 0.0f};
const MM3DColor VPLDrawSizeButton::kChosenColor{1.0f, 0.0f, 0.0f, 0.0f};

VPLDrawSizeButton::VPLDrawSizeButton(const VPLToolPalette& palette,
                                     const UURefCount<MM3DModel>& model, MMResourceId layout,
                                     const MMTaskCallback& callback, int32_t tool)
    : VPLObjEventGrpCtrlNonScroll(palette.mScene, model, layout, callback),
      mPalette(palette),
      mTool(tool) {
  // Rows without another look become hover-highlight buttons.
  SetHoverChildren(true);
}

void VPLDrawSizeButton::Build() {
  VPLObjEventGrpCtrlNonScroll::Build();
  MM3DVector offset{0.0f, 0.0f, 0.0f, 1.0f};
  VPLReadVectorTable(kOffsetTable, offset);
  for (int16_t i = 0; i < GetChildCount(); ++i) {
    GetChild(i)->SetColor(mNormalColor);
    ShowPlain(i);
    GetChild(i)->SetPosition(offset);
  }
}

void VPLDrawSizeButton::ShowPlain(int16_t index) const {
  VPLObjEvent* child = GetChild(index);
  if (child == nullptr) return;
  child->SetColor(kPlainColor);
  if (VPLUpAlphaHiliteObject* hilite = AsHilite(child)) {
    hilite->SetLooks(0.0f, 0.0f, kPlainColor, kHoverGlow);
  }
}

void VPLDrawSizeButton::ShowChosen(int16_t index, const MM3DColor& hover) const {
  VPLObjEvent* child = GetChild(index);
  if (child == nullptr) return;
  child->SetColor(kChosenColor);
  if (VPLUpAlphaHiliteObject* hilite = AsHilite(child)) {
    hilite->SetLooks(0.0f, 0.0f, kChosenColor, hover);
  }
}

void VPLDrawSizeButton::Select(int16_t index) {
  if (GetChild(index) == nullptr) {
    ShowChosen(mSelected, kChosenColor);
    return;
  }
  ShowPlain(mSelected);
  VPLObjEventGrpCtrlNonScroll::Select(index);
  WriteSize(index);
  ShowChosen(index, kChosenColor);
}

void VPLDrawSizeButton::WriteSize(int16_t index) const {
  if (mTool == kDrawTool) {
    mPalette.mArea->SetDrawSize(index);
  } else if (mTool == kMagnetPushTool || mTool == kMagnetPullTool) {
    mPalette.mArea->SetMagnetSize(index);
  }
}

void VPLDrawSizeButton::OnHoverOn() {
  VPLObjEventGrpCtrlNonScroll::OnHoverOn();
  // While the pointer is over the row, the chosen size glows like the others.
  ShowChosen(mSelected, kHoverGlow);
}

void VPLDrawSizeButton::OnHoverOff() {
  VPLObjEventGrpCtrlNonScroll::OnHoverOff();
  ShowChosen(mSelected, kPlainColor);
}
