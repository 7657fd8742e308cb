#pragma once
// The character tool's part buttons: one toggle per body part, in body-part
// order, of which the chosen one shows on. Choosing one makes its part the
// tool's current part; none is chosen until the tool chooses one.

#include "app/objects/VPLObjEventGrp.h"

class VPLObjButtonToolPomble;

class VPLPomblePartButton : public VPLObjEventGrpCtrlNonScroll {
 public:
  VPLPomblePartButton(MMScene* scene, const UURefCount<MM3DModel>& model, MMResourceId layout,
                      const MMTaskCallback& callback);

  // Choosing the chosen part again only shows its toggle on; a part past
  // the toggles is ignored.
  void Select(int16_t index) override;
  void SetTool(VPLObjButtonToolPomble* tool) { mTool = tool; }

 private:
  void ShowOn(int16_t index, bool on) const;

  VPLObjButtonToolPomble* mTool = nullptr;
};
