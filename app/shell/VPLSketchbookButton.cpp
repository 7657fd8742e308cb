#include "app/shell/VPLSketchbookButton.h"

#include "app/objects/VPLScript.h"
#include "app/objects/VPLServices.h"
#include "app/shell/VPLSceneFileIO.h"
#include "app/shell/VPLSketchbook.h"
#include "app/shell/VPLSketchbookLibrary.h"
#include "mm3d/MM3DDriverTextureMap.h"

namespace {

constexpr MM3DTextureKey kCoverKey{.mClamp = 1, .mLinear = 1, .mMipmaps = 0};
constexpr MM3DBlendFactors kOpaqueBlend{1, 0};
constexpr MM3DBlendFactors kAlphaBlend{4, 5};
constexpr float kIconTransparency = 0.6f;

// The texture of the cover; an empty handle for a number the table does
// not hold (a damaged index file may give any number).
MM3DTextureHandle CoverTexture(int16_t cover) {
  MM3DDriverTextureMap* map = VPLGetServices().mTextureMap;
  const MMScript table(kVPLCoverTable);
  if (map == nullptr || cover < 0 || cover >= table.GetRowCount()) return MM3DTextureHandle();
  MM3DTextureHandle texture =
      map->GetHandle(static_cast<MMResourceId>(table.GetUInt32(cover, 0)), kCoverKey);
  map->LoadAll();
  return texture;
}

MM3DBlendFactors CoverBlend(const MM3DTextureHandle& texture) {
  return texture.IsEmpty() || texture.IsOpaque() ? kOpaqueBlend : kAlphaBlend;
}

}  // namespace

int16_t VPLCoverCount() { return static_cast<int16_t>(MMScript(kVPLCoverTable).GetRowCount()); }

void VPLSketchbookButton::OnDoubleClick() {
  VPLDragButton::OnDoubleClick();
  GetScreen()->PostCommand(&VPLSceneFileIO::SelectSketchbook, this);
}

void VPLSketchbookButton::OnReleaseOutside(const VPLPickEvent& event) {
  VPLSceneFileIO& screen = *GetScreen();
  if (DropOnTrash(event, {.mKind = kVPLDeleteSketchbookQuestion, .mSketchbookButton = this},
                  [&] { screen.PostCommand(&VPLSceneFileIO::DeleteSketchbook, this); })) {
    return;
  }
  if (screen.IsOverSketchGrid(event)) {
    DropOnTarget([&] { screen.PostCommand(&VPLSceneFileIO::SelectSketchbook, this); });
    return;
  }
  DropNowhere(event);
}

void VPLSketchbookButton::Refresh() {
  if (GetVisibility() == kMMHidden || mBook == nullptr) return;
  const MM3DTextureHandle texture = CoverTexture(mBook->GetCoverNumber());
  ShowPicture(CoverBlend(texture), texture);
}

std::unique_ptr<VPLObj> VPLSketchbookButton::CreateDragImage() {
  return MakeDragImage(kDragImageTable);
}

void VPLSketchbookButton::OnDragOver(const VPLPickEvent& event) {
  VPLDragButton::OnDragOver(event);
  if (GetScreen()->IsOverSketchGrid(event)) {
    GetScreen()->ShowSketchGridHighlight();
  } else {
    GetScreen()->HideSketchGridHighlight();
  }
}

void VPLSketchbookButton::OnDragLeave() {
  VPLDragButton::OnDragLeave();
  GetScreen()->HideSketchGridHighlight();
}

void VPLSketchbookIconButton::Refresh() {
  if (GetVisibility() == kMMHidden || mCover == kNoCover) return;
  const MM3DTextureHandle texture = CoverTexture(mCover);
  ShowPicture(CoverBlend(texture), texture);
}

void VPLCurrentSketchbookIcon::Refresh(const VPLSketchbookLibrary& library) {
  const VPLSketchbook* book = library.GetCurrentSketchbook();
  SetTexture(kAlphaBlend,
             book != nullptr ? CoverTexture(book->GetCoverNumber()) : MM3DTextureHandle());
  SetAlpha(kIconTransparency);
}
