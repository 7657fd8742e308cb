#pragma once
// The group tool: a click on a free object adds it to the current group
// (or starts one with it), a click on a member of the current group takes
// that member out, a click on another group nests it into the current one,
// and a Shift-click makes a group current or starts a new group. The
// current group glows while the tool is active. Each change is one undo
// step.

#include "app/creation/VPLTool.h"

class VPLObjCreationGroup;

class VPLToolGroup : public VPLTool {
 public:
  // Lights the creation's current group.
  VPLToolGroup(MMView* view, VPLCreation* creation, VPLSceneCreationArea* area,
               MMResourceId soundScript);
  // Puts the current group's light out.
  ~VPLToolGroup() override;

  // How many levels of groups a group holds: 1, plus its deepest nested
  // member group's levels.
  static int32_t Levels(const VPLObjCreationGroup& group);

  VPLToolEnums GetToolType() const override { return kVPLToolGroup; }
  bool OnMouse(const VPLPickEvent& event) override;
  void Begin(const VPLSegment& segment, bool alternate) override;
  void Drag(const VPLSegment& segment, bool alternate) override;
  void End(const VPLSegment& segment, bool alternate) override;

 private:
  void Click(const VPLSegment& segment);
  void ShiftClick();
  void TakeMemberOut(VPLObjCreationGroup& group, const VPLSegment& segment);
  // The group without its first member, which is free again: the second
  // member leads the new group, which becomes current.
  void RebuildWithoutFirst(VPLObjCreationGroup& group);
  // A new current group whose first member is the object.
  void NewGroup(VPLObjCreation* object);
  void AddToCurrentGroup(VPLObjCreation* object);
  // Whether nesting the group into the current one keeps it within the
  // levels a record holds.
  bool CanNest(const VPLObjCreationGroup& group) const;

  VPLObjCreation* mPicked = nullptr;
  MM3DVector mHit{0.0f, 0.0f, 0.0f, 1.0f};
};
