#include "app/shell/VPLDragButton.h"

#include "app/objects/VPLScript.h"
#include "app/objects/VPLServices.h"
#include "app/shell/VPLSceneFileIO.h"
#include "mm3d/MM3DModelCollection.h"

namespace {

// The drag sound, looping from the press until the drag ends.
constexpr MMResourceId kDragSoundTable = 352;
// How far in front of the button the drag plane lies.
constexpr float kPlaneDistance = 0.5f;
constexpr float kDragImageTransparency = 0.5f;
constexpr MM3DBlendFactors kAlphaBlend{4, 5};

}  // namespace

UURefCount<MM3DModel> VPLTableModel(MMResourceId table, int16_t tag) {
  const VPLScript script(table, kVPLButtonDefinition);
  if (script.FindTag(tag) < 0) return UURefCount<MM3DModel>();
  return MM3DGetModel(static_cast<MMResourceId>(script.GetTagUInt32(tag)),
                      VPLGetServices().mTextureMap);
}

VPLFileIOEventButton::VPLFileIOEventButton(VPLSceneFileIO* screen,
                                           const UURefCount<MM3DModel>& model,
                                           const MMTaskCallback& callback, MMResourceId definition)
    : VPLOnUpButtonObject(screen, model, callback, definition), mScreen(screen) {
  SetVisibility(kMMHidden);
}

void VPLFileIOEventButton::ShowPicture(MM3DBlendFactors blend, const MM3DTextureHandle& texture) {
  mBlend = blend;
  mPicture = texture;
  SetTexture(blend, texture);
}

void VPLFileIOEventButton::TakeLookOf(const VPLFileIOEventButton& other) {
  SetVisibility(other.GetVisibility());
  ShowPicture(other.mBlend, other.mPicture);
}

void VPLFileIOEventButton::ClearPicture() { ShowPicture({}, MM3DTextureHandle()); }

MM3DMaterialTextureLayer VPLFileIOEventButton::GetTextureLayer() const {
  if (GetVisibility() == kMMHidden) return MM3DMaterialTextureLayer();
  return MM3DMaterialTextureLayer(mBlend, mPicture);
}

VPLDragButton::VPLDragButton(VPLSceneFileIO* screen, const UURefCount<MM3DModel>& model,
                             const MMTaskCallback& callback, MMResourceId definition)
    : VPLFileIOEventButton(screen, model, callback, definition) {
  if (const UURefCount<MM3DModel> marker = VPLTableModel(definition, kMarkerTag)) {
    mMarker = std::make_unique<VPLObj>(screen, marker);
    mMarker->SetVisibility(kMMHidden);
  }
  SetDragPlane();
}

VPLDragButton::~VPLDragButton() = default;

// Three points of the plane just in front of the button.
void VPLDragButton::SetDragPlane() {
  MM3DVector min;
  MM3DVector max;
  GetBounds(min, max);
  const float z = max.mZ + kPlaneDistance;
  mPlane[0] = MM3DVector{min.mX, min.mY, z, 1.0f};
  mPlane[1] = MM3DVector{max.mX, max.mY, z, 1.0f};
  mPlane[2] = MM3DVector{min.mX + max.mX, min.mY + max.mY, z, 1.0f};
  mLastHit = mPlane[0];
}

bool VPLDragButton::HitDragPlane(const VPLPickEvent& event, MM3DVector& hit) const {
  const MMView* view = GetScreen()->GetView();
  const VPLSegment ray =
      view != nullptr ? VPLScreenToWorldSegment(*view, event.mX, event.mY, true) : event.mRay;
  return VPLIntersectSegmentPlane(ray, mPlane[0], mPlane[1], mPlane[2], hit);
}

void VPLDragButton::OnPress(const VPLPickEvent& event) {
  VPLFileIOEventButton::OnPress(event);
  MM3DVector hit;
  if (HitDragPlane(event, hit)) {
    mLastHit = hit;
    mDragImage = CreateDragImage();
    if (mDragImage != nullptr) {
      MM3DVector min;
      MM3DVector max;
      GetBounds(min, max);
      mDragImage->SetLocation(MM3DVector{min.mX + (max.mX - min.mX) / 2,
                                         min.mY + (max.mY - min.mY) / 2, mPlane[0].mZ, 1.0f});
      mDragImage->SetVisibility(kMMHidden);
    }
  }
  GetScreen()->PlayListSoundAtObject(*this, kDragSoundTable, true);
}

