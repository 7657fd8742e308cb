#pragma once
// A created object that holds other created objects, its members, in a
// fixed order: plain objects, groups and the character. The first member
// is the anchor: its place is the group's place and its model the group's
// model, so the group shares that member's display tree and never draws
// it itself (a see-through member is not blended twice). Picking reaches
// into the members, the highlight passes to each, and moving, turning,
// scaling and mirroring carry the members about the anchor. Stage thread
// only.

#include "app/creation/VPLObjCreation.h"

#include <cstdint>
#include <memory>
#include <vector>

class MM3DModDatabase;
class UUMemory;

class VPLObjCreationGroup : public VPLObjCreation {
 public:
  // The members' models are staged in the geometry buffer before they are
  // written; it grows while one does not fit, up to a million bytes.
  static constexpr int32_t kGeometryBufferSize = 240000;
  static constexpr int32_t kGeometryBufferGrowth = 30000;
  static constexpr int32_t kGeometryBufferLimit = 1000000;
  // Records nest at most this many groups deep, so that each one written
  // reads back.
  static constexpr int32_t kMaxNesting = 256;

  // Made on the first member's model (an empty one when the character
  // comes first).
  VPLObjCreationGroup(MMScene* scene, const UURefCount<MM3DModel>& model, VPLCreation* creation);
  // Detaches and deletes every member.
  ~VPLObjCreationGroup() override;
  VPLObjCreationGroup(const VPLObjCreationGroup&) = delete;
  VPLObjCreationGroup& operator=(const VPLObjCreationGroup&) = delete;

  VPLObjCreationType GetType() const override { return kVPLObjCreationGroup; }
  VPLObjCreationType GetFirstChildType() const override;
  // -1 and null outside 0 .. count - 1.
  int32_t GetChildType(int32_t i) const;
  VPLObjCreation* GetChild(int32_t i) const;
  int32_t GetChildCount() const { return static_cast<int32_t>(mChildren.size()); }
  VPLObjCreation* GetFirstChild() const { return GetChild(0); }
  UURefCount<MM3DModel> GetFirstChildModel() const;

  // Membership. Append takes the object as it is (the first member of a
  // new group); Add bakes its size and turn into its mesh, may highlight
  // it and gives it its place in a running scale drag; Remove hands it
  // back undeleted and forgets every placement. The group owns its members.
  void AppendChild(VPLObjCreation* object);
  void AddChild(VPLObjCreation* object, bool highlight);
  void RemoveChild(VPLObjCreation* object, bool unhighlight);

  // The member the segment hits nearest its start (the earlier of equals);
  // with descend, the deepest member inside nested groups, or null when
  // none of a nested group's members is hit.
  VPLObjCreation* PickChild(const MM3DVector& start, const MM3DVector& end, MM3DVector* hit,
                            VPLVertexHolder* vertex, bool descend) const;
  // Empties the placements here and in every nested group.
  void ClearPlacements();
  void TransformPlacements(const MM3DMatrix& matrix);
  const std::vector<MM3DVector>& GetPlacements() const { return mPlacements; }

  void SetHighlight(bool on, const MM3DColor& tint) override;
  const MM3DColor& GetTint() const { return mTint; }
  void SetMagnetBusy(bool busy) { mMagnetBusy = busy; }
  bool IsMagnetBusy() const { return mMagnetBusy; }

  // The anchor's place and transform.
  void SetLocation(const MM3DVector& point) override;
  MM3DVector GetWorldPosition() const override;
  void GetTransform(MM3DMatrix& out) const override;
  // The box around the members; the group's own mesh is never tested.
  void RefreshBounds() override;
  void BuildBounds() override;
  bool IntersectsBounds(const MM3DVector& a, const MM3DVector& b) const override;
  bool PickRay(const MM3DVector& a, const MM3DVector& b, MM3DVector& hit,
               VPLVertexHolder* record) const override;
  // Unless its steps are held: its spin, jiggle (not during a member's
  // magnet drag), pulse and path, then every member's tick.
  void Tick(int32_t now) override;
  // A nested group keeps its members' orientation: only places turn.
  void RotateBy(const float& x, const float& y, const float& z) override;
  using VPLObj::RotateBy;

