#pragma once
// The file screen's cells: buttons that show an item's picture and, for
// sketches and sketchbooks, can be dragged. While dragged, a half-clear
// copy follows the pointer on a plane just in front of the button, the
// trash opens under it, and the drop is carried out by the screen's
// commands as a task after the release.

#include "app/objects/VPLObjButton.h"
#include "mm3d/MM3DMaterial.h"

#include <cstdint>
#include <functional>
#include <memory>

class VPLSceneFileIO;
struct ActiveDialogInfo;

// The model named by the first row of the tag in the table; empty when the
// table has no such row.
UURefCount<MM3DModel> VPLTableModel(MMResourceId table, int16_t tag);

class VPLFileIOEventButton : public VPLOnUpButtonObject {
 public:
  // Built hidden: the grids show the cells that hold an item.
  VPLFileIOEventButton(VPLSceneFileIO* screen, const UURefCount<MM3DModel>& model,
                       const MMTaskCallback& callback, MMResourceId definition);

  // Shows the item's picture; nothing while hidden.
  virtual void Refresh() = 0;

  VPLSceneFileIO* GetScreen() const { return mScreen; }
  // The picture the button shows, as a texture layer of its own; empty
  // while the button is hidden.
  MM3DMaterialTextureLayer GetTextureLayer() const;
  // A scroll moves a look to another cell: this cell shows what the other
  // shows, on its own material, so the picture keeps its true colours.
  void TakeLookOf(const VPLFileIOEventButton& other);
  // Shows and holds no picture.
  void ClearPicture();

 protected:
  // Shows the texture and remembers it for the drag and transition images.
  void ShowPicture(MM3DBlendFactors blend, const MM3DTextureHandle& texture);

 private:
  VPLSceneFileIO* mScreen;
  MM3DBlendFactors mBlend{};
  MM3DTextureHandle mPicture;
};

class VPLDragButton : public VPLFileIOEventButton {
 public:
  // The tag of the definition's marker model.
  static constexpr int16_t kMarkerTag = 6;

  VPLDragButton(VPLSceneFileIO* screen, const UURefCount<MM3DModel>& model,
                const MMTaskCallback& callback, MMResourceId definition);
  ~VPLDragButton() override;

  void OnPress(const VPLPickEvent& event) override;
  void OnRelease(const VPLPickEvent& event) override;
  void OnDrag(const VPLPickEvent& event) override;
  void OnReleaseOutside(const VPLPickEvent& event) override;

  // The half-clear copy that follows the pointer.
  virtual std::unique_ptr<VPLObj> CreateDragImage() = 0;
  void DestroyDragImage();
  virtual void OnDragOver(const VPLPickEvent& event);
  virtual void OnDragLeave();

  void ShowMarker();
  void HideMarker();
  bool IsMarkerShown() const;
  void ShowDragImage();
  void HideDragImage();
  bool IsDragImageShown() const;

 protected:
  // A drop that does nothing: the button comes back where it was.
  void DropNowhere(const VPLPickEvent& event);
  // A drop over the trash: the drag's sound stops and the button's item is
  // thrown away, after the question when the child is asked first. False
  // when the pointer is not over the trash.
  bool DropOnTrash(const VPLPickEvent& event, const ActiveDialogInfo& question,
                   const std::function<void()>& throwAway);
  // A drop the screen acts on: the sound stops, the action is posted and
  // the drag image goes.
  void DropOnTarget(const std::function<void()>& act);
  // The drag image made from the table's model, with the button's picture
  // half clear.
  std::unique_ptr<VPLObj> MakeDragImage(MMResourceId table) const;
  VPLObj* GetDragImage() const { return mDragImage.get(); }

 private:
  void SetDragPlane();
  bool HitDragPlane(const VPLPickEvent& event, MM3DVector& hit) const;

  std::unique_ptr<VPLObj> mMarker;
  std::unique_ptr<VPLObj> mDragImage;
  MM3DVector mPlane[3];
  MM3DVector mLastHit;
};
