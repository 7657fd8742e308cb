#pragma once
// A slider: a clickable model holding a flat track, and a knob object that
// rides it. Every press, drag and release puts the knob at the x of the
// point under the pointer, clamped to the track's ends (the x of vertices
// 0 and 2 of the track's first block); a drag off the track puts it back
// where it was at the press. The knob's button-definition table gives the
// slider's frame ranges and sounds; without one (-1) the slider is silent
// and still.

#include "app/objects/VPLFirstBlock.h"
#include "app/objects/VPLObjEvent.h"

#include <cstdint>
#include <memory>

class VPLObjSlider : public VPLObjEvent {
 public:
  // The knobs sit this deep, in front of their tracks.
  static constexpr float kKnobDepth = -44.95f;

  VPLObjSlider(MMScene* scene, const UURefCount<MM3DModel>& model, MMResourceId knobId,
               const MMTaskCallback& callback);
  ~VPLObjSlider() override;

  void OnHoverOn() override;
  void OnHoverOff() override;
  void OnPress(const VPLPickEvent& event) override;
  void OnRelease(const VPLPickEvent& event) override;
  void OnDrag(const VPLPickEvent& event) override;

  // Rebuilds the hit shape and puts the knob at the track's minimum corner.
  virtual void ResetKnob();
  virtual void MoveKnob(const VPLPickEvent& event);
  // The knob's new place for the event's ray, also kept as its position.
  virtual MM3DVector ComputeKnobPosition(const VPLPickEvent& event);

  const MM3DVector& GetKnobPosition() const { return mKnobPosition; }
  const MM3DVector& GetTrackMin() const { return mTrackMin; }
  const MM3DVector& GetTrackMax() const { return mTrackMax; }
  VPLObj& GetKnob() const { return *mKnob; }
  MMResourceId GetKnobId() const { return mKnobId; }

 protected:
  // The hit shape's corners become the track's extent.
  void ReadTrackExtent();
  // Keeps the position and moves the knob object there.
  void PlaceKnob(const MM3DVector& position);
  // The knob at the fraction f of the track, half-way up it.
  MM3DVector KnobAt(float f) const;

  VPLFirstBlock mTrack;
  MM3DVector mKnobPosition{0.0f, 0.0f, 0.0f, 1.0f};
  MM3DVector mPressPosition{0.0f, 0.0f, 0.0f, 1.0f};
  MM3DVector mTrackMin{0.0f, 0.0f, 0.0f, 1.0f};
  MM3DVector mTrackMax{0.0f, 0.0f, 0.0f, 1.0f};
  VPLSegment mRay{{0.0f, 0.0f, 0.0f, 1.0f}, {0.0f, 0.0f, 0.0f, 1.0f}};

 private:
  // The range whose first frame the tag holds, on the slider; false when
  // the knob's table lacks it.
  bool PlayRange(int16_t firstTag, bool atDefaultRate = false);
  void PlaySound(int16_t listTag, bool loop = false);
  // The track's x at the hit, clamped to vertices 0 and 2, in world space.
  MM3DVector ClampedTrackPoint(const MM3DVector& local) const;

  MMResourceId mKnobId;
  std::unique_ptr<VPLObj> mKnob;
};