  // The drags act on the members about the anchor.
  void BeginMove() override;
  void DragMove(float x, float y, float z) override;
  void EndMove(float x, float y, float z) override;
  void BeginRotate(float ax, float ay, float az) override;
  void DragRotate(float ax, float ay, float az) override;
  void EndRotate(float ax, float ay, float az) override;
  void BeginScale(float sx, float sy, float sz) override;
  void DragScale(float sx, float sy, float sz) override;
  void EndScale() override;
  void MirrorLeftRight(const MM3DVector& eye, const MM3DVector& interest) override;
  void MirrorUpDown(const MM3DVector& eye, const MM3DVector& interest) override;
  // Also forgets the placements: the members stand where the baked shape
  // puts them.
  void BakeScale() override;
  // The group's rest and every member's.
  void ShowRestShape() override;
  void ShowMotionShape() override;
  // Every member to the absolute factors, offsets from the anchor scaled
  // from where they stood when the scale drag began.
  void ApplyGroupScale(float sx, float sy, float sz);

  // The group record: the members with their places, models (all but the
  // first's), records and picture names, the tint, then the group's own
  // record. A failed write puts every member back; a failed read adds no
  // half-read member.
  bool WriteRecord(UUWriter& writer, void* context) override;
  bool ReadRecord(UUReader& reader, void* context) override;
  void GrowGeometryBuffer();
  int32_t GetGeometryBufferSize() const { return mGeometryBufferSize; }

 protected:
  void StepSpin(int32_t now) override;
  // The jiggle scales the members about the anchor.
  void ShowJiggleScale() override;

 private:
  // Holds the group's own steps (and its members') for a scope.
  class HeldSteps {
   public:
    explicit HeldSteps(VPLObjCreationGroup& group) : mGroup(group) { mGroup.mStepsHeld = true; }
    ~HeldSteps() { mGroup.mStepsHeld = false; }
    HeldSteps(const HeldSteps&) = delete;
    HeldSteps& operator=(const HeldSteps&) = delete;

   private:
    VPLObjCreationGroup& mGroup;
  };
  class ChildAtOrigin;

  int32_t IndexOf(const VPLObjCreation* object) const;
  // Offsets of the members from the anchor, taken now.
  std::vector<MM3DVector> Offsets() const;
  // Places every member after the first at the anchor plus its offset
  // through the matrix.
  void PlaceMembers(const MM3DVector& anchor, const std::vector<MM3DVector>& offsets,
                    const MM3DMatrix& matrix);
  void TurnMembers(float ax, float ay, float az);
  void Mirror(const MM3DVector& eye, const MM3DVector& interest, int32_t axis);
  bool WriteGroupRecord(UUWriter& writer, int32_t depth);
  bool WriteChild(UUWriter& writer, MM3DModDatabase& database, size_t i, int32_t depth);
  bool WriteChildModel(UUWriter& writer, MM3DModDatabase& database, const VPLObjCreation& child);
  bool ReadGroupRecord(UUReader& reader, int32_t depth);
  // The member read, or null when its record failed.
  VPLObjCreation* ReadChild(UUReader& reader, MM3DModDatabase& database, int32_t i, int32_t depth);
  VPLObjCreation* MakeChild(UUReader& reader, MM3DModDatabase& database, int16_t type, int32_t i);
  bool ReadChildBody(UUReader& reader, VPLObjCreation& child, int16_t type, int32_t depth);
  bool NewGeometryBuffer(int32_t size);

  std::vector<MM3DVector> mPlacements;
  std::vector<VPLObjCreation*> mChildren;
  MM3DColor mTint{1.0f, 1.0f, 1.0f, 1.0f};
  int32_t mGeometryBufferSize = kGeometryBufferSize;
  // Made at the first write: a group read from a file may never be written.
  std::unique_ptr<uint8_t[]> mGeometryBuffer;
  std::unique_ptr<UUMemory> mGeometryStream;
  bool mMagnetBusy = false;
};
