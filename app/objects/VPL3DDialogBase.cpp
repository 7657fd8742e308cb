#include "app/objects/VPL3DDialogBase.h"

#include "app/objects/RU3DTextureCollectionFromString.h"
#include "app/objects/VPLSceneUIBase.h"
#include "app/objects/VPLScript.h"
#include "app/objects/VPLServices.h"
#include "mm/drawing/MMSystemFont.h"
#include "mm3d/MM3DModelCollection.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

constexpr MMResourceId kStringList = 8;
constexpr int16_t kFaceTag = 45;
constexpr int16_t kSizeTag = 51;
// Row 0: the red, green and blue of the interface's texts, as int16.
constexpr MMResourceId kTextColorScript = 431;
constexpr int32_t kFontWeight = 400;
// Centred both ways on the rectangle's middle.
constexpr int32_t kCentred = 1;
// Larger sizes are no font a dialog could show.
constexpr int32_t kMaxFontSize = 1000;
// The widest credits page, for the widest panel a dialog could have.
constexpr int32_t kMaxPageWidth = 1024;

// The size text as a number; 0 unless it is a positive number.
int32_t FontSize(const char* text) {
  int32_t size = 0;
  const char* end = text + std::strlen(text);
  const auto [last, error] = std::from_chars(text, end, size);
  if (error != std::errc() || last != end || size <= 0 || size > kMaxFontSize) return 0;
  return size;
}

AFColor TextColor() {
  const MMScript colors(kTextColorScript);
  AFColor color;
  color.mRed = static_cast<uint8_t>(colors.GetInt16(0, 0));
  color.mGreen = static_cast<uint8_t>(colors.GetInt16(0, 2));
  color.mBlue = static_cast<uint8_t>(colors.GetInt16(0, 4));
  return color;
}

}  // namespace

VPL3DDialogBase::VPL3DDialogBase(VPLSceneUIBase* owner, const UURefCount<MM3DModel>& model,
                                 MMResourceId layout, const char* text)
    : VPLObjEventGrpCtrl(owner, model, layout), mOwner(owner) {
  if (text != nullptr && BuildTextPanel()) SetText(text);
  mOwner->AddKeyHandler(this, kKeyPriority);
}

VPL3DDialogBase::~VPL3DDialogBase() {
  mOwner->RemoveKeyHandler(this);
  if (mTextPanel) mTextPanel->Detach();
}

bool VPL3DDialogBase::HandleKey(const MMKeyEvent& /*event*/) { return true; }

bool VPL3DDialogBase::HitTest(const VPLSegment& /*ray*/) const { return true; }

bool VPL3DDialogBase::HandleEvent(const VPLPickEvent& event) {
  VPLObjEventGrpCtrl::HandleEvent(event);
  return true;
}

bool VPL3DDialogBase::BuildTextPanel() {
  if (GetLayout() == kMMNoResource) return false;
  const VPLScript layout(GetLayout(), kVPLLayoutTable);
  // A layout without a panel row has no panel: no model is read from no row.
  if (layout.FindTag(kTextPanelTag) < 0) return false;
  const UURefCount<MM3DModel> model = MM3DGetModel(
      static_cast<MMResourceId>(layout.GetTagUInt32(kTextPanelTag)), VPLGetServices().mTextureMap);
  if (!model) return false;
  if (mTextPanel) mTextPanel->Detach();
  mTextPanel = std::make_unique<VPLObj>(GetScene(), model);
  return true;
}

bool VPL3DDialogBase::SetText(const char* text) {
  return mTextPanel != nullptr && RenderLabel(*mTextPanel, text);
}

bool VPL3DDialogBase::SetImage(int16_t page) {
  if (mTextPanel == nullptr) return false;
  mTextPanel->RenderImage(PageRect(), page);
  return true;
}

UURect VPL3DDialogBase::PageRect() const {
  MM3DVector low(0.0f, 0.0f, 0.0f, 1.0f);
  MM3DVector high(0.0f, 0.0f, 0.0f, 1.0f);
  mTextPanel->GetBounds(low, high);
  const float width = high.mX - low.mX;
  const float height = high.mY - low.mY;
  // A flat or degenerate panel keeps the square page.
  if (!(width > 0.0f && height > 0.0f)) return UURect(0, 0, kTextureSide, kTextureSide);
  const float side = std::clamp(static_cast<float>(kTextureSide) * width / height, 1.0f,
                                static_cast<float>(kMaxPageWidth));
  return UURect(0, 0, static_cast<int32_t>(std::lround(side)), kTextureSide);
}

void VPL3DDialogBase::HideAll() {
  for (int16_t i = 0; i < GetChildCount(); ++i) {
    if (GetChild(i)->GetVisibility() == kMMShown) GetChild(i)->SetVisibility(kMMHidden);
  }
}

void VPL3DDialogBase::ShowAll() {
  for (int16_t i = 0; i < GetChildCount(); ++i) {
    if (GetChild(i)->GetVisibility() != kMMShown) GetChild(i)->SetVisibility(kMMShown);
  }
}

bool VPL3DDialogBase::RenderLabel(VPLObj& label, const char* text) {
  const VPLScript strings(kStringList, kVPLStringList);
  const int32_t size = FontSize(strings.GetTagString(kSizeTag));
  if (size == 0) return false;
  auto font = std::make_shared<MMSystemFont>(strings.GetTagString(kFaceTag), size, kFontWeight,
                                             false, false);
  if (!font->IsValid()) return false;
  const RU3DTextStyle style{font, TextColor(), kCentred, kCentred};
  return label.RenderText(UURect(0, 0, kTextureSide, kTextureSide), text, style);
}
