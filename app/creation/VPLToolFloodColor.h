#pragma once
// The flood-colour tool: a click gives the current material to the hit
// part of the object, or of the member under the pointer for a group.

#include "app/creation/VPLTool.h"

class VPLMaterializer;

class VPLToolFloodColor : public VPLToolObjectBasedOnUpAction {
 public:
  // Keeps the area's current material, not owned.
  VPLToolFloodColor(MMView* view, VPLCreation* creation, VPLSceneCreationArea* area,
                    MMResourceId soundScript);

  VPLToolEnums GetToolType() const override { return kVPLToolFloodColor; }
  void Act(const VPLSegment& segment, bool alternate) override;

 private:
  const VPLMaterializer* mMaterial;
};
