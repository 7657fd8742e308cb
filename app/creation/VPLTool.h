#pragma once
// The editing tools' base. The creation area hands its current tool every
// mouse event it routes to it; a tool turns the pointer into a world
// segment, picks what lies under it and changes the creation through the
// objects' own operations, in three steps: Begin at an accepted press,
// Drag for every move with a button held, End at the release. The cursor
// follows Shift on every event. A tool that changes the creation marks it
// modified and then takes the area's undo checkpoint (MarkChanged), so the
// checkpoint holds the creation as it was just before the change. Stage
// thread only.

#include "app/creation/VPLToolSound.h"
#include "app/objects/VPLPickEvent.h"
#include "app/objects/VPLPicking.h"
#include "app/objects/VPLVertexHolder.h"
#include "mm/resources/MMCollectionRegistry.h"
#include "mm3d/MM3DVector.h"

#include <cstdint>
#include <memory>

class MMView;
class VPLCreation;
class VPLObjCreation;
class VPLSceneCreationArea;

// The tool numbers the tool buttons pass to VPLSceneCreationArea::SetTool
// and each tool reports. 6, 10, 11 and 16 have no tool of their own: they
// build the move tool; the colour sucker is the area's second tool, reached
// with Ctrl.
enum VPLToolEnums : int32_t {
  kVPLToolMove = 0,
  kVPLToolScale = 1,
  kVPLToolDelete = 2,
  kVPLToolMirror = 3,
  kVPLToolRotate = 4,
  kVPLToolFloodColor = 5,
  kVPLToolStart = 6,
  kVPLToolTubeDraw = 7,
  kVPLToolShapeFreehand = 8,
  kVPLToolShapePrimitive = 9,
  kVPLToolCharacter = 10,
  kVPLToolUnused = 11,
  kVPLToolMagnetPush = 12,
  kVPLToolAlign = 13,
  kVPLToolGroup = 14,
  kVPLToolPath = 15,
  kVPLToolColorSucker = 16,
  kVPLToolMagnetPull = 17,
  kVPLToolCount = 18
};

class VPLTool {
 public:
  // Makes the generic tool sound on the script; the factory swaps in a
  // tool's own kind.
  VPLTool(MMView* view, VPLCreation* creation, VPLSceneCreationArea* area,
          MMResourceId soundScript);
  // Deletes the tool sound. A tool destroyed in the middle of an action gets
  // no End.
  virtual ~VPLTool();
  VPLTool(const VPLTool&) = delete;
  VPLTool& operator=(const VPLTool&) = delete;

  // Handles one event; answers the engaged flag afterwards.
  virtual bool OnMouse(const VPLPickEvent& event) = 0;
  // The mouse left the stage: nothing in every tool.
  virtual void OnSecondaryInput() {}
  // Shows the alternate cursor while Shift is held, else the normal one.
  virtual void UpdateCursor(bool alternate);
  virtual VPLToolEnums GetToolType() const = 0;
  virtual void Begin(const VPLSegment& /*segment*/, bool /*alternate*/) {}
  virtual void Drag(const VPLSegment& /*segment*/, bool /*alternate*/) {}
  virtual void End(const VPLSegment& /*segment*/, bool /*alternate*/) {}

  bool IsEngaged() const { return mEngaged; }
  void SetCursors(int32_t normal, int32_t alternate);
  int32_t GetNormalCursor() const { return mNormalCursor; }
  int32_t GetAlternateCursor() const { return mAlternateCursor; }
  // May be null: every sound call is then skipped.
  VPLToolSound* GetSound() const { return mSound.get(); }
  void SetSound(std::unique_ptr<VPLToolSound> sound);
  const VPLVertexHolder& GetHitVertex() const { return mHitVertex; }

 protected:
  // The segment under the pointer, lengthened, from the area's view.
  VPLSegment SegmentAt(const VPLPickEvent& event) const;
  // The press, drag and release protocol of the object tools: a press
  // while idle engages the tool and begins when pick finds something under
  // the segment; while engaged a release ends and a move with a button held
  // drags; anything else is ignored. Answers the engaged flag afterwards
  // (Begin may clear it).
  template <typename Pick>
  bool RunPressDragRelease(const VPLPickEvent& event, Pick pick);
  // The change rule: the creation is marked modified, then checkpointed.
  void MarkChanged();
  void SoundBegin(const MM3DVector& position, bool alternate);
  void SoundDrag(const MM3DVector& position, bool alternate);
  void SoundEnd(const MM3DVector& position, bool alternate);
  void SoundAct(const MM3DVector& position, bool alternate);

  MMView* mView;
  VPLCreation* mCreation;
  VPLSceneCreationArea* mArea;
  std::unique_ptr<VPLToolSound> mSound;
  bool mEngaged = false;
  int32_t mNormalCursor = 0;
  int32_t mAlternateCursor = 0;
  VPLVertexHolder mHitVertex;
};

template <typename Pick>
bool VPLTool::RunPressDragRelease(const VPLPickEvent& event, Pick pick) {
  const bool alternate = event.Has(kVPLAlternate);
  UpdateCursor(alternate);
  if (event.Has(kVPLPress) && !mEngaged) {
    const VPLSegment segment = SegmentAt(event);
    if (pick(segment)) {
      mEngaged = true;
      Begin(segment, alternate);
    }
  } else if (mEngaged && event.Has(kVPLRelease)) {
    mEngaged = false;
    End(SegmentAt(event), alternate);
  } else if (mEngaged && event.Has(kVPLHeld)) {
    Drag(SegmentAt(event), alternate);
  }
  return mEngaged;
}

// The tools that act on the object under the press: move, rotate, scale,
// the magnets and the on-up tools.
class VPLToolObjectBased : public VPLTool {
 public:
  using VPLTool::VPLTool;

  // The press picks the nearest object, its hit vertex into the tool's.
  bool OnMouse(const VPLPickEvent& event) override;

  VPLObjCreation* GetPickedObject() const { return mPicked; }

 protected:
  VPLObjCreation* mPicked = nullptr;
};

// The tools that act once, at a release over the pressed object: delete,
// mirror, flood colour and path. The release test is the object's bounding
// volume, not its meshes.
class VPLToolObjectBasedOnUpAction : public VPLToolObjectBased {
 public:
  using VPLToolObjectBased::VPLToolObjectBased;

  void Begin(const VPLSegment& segment, bool alternate) override;
  void Drag(const VPLSegment& segment, bool alternate) override;
  // Acts when the release is over the object, then plays the release sound
  // (also when it is not) and forgets the object.
  void End(const VPLSegment& segment, bool alternate) override;
  // The action's sound at the picked object; every tool's Act calls it
  // first.
  virtual void Act(const VPLSegment& segment, bool alternate);

 protected:
  MM3DVector PickedPosition() const;
};
