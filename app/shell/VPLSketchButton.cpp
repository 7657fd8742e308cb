#include "app/shell/VPLSketchButton.h"

#include "app/objects/VPLServices.h"
#include "app/shell/VPLSceneFileIO.h"
#include "app/shell/VPLSketchbook.h"
#include "app/shell/VPLSketchbookButton.h"
#include "app/shell/VPLSketchbookLibrary.h"
#include "app/shell/VPLTextureCollectionFromSketchHandle.h"
#include "mm3d/MM3DDriverTextureMap.h"

#include <utility>

namespace {

constexpr MM3DBlendFactors kOpaqueBlend{1, 0};
constexpr MM3DTextureKey kPictureKey{.mClamp = 1, .mLinear = 1, .mMipmaps = 0};

}  // namespace

VPLSketchButton::~VPLSketchButton() = default;

bool VPLSketchButton::ShowsCurrentSketch() const {
  const VPLSketchbook* book = GetScreen()->GetLibrary().GetCurrentSketchbook();
  return mSketch != nullptr && book != nullptr && book->GetCurrentSketch() == mSketch;
}

void VPLSketchButton::OnDoubleClick() {
  VPLDragButton::OnDoubleClick();
  FireCallback();
  GetScreen()->PostCommand(&VPLSceneFileIO::ReturnToCreation);
}

void VPLSketchButton::OnDrag(const VPLPickEvent& event) {
  VPLDragButton::OnDrag(event);
  HideMarker();
}

void VPLSketchButton::OnReleaseOutside(const VPLPickEvent& event) {
  VPLSceneFileIO& screen = *GetScreen();
  if (DropOnTrash(event, {.mKind = kVPLDeleteSketchQuestion, .mSketchButton = this},
                  [&] { screen.PostCommand(&VPLSceneFileIO::DeleteSketch, this); })) {
    return;
  }
  if (VPLSketchbookButton* book = screen.FindSketchbookButton(event)) {
    DropOnTarget([&] { screen.PostCommand(&VPLSceneFileIO::MoveSketch, this, book); });
    return;
  }
  DropNowhere(event);
  if (ShowsCurrentSketch()) {
    ShowMarker();
  } else {
    FireCallback();
  }
}

void VPLSketchButton::Refresh() {
  VPLTextureCollectionFromSketchHandle* thumbnails = GetScreen()->GetThumbnails();
  if (GetVisibility() == kMMHidden || mSketch == nullptr || thumbnails == nullptr) return;
  const UURect rect(0, 0, kThumbnailSize, kThumbnailSize);
  mThumbnailId = mThumbnailId == kMMNoResource ? thumbnails->AddEntry(rect, *mSketch)
                                               : thumbnails->SetEntry(mThumbnailId, rect, *mSketch);
  MM3DDriverTextureMap* map = VPLGetServices().mTextureMap;
  if (mThumbnailId == kMMNoResource || map == nullptr) return;
  ShowPicture(kOpaqueBlend, map->GetHandle(mThumbnailId, kPictureKey));
}

void VPLSketchButton::TakeLookOf(VPLSketchButton& other) {
  VPLFileIOEventButton::TakeLookOf(other);
  std::swap(mThumbnailId, other.mThumbnailId);
}

std::unique_ptr<VPLObj> VPLSketchButton::CreateDragImage() {
  return MakeDragImage(kDragImageTable);
}

void VPLSketchButton::OnDragOver(const VPLPickEvent& event) {
  VPLDragButton::OnDragOver(event);
  Hover(GetScreen()->FindSketchbookButton(event));
}

void VPLSketchButton::OnDragLeave() {
  VPLDragButton::OnDragLeave();
  Hover(nullptr);
}

// One sketchbook's marker at a time shows where the sketch would go.
void VPLSketchButton::Hover(VPLSketchbookButton* book) {
  if (mHovered != nullptr && mHovered != book) mHovered->HideMarker();
  mHovered = book;
  if (mHovered != nullptr) mHovered->ShowMarker();
}

void VPLSketchButton::BuildTransitionImage() {
  const UURefCount<MM3DModel> model = VPLTableModel(GetDefinition(), kTransitionTag);
  if (!model) return;
  mTransitionImage = std::make_unique<VPLObj>(GetScreen(), model);
  mTransitionImage->SetVisibility(kMMHidden);
}

MM3DAnimationPlayer* VPLSketchButton::GetTransitionPlayer() {
  if (mTransitionImage == nullptr) BuildTransitionImage();
  return mTransitionImage != nullptr ? mTransitionImage->GetAnimationPlayer() : nullptr;
}

void VPLSketchButton::ShowTransitionImage() {
  if (mTransitionImage == nullptr) BuildTransitionImage();
  if (mTransitionImage == nullptr) return;
  mTransitionImage->SetTexture(kOpaqueBlend, GetTextureLayer().GetTexture());
  mTransitionImage->SetVisibility(kMMShown);
}

void VPLSketchButton::DestroyTransitionImage() { mTransitionImage.reset(); }
