#include "app/objects/VPLPrimObjSelector.h"

#include "app/objects/VPLSceneBase.h"
#include "app/objects/VPLScript.h"
#include "app/objects/VPLServices.h"
#include "mm/stage/MMStage.h"
#include "mm/tasks/MMTaskManager.h"
#include "mm3d/MM3DModelCollection.h"

namespace {

// The button-definition tag of a position.
constexpr int16_t kPositionTag = 2;

}  // namespace

VPLPrimObjSelector::VPLPrimObjSelector(VPLSceneBase* scene, const UURefCount<MM3DModel>& model,
                                       MMResourceId layout, const MMTaskCallback& callback,
                                       MMResourceId modelList)
    : VPLObjEventGrpCtrlScrollScriptedModels(scene, model, layout, callback, modelList),
      mLastTick(GetStage()->GetTaskManager()->GetNow()) {
  scene->AddObject(this);
}

void VPLPrimObjSelector::MakeChild(const MMTaskCallback& callback, MMResourceId definition) {
  const VPLScript table(definition, kVPLButtonDefinition);
  if (table.FindTag(kVPLModelTag) < 0) return;
  auto child = std::make_unique<VPLOnDblClickButtonObject>(
      GetScene(),
      MM3DGetModel(static_cast<MMResourceId>(table.GetTagUInt32(kVPLModelTag)),
                   VPLGetServices().mTextureMap),
      callback, definition);
  MM3DVector position;
  if (table.FindTag(kPositionTag) >= 0 &&
      VPLReadVectorTable(table.GetTagScriptId(kPositionTag), position)) {
    child->SetPosition(position);
  }
  AddChild(std::move(child));
}

void VPLPrimObjSelector::Tick(int32_t now) {
  const float seconds = static_cast<float>(now - mLastTick) * 0.001f;
  if (seconds == 0.0f) return;
  const float angle = seconds * kTurnRate;
  if (angle > 0.0f && GetChild(0) != nullptr) GetChild(0)->RotateBy(0.0f, angle, 0.0f);
  mLastTick = now;
}
