#pragma once
// Pomble's look. The character model is cut into six body parts, each
// under a part node of its own name that shows or hides it. The base
// visual draws a model with those part nodes and an on flag per part; it
// also draws the ghost, a pale copy of the body that shows the parts still
// missing. The character's own visual adds a pose per part, 0..1, which it
// spreads over the targets of the part's blend node, keeps the ghost
// showing exactly the parts that are off, and writes and reads the pose
// record of the character record. Stage thread only.

#include "foundation/uu/UUGrowableArray.h"
#include "foundation/uu/UURefCount.h"
#include "mm/resources/MMCollectionRegistry.h"
#include "mm/stage/MM3DDisplayTreeVisual.h"
#include "mm3d/MM3DModel.h"

#include <cstdint>
#include <memory>

class MM3DDisplayTreeNodeIndexedBlendShapeArray;
class MM3DDisplayTreeNodeSRTTransform;
class UUReader;
class UUWriter;
class VPLObj;

// The body parts, in the order of every per-part table and loop.
enum VPLBodyPart : int32_t {
  kVPLHead = 0,
  kVPLTorso = 1,
  kVPLLeftArm = 2,
  kVPLRightArm = 3,
  kVPLLeftFoot = 4,
  kVPLRightFoot = 5,
  kVPLBodyPartCount = 6
};

class VPLBasePombleVisual : public MM3DDisplayTreeVisual {
 public:
  // The part nodes' names, in body-part order.
  static constexpr const char* kPartNodeNames[kVPLBodyPartCount] = {"_head",  "_torso",  "_L_arm",
                                                                    "_R_arm", "_L_foot", "_R_foot"};

  // Shares the model; finds the part nodes (a missing one, or one of
  // another class, stays null). Every part starts on; the nodes' own
  // visibility is left as the model has it.
  VPLBasePombleVisual(VPLObj* owner, const UURefCount<MM3DModel>& model, int32_t depth);

  // Shows or hides the part's node (when the model has one) and sets its
  // flag.
  virtual void SetPartOn(int32_t part, bool on);
  void SetHeadOn(bool on) { SetPartOn(kVPLHead, on); }
  void SetTorsoOn(bool on) { SetPartOn(kVPLTorso, on); }
  void SetLeftArmOn(bool on) { SetPartOn(kVPLLeftArm, on); }
  void SetRightArmOn(bool on) { SetPartOn(kVPLRightArm, on); }
  void SetLeftFootOn(bool on) { SetPartOn(kVPLLeftFoot, on); }
  void SetRightFootOn(bool on) { SetPartOn(kVPLRightFoot, on); }
  // False for a number outside the body parts.
  bool IsPartOn(int32_t part) const;
  // The part's switch with true; nothing outside the body parts.
  void SwitchPartOn(int32_t part);
  // Here only the nodes are hidden (shown): the flags stay.
  virtual void AllPartsOff();
  virtual void AllPartsOn();

  // Null when the model has no such part node.
  MM3DDisplayTreeNodeSRTTransform* GetPartNode(int32_t part) const;
  const UURefCount<MM3DModel>& GetModel() const { return mModel; }
  VPLObj* GetOwner() const { return mOwner; }

 protected:
  static bool IsBodyPart(int32_t part) { return part >= 0 && part < kVPLBodyPartCount; }
  // The node's visibility, changed only when it differs.
  void ShowPartNode(int32_t part, bool shown);

 private:
  UURefCount<MM3DModel> mModel;
  VPLObj* mOwner;
  MM3DDisplayTreeNodeSRTTransform* mPartNodes[kVPLBodyPartCount] = {};
  bool mPartOn[kVPLBodyPartCount] = {true, true, true, true, true, true};
};

class VPLPombleVisual : public VPLBasePombleVisual {
 public:
  // The list whose row tagged 0 names the ghost model.
  static constexpr MMResourceId kGhostList = 175;
  // The pose record: the ghost flag, then per body part its pose (float)
  // and on flag.
  static constexpr int32_t kPoseRecordSize = 31;

  VPLPombleVisual(VPLObj* owner, const UURefCount<MM3DModel>& model, int32_t depth);
  // Takes the ghost out of its enclosure and deletes it.
  ~VPLPombleVisual() override;

  // Files the model's blend nodes by the part code their first weight
  // carries, with the model standing in its first frame.
  void BindBlendNodes();
  // Files one node for the part and gives its weights room for the node's
  // targets, all 0.
  void FileBlendNode(int32_t part, MM3DDisplayTreeNodeIndexedBlendShapeArray* node,
                     UUGrowableArray<float>& weights);
  // The pose, 0..1 (a value outside is taken as its nearer end, NaN as 0),
  // spread over the part's weights; with redraw the owner plays its first
  // frame, which shows the change.
  void SetPartPose(int32_t part, float value, bool redraw);
  // 0 outside the body parts.
  float GetPartPose(int32_t part) const;
  // Weight of the target at or below (n - 1) x value: in the second half of
  // a step it fades toward the target above, in the first half toward the
  // one below.
  void SpreadPoseWeights(MM3DDisplayTreeNodeIndexedBlendShapeArray* node,
                         UUGrowableArray<float>& weights, float value, bool redraw);

  // Also switches the ghost's part the other way.
  void SetPartOn(int32_t part, bool on) override;
  // Every part's switch, so the ghost shows the opposite.
  void AllPartsOff() override;
  void AllPartsOn() override;

  // The ghost, made once; null when its model cannot be loaded.
  VPLBasePombleVisual* CreateHighlightVisual();
  VPLBasePombleVisual* GetHighlightVisual() const { return mHighlight.get(); }
  // Every part's switch again with its node's visibility, so the ghost
  // shows what is off.
  void RefreshHighlight();
  // Every part of the ghost hidden.
  void HideHighlight();

  // Each answers its last single write or read; a stream keeps its first
  // error, so false means the record is incomplete.
  virtual bool WritePose(UUWriter& writer) const;
  virtual bool ReadPose(UUReader& reader);

  // Hands the weights to the blend nodes, then draws.
  void Draw(const MMDrawContext& context) override;

  // The weights (the head's are shared by all head nodes) and blend nodes,
  // for those who look at a pose.
  const UUGrowableArray<float>& GetWeights(int32_t part) const;
  MM3DDisplayTreeNodeIndexedBlendShapeArray* GetBlendNode(int32_t part) const;
  const UUGrowableArray<MM3DDisplayTreeNodeIndexedBlendShapeArray*>& GetHeadNodes() const {
    return mHeadNodes;
  }

 private:
  // One part's blend node (not owned; null for the head, whose nodes are
  // listed apart), weights and pose.
  struct PoseGroup {
    MM3DDisplayTreeNodeIndexedBlendShapeArray* mNode = nullptr;
    UUGrowableArray<float> mWeights;
    float mPose = 0.0f;
  };

  // The body part a blend node's part code stands for; -1 for none.
  static int32_t PartOfCode(float firstWeight);
  static void SizeWeights(MM3DDisplayTreeNodeIndexedBlendShapeArray& node,
                          UUGrowableArray<float>& weights);
  static void CopyWeights(const UUGrowableArray<float>& weights,
                          MM3DDisplayTreeNodeIndexedBlendShapeArray& node);
  void PlayFirstFrame() const;
  UURefCount<MM3DModel> LoadGhostModel() const;

  UUGrowableArray<MM3DDisplayTreeNodeIndexedBlendShapeArray*> mHeadNodes;
  PoseGroup mGroups[kVPLBodyPartCount];
  std::unique_ptr<VPLBasePombleVisual> mHighlight;
};
