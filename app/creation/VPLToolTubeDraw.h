#pragma once
// The tube tool: a drag on the upright drawing plane that faces the camera
// sweeps the outline of a flat profile along the mouse path. The press
// starts a pointed cone, each unit of travel adds a ring of the profile
// turned along the stroke (at most kMaxRings), with side faces to the ring
// before, faceted or smooth as the profile's row says; the release closes
// the tube with a pointed end and adds it to the creation as one undo
// step. A press that never travels a unit makes nothing. Stage thread
// only.

#include "app/creation/VPLDrawingPlane.h"
#include "app/creation/VPLTool.h"
#include "mm3d/MM3DColor.h"
#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "mm3d/MM3DVector.h"

#include <cstdint>
#include <memory>
#include <vector>

class MM3DDisplayTreeNodeIndexedMesh;
class VPLObjCreationUser;

class VPLToolTubeDraw : public VPLTool {
 public:
  static constexpr int32_t kCursor = 16;
  // Rows tagged 0 name the profile models, rows tagged 1 their smooth
  // flags; the row is tool option x kSizesPerOption + draw size.
  static constexpr MMResourceId kProfileScript = 306;
  static constexpr int16_t kProfileScriptKind = 2;
  static constexpr int16_t kModelTag = 0;
  static constexpr int16_t kSmoothTag = 1;
  static constexpr int16_t kSizesPerOption = 5;
  static constexpr int16_t kMaxRings = 300;
  static constexpr float kRingSpacing = 1.0f;

  VPLToolTubeDraw(MMView* view, VPLCreation* creation, VPLSceneCreationArea* area,
                  MMResourceId soundScript);
  // An unfinished tube goes with the tool: it never reached the creation.
  ~VPLToolTubeDraw() override;

  bool OnMouse(const VPLPickEvent& event) override;
  VPLToolEnums GetToolType() const override { return kVPLToolTubeDraw; }
  void Begin(const VPLSegment& segment, bool alternate) override;
  void Drag(const VPLSegment& segment, bool alternate) override;
  void End(const VPLSegment& segment, bool alternate) override;

  VPLObjCreationUser* GetTube() const { return mTube.get(); }
  int16_t GetRingCount() const { return mRingCount; }
  int16_t GetSlotCount() const { return mSlotCount; }
  bool IsSmooth() const { return mSmooth; }
  bool IsFirstRingPending() const { return mFirstRingPending; }
  // The row of script 306 the current option and size choose.
  int16_t ProfileRow() const;

 private:
  // The profile model of the row, its mesh and outline into the tool;
  // false when the row, the mesh or a sweepable outline is missing.
  bool LoadProfile();
  MM3DIndexedMeshVertexData* FirstBlock() const;
  // The block the tube is built in; null without a profile.
  MM3DIndexedMeshVertexData* Block() const { return mBlock; }
  // The turn of the profile along the stroke (the angle's cosine and sine)
  // and the move to the ring's place in the tube.
  struct RingPlacement {
    float mCos;
    float mSin;
    MM3DVector mMove;
  };
  RingPlacement Placement(float angle, const MM3DVector& h) const;
  MM3DVector PlaceOnRing(const MM3DVector& point, const RingPlacement& placement) const;
  float StrokeAngle(const MM3DVector& d) const;
  // Room in the block for one more ring and the end cone after it.
  bool HasRoomForRing() const;
  void BuildFirstRing(const RingPlacement& placement, const MM3DVector& d);
  void BuildStartCone(int32_t tip);
  void BuildLaterRing();
  void BuildSides(int32_t k, int32_t next);
  void SmoothRing(const std::vector<int32_t>& slots);
  void BuildEndCone(const MM3DVector& r);
  // Adds a tube still held to the creation as one undo step.
  // Appends the triangle, puts its normal on the given corners and the
  // tube's colour on all three.
  void AddFacet(int32_t a, int32_t b, int32_t c, bool onFirst, bool onSecond, bool onThird);
  void SetCorner(int32_t vertex, float u, float v);
  void FinishTube();
  void ForgetProfile();

  bool mFirstRingPending = false;
  bool mSmooth = true;
  // Rings stop at kMaxRings or when the block could hold no more.
  bool mCapped = false;
  MM3DVector mStartPoint{0.0f, 0.0f, 0.0f, 1.0f};
  MM3DVector mLastRingPoint{0.0f, 0.0f, 0.0f, 1.0f};
  VPLDrawingPlane mPlane;
  std::unique_ptr<VPLObjCreationUser> mTube;
  std::vector<MM3DVector> mProfile;
  std::vector<MM3DVector> mRing;
  std::vector<int32_t> mSlotVertices;
  std::vector<int32_t> mPreviousCopies;
  float mVRunning = 0.0f;
  int16_t mSlotCount = 0;
  MM3DDisplayTreeNodeIndexedMesh* mProfileMeshNode = nullptr;
  MM3DIndexedMeshVertexData* mBlock = nullptr;
  int16_t mRingCount = 0;
  MM3DPackedColor mColor{255, 255, 255, 255};
};
