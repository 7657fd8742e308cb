#include "app/objects/VPLObjEventGrpCtrlScroll.h"

#include "app/objects/VPLMaterializer.h"
#include "app/objects/VPLScript.h"
#include "app/objects/VPLScrollArrow.h"
#include "app/objects/VPLServices.h"
#include "foundation/uu/UUCallback.h"
#include "mm/stage/MMScene.h"
#include "mm3d/MM3DModelCollection.h"

#include <algorithm>
#include <cstdlib>

namespace {

// The look every grid cell starts from.
constexpr MMResourceId kCellPreset = 4;

int16_t Narrow(int32_t value) {
  return static_cast<int16_t>(std::clamp<int32_t>(value, INT16_MIN, INT16_MAX));
}

}  // namespace

VPLObjEventGrpCtrlScroll::VPLObjEventGrpCtrlScroll(MMScene* scene,
                                                   const UURefCount<MM3DModel>& model,
                                                   MMResourceId layout,
                                                   const MMTaskCallback& callback)
    : VPLObjEventGrpCtrl(scene, model, layout), mScrolled(callback) {
  if (layout == kMMNoResource) return;
  const VPLScript table(layout, kVPLLayoutTable);
  if (table.FindTag(kColumnStepTag) >= 0) mColumnStep = table.GetTagInt16(kColumnStepTag) != 0;
  if (table.FindTag(kColumnsTag) >= 0)
    mColumns = std::max<int16_t>(table.GetTagInt16(kColumnsTag), 1);
  if (table.FindTag(kRowsTag) >= 0) mRows = std::max<int16_t>(table.GetTagInt16(kRowsTag), 1);
  mBackButton = MakeArrow(table.GetTagScriptId(kBackButtonTag), kScrollBack);
  mForwardButton = MakeArrow(table.GetTagScriptId(kForwardButtonTag), kScrollForward);
}

VPLObjEventGrpCtrlScroll::~VPLObjEventGrpCtrlScroll() = default;

std::unique_ptr<VPLUpAlphaHiliteObject> VPLObjEventGrpCtrlScroll::MakeArrow(
    MMResourceId definition, ScrollDirection direction) {
  const VPLScript table(definition, kVPLButtonDefinition);
  if (definition == kMMNoResource || table.FindTag(kVPLModelTag) < 0) return nullptr;
  UURefCount<MM3DModel> model = MM3DGetModel(
      static_cast<MMResourceId>(table.GetTagUInt32(kVPLModelTag)), VPLGetServices().mTextureMap);
  auto* scroll = new UUClassCallback1Parameter<VPLObjEventGrpCtrlScroll,
                                               void (VPLObjEventGrpCtrlScroll::*)(ScrollDirection),
                                               ScrollDirection>(
      this, &VPLObjEventGrpCtrlScroll::OnScroll, direction);
  MMTaskClient* client = GetScene() != nullptr ? GetScene()->GetTaskClient() : nullptr;
  return std::make_unique<VPLScrollArrow>(GetScene(), model, MMTaskCallback(client, scroll),
                                          definition);
}

void VPLObjEventGrpCtrlScroll::Build(const MMTaskCallback& callback) {
  VPLObjEventGrpCtrl::Build(callback);
  Refresh();
}

void VPLObjEventGrpCtrlScroll::ApplyVisibility(MMVisibility visibility) {
  VPLObjEventGrpCtrl::ApplyVisibility(visibility);
  UpdateScrollButtons();
}

bool VPLObjEventGrpCtrlScroll::HitTest(const VPLSegment& ray) const {
  for (const auto* button : {mBackButton.get(), mForwardButton.get()}) {
    if (button != nullptr && button->GetVisibility() == kMMShown && button->HitTest(ray)) {
      return true;
    }
  }
  return VPLObjEventGrpCtrl::HitTest(ray);
}

VPLObjEvent* VPLObjEventGrpCtrlScroll::FindChild(const VPLPickEvent& event, bool deep) {
  for (auto* button : {mBackButton.get(), mForwardButton.get()}) {
    if (button == nullptr) continue;
    if (VPLObjEvent* target = button->FindTarget(event)) return deep ? target : this;
  }
  return VPLObjEventGrpCtrl::FindChild(event, deep);
}

void VPLObjEventGrpCtrlScroll::SetOffset(int16_t offset) {
  mOffset = std::clamp(offset, static_cast<int16_t>(0), LastOffset());
  if (GetChildCount() > 0) Refresh();
}

void VPLObjEventGrpCtrlScroll::Refresh() {
  const int16_t cells = std::min(GetPage(), GetChildCount());
  for (int16_t i = 0; i < cells; ++i) FillCell(i, Narrow(mOffset + i));
  UpdateScrollButtons();
}