void VPLDragButton::OnDrag(const VPLPickEvent& event) {
  VPLFileIOEventButton::OnDrag(event);
  // Only a move shows the image, so a plain click never does.
  if (mDragImage != nullptr && mDragImage->GetVisibility() == kMMHidden) {
    SetVisibility(kMMHidden);
    mDragImage->SetVisibility(kMMShown);
  }
  OnDragOver(event);
  MM3DVector hit;
  if (mDragImage == nullptr || !HitDragPlane(event, hit)) return;
  mDragImage->SetLocation(mDragImage->GetWorldPosition().Sum(hit.Difference(mLastHit)));
  mLastHit = hit;
}

void VPLDragButton::OnRelease(const VPLPickEvent& event) {
  GetScreen()->StopSound();
  VPLFileIOEventButton::OnRelease(event);
  SetVisibility(kMMShown);
  DestroyDragImage();
}

void VPLDragButton::OnReleaseOutside(const VPLPickEvent& event) { DropNowhere(event); }

// Every end of a drag stops its sound, wherever the button was dropped.
void VPLDragButton::DropNowhere(const VPLPickEvent& event) {
  GetScreen()->StopSound();
  VPLFileIOEventButton::OnReleaseOutside(event);
  SetVisibility(kMMShown);
  DestroyDragImage();
  OnDragLeave();
}

bool VPLDragButton::DropOnTrash(const VPLPickEvent& event, const ActiveDialogInfo& question,
                                const std::function<void()>& throwAway) {
  VPLSceneFileIO& screen = *GetScreen();
  if (!screen.IsOverTrash(event)) return false;
  screen.StopSound();
  // The question keeps the drag image until it is answered.
  if (screen.AsksBeforeDeleting()) {
    screen.PostCommand(&VPLSceneFileIO::OpenDialog, question);
    return true;
  }
  throwAway();
  DestroyDragImage();
  return true;
}

void VPLDragButton::DropOnTarget(const std::function<void()>& act) {
  GetScreen()->StopSound();
  act();
  DestroyDragImage();
  OnDragLeave();
}

void VPLDragButton::DestroyDragImage() { mDragImage.reset(); }

void VPLDragButton::OnDragOver(const VPLPickEvent& event) {
  if (GetScreen()->IsOverTrash(event)) {
    GetScreen()->OpenTrash();
  } else {
    GetScreen()->CloseTrash();
  }
}

void VPLDragButton::OnDragLeave() { GetScreen()->CloseTrash(); }

void VPLDragButton::ShowMarker() {
  if (mMarker != nullptr) mMarker->SetVisibility(kMMShown);
}

void VPLDragButton::HideMarker() {
  if (mMarker != nullptr) mMarker->SetVisibility(kMMHidden);
}

bool VPLDragButton::IsMarkerShown() const {
  return mMarker != nullptr && mMarker->GetVisibility() == kMMShown;
}

void VPLDragButton::ShowDragImage() {
  if (mDragImage != nullptr) mDragImage->SetVisibility(kMMShown);
}

void VPLDragButton::HideDragImage() {
  if (mDragImage != nullptr) mDragImage->SetVisibility(kMMHidden);
}

bool VPLDragButton::IsDragImageShown() const {
  return mDragImage != nullptr && mDragImage->GetVisibility() == kMMShown;
}

std::unique_ptr<VPLObj> VPLDragButton::MakeDragImage(MMResourceId table) const {
  const UURefCount<MM3DModel> model = VPLTableModel(table, kVPLModelTag);
  if (!model) return nullptr;
  auto image = std::make_unique<VPLObj>(GetScreen(), model);
  const MM3DMaterialTextureLayer layer = GetTextureLayer();
  image->SetTexture(kAlphaBlend, layer.GetTexture());
  image->SetAlpha(kDragImageTransparency);
  return image;
}
