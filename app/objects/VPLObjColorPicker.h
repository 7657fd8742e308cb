#pragma once
// The colour wheel: a mesh whose triangles carry colours at their corners.
// Pressing or dragging on it takes a colour mixed from the three corner
// colours of the triangle under the pointer and hands it to its grey
// scale, which writes it into the current material (with Shift, the base
// colour only). A ray off the wheel's triangles changes nothing.

#include "app/objects/VPLFirstBlock.h"
#include "app/objects/VPLObjEvent.h"
#include "mm3d/MM3DColor.h"

class VPLObjGreyScale;

class VPLObjColorPicker : public VPLObjEvent {
 public:
  // Where the wheel stands on the fill tool's options.
  static constexpr float kPlaceX = -0.75f;
  static constexpr float kPlaceY = 6.5f;
  static constexpr float kPlaceZ = -45.0f;
  // Clip times of the hover, unhover and click animations, in ms.
  static constexpr int32_t kHoverStart = 41;
  static constexpr int32_t kHoverEnd = 1042;
  static constexpr int32_t kClickEnd = 2876;

  // The grey scale may be null: the picker then only keeps the colour.
  VPLObjColorPicker(MMScene* scene, const UURefCount<MM3DModel>& model,
                    const MMTaskCallback& callback, VPLObjGreyScale* greyScale);

  void OnHoverOn() override;
  void OnHoverOff() override;
  void OnPress(const VPLPickEvent& event) override;
  void OnRelease(const VPLPickEvent& event) override;
  void OnDrag(const VPLPickEvent& event) override;

  // Takes the colour under the event's ray; false when there is none.
  bool Pick(const VPLPickEvent& event);
  // The last colour taken; its alpha is 0.
  const MM3DPackedColor& GetPickedColour() const { return mPicked; }

 private:
  void PlaySoundList(MMResourceId list);

  VPLFirstBlock mWheel;
  VPLObjGreyScale* mGreyScale;
  VPLSegment mRay{{0.0f, 0.0f, 0.0f, 1.0f}, {0.0f, 0.0f, 0.0f, 1.0f}};
  MM3DPackedColor mPicked{0, 0, 0, 0};
};

// The colour of the point q on the triangle (p0, p1, p2) with corner
// colours (c0, c1, c2): the mean of a colour on each edge, weighted by the
// point's place across it. Degenerate edges give their first colour.
MM3DPackedColor VPLMixTriangleColour(const MM3DVector p[3], const MM3DPackedColor c[3],
                                     const MM3DVector& q);