void VPLObjEventGrpCtrlScroll::OnScroll(ScrollDirection direction) {
  mPreviousOffset = mOffset;
  const bool scrolled = direction == kScrollForward ? ScrollForward() : ScrollBack();
  if (!scrolled) return;
  ShiftCells(direction);
  mPreviousOffset = mOffset;
  PostOwned(mScrolled);
}

int16_t VPLObjEventGrpCtrlScroll::ForwardLimit() const {
  return Narrow(mPartialPages ? mItemCount - GetPage() + 1 : mItemCount - 1);
}

int16_t VPLObjEventGrpCtrlScroll::LastOffset() const {
  // An empty list, or one shorter than a page, rests at 0.
  const int32_t cap = mPartialPages ? mItemCount - 1 : mItemCount - GetPage();
  return Narrow(std::max(cap, 0));
}

bool VPLObjEventGrpCtrlScroll::ScrollBack() {
  if (mItemCount <= 0) return false;
  if (mOffset > 0) {
    mOffset = std::max(Narrow(mOffset - Step()), static_cast<int16_t>(0));
    return true;
  }
  if (mWrap && Line() == 1) {
    mOffset = Narrow(mItemCount - 1);
    return true;
  }
  return false;
}

bool VPLObjEventGrpCtrlScroll::ScrollForward() {
  if (mItemCount <= 0) return false;
  if (mOffset < ForwardLimit()) {
    mOffset = std::min(Narrow(mOffset + Step()), LastOffset());
    return true;
  }
  if (mWrap && Line() == 1) {
    mOffset = 0;
    return true;
  }
  return false;
}

bool VPLObjEventGrpCtrlScroll::PageBack() {
  if (mOffset == 0 || mItemCount <= 0) return false;
  mOffset = Narrow(mOffset - Line());
  if (mOffset < 0) mOffset = mWrap ? Narrow(mOffset + mItemCount) : static_cast<int16_t>(0);
  return true;
}

bool VPLObjEventGrpCtrlScroll::PageForward() {
  if (mOffset >= ForwardLimit() || mItemCount <= 0) return false;
  mOffset = Narrow(mOffset + Line());
  if (mOffset >= mItemCount) {
    mOffset = mWrap ? Narrow(mOffset - mItemCount) : Narrow(std::max(mItemCount - Line(), 0));
  }
  return true;
}

void VPLObjEventGrpCtrlScroll::Show(VPLObj* button, bool shown) {
  if (button == nullptr) return;
  const MMVisibility visibility = shown ? kMMShown : kMMHidden;
  if (button->GetVisibility() != visibility) button->SetVisibility(visibility);
}

void VPLObjEventGrpCtrlScroll::UpdateScrollButtons() {
  bool back = false;
  bool forward = false;
  if ((mItemCount < GetPage() && !mPartialPages) || GetVisibility() != kMMShown) {
    back = forward = false;
  } else if (mWrap) {
    back = forward = true;
  } else {
    back = mOffset != 0;
    forward = mOffset < mItemCount - GetPage() + 1;
  }
  Show(mBackButton.get(), back);
  Show(mForwardButton.get(), forward);
}

void VPLObjEventGrpCtrlScroll::ShiftCells(ScrollDirection direction) {
  const int16_t cells = std::min(GetPage(), GetChildCount());
  const int32_t last = cells - 1;
  const int32_t d = std::abs(mPreviousOffset - mOffset);
  if (cells <= 1) {
    if (cells == 1) FillCell(0, mOffset);
  } else if (direction == kScrollForward) {
    int32_t j = 0;
    for (; j <= last - d; ++j) CopyItemLook(Narrow(j + d), Narrow(j));
    for (; j <= last; ++j) FillCell(Narrow(j), Narrow(mOffset + j));
  } else {
    for (int32_t k = last; k >= d; --k) CopyItemLook(Narrow(k - d), Narrow(k));
    for (int32_t j = std::min<int32_t>(d, last + 1) - 1; j >= 0; --j) {
      FillCell(Narrow(j), Narrow(mOffset + j));
    }
  }
  UpdateScrollButtons();
}

void VPLObjEventGrpCtrlScroll::CopyItemLook(int16_t from, int16_t to) {
  VPLObjEvent* source = GetChild(from);
  VPLObjEvent* target = GetChild(to);
  if (source == nullptr || target == nullptr) return;
  target->SetVisibility(source->GetVisibility());
  VPLMaterializer look(VPLGetServices().mTextureMap);
  look.LoadPreset(kCellPreset);
  look.TakeTextureFrom(*source, nullptr, true, false);
  look.Apply(target);
}
