#pragma once
// A cell of the sketch grid: a sketch's thumbnail. A click makes the sketch
// current, a double-click opens it; dragged onto the trash it is deleted,
// onto a sketchbook's cover it moves there, anywhere else it becomes
// current.

#include "app/shell/VPLDragButton.h"

class MM3DAnimationPlayer;
class VPLSketch;
class VPLSketchbookButton;

class VPLSketchButton : public VPLDragButton {
 public:
  // The tag of the definition's transition-image model.
  static constexpr int16_t kTransitionTag = 7;
  static constexpr MMResourceId kDragImageTable = 367;
  // The size the thumbnails are drawn at.
  static constexpr int32_t kThumbnailSize = 256;

  using VPLDragButton::VPLDragButton;
  ~VPLSketchButton() override;

  void OnDoubleClick() override;
  void OnDrag(const VPLPickEvent& event) override;
  void OnReleaseOutside(const VPLPickEvent& event) override;
  // The thumbnail, under the other id of its pair so that the renderer
  // draws the sketch as it is now, not a texture it kept.
  void Refresh() override;
  // Takes the other cell's thumbnail pair with its look and leaves it this
  // cell's pair: each pair stays with one cell, so no refresh switches to
  // an id whose old picture another cell still shows.
  void TakeLookOf(VPLSketchButton& other);
  std::unique_ptr<VPLObj> CreateDragImage() override;
  void OnDragOver(const VPLPickEvent& event) override;
  void OnDragLeave() override;

  void SetItem(VPLSketch* sketch) { mSketch = sketch; }
  VPLSketch* GetItem() const { return mSketch; }
  MMResourceId GetThumbnailId() const { return mThumbnailId; }
  bool ShowsCurrentSketch() const;

  // The image that grows to fill the view when the screens change.
  MM3DAnimationPlayer* GetTransitionPlayer();
  void ShowTransitionImage();
  void DestroyTransitionImage();

 private:
  void BuildTransitionImage();
  void Hover(VPLSketchbookButton* book);

  VPLSketch* mSketch = nullptr;
  VPLSketchbookButton* mHovered = nullptr;
  std::unique_ptr<VPLObj> mTransitionImage;
  MMResourceId mThumbnailId = kMMNoResource;
};
