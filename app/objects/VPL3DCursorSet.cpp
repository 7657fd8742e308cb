#include "app/objects/VPL3DCursorSet.h"

#include "app/objects/VPLObjCursor.h"
#include "app/objects/VPLSceneUIBase.h"
#include "app/objects/VPLServices.h"
#include "mm/resources/MMScript.h"
#include "mm/stage/MMCursorController.h"
#include "mm/stage/MMStage.h"
#include "mm3d/MM3DModelCollection.h"

VPL3DCursorSet* VPL3DCursorSet::sGlobal = nullptr;

namespace {

// The stage's cursors by id: the arrow, and the empty one that hides it.
constexpr int32_t kStageArrowCursor = 0;
constexpr int32_t kStageHiddenCursor = 3;

void ShowStageCursor(MMStage* stage, int32_t id) {
  if (stage != nullptr && stage->GetCursorController() != nullptr) {
    stage->GetCursorController()->SetCursor(stage->GetCursor(id));
  }
}

}  // namespace

void VPLHideStageCursor(MMStage* stage) { ShowStageCursor(stage, kStageHiddenCursor); }

void VPLShowArrowCursor(MMStage* stage) { ShowStageCursor(stage, kStageArrowCursor); }

VPL3DCursorSet::~VPL3DCursorSet() {
  if (mScene != nullptr) VPLShowArrowCursor(mScene->GetStage());
}

void VPL3DCursorSet::Load(MMStage* /*stage*/) {
  MMScript table(kCursorScript);
  for (int32_t row = 0; row < table.GetRowCount(); ++row) {
    const auto id = static_cast<MMResourceId>(table.GetUInt32(row, 0));
    mModels.push_back(MM3DGetModel(id, VPLGetServices().mTextureMap));
  }
  mLoaded = true;
}

void VPL3DCursorSet::Unload() {
  mModels.clear();
  mLoaded = false;
}

void VPL3DCursorSet::Select(VPLSceneUIBase* scene, int32_t n) {
  if (n == kNoCursor || n == mCurrentIndex) return;
  Show(scene, n);
}

void VPL3DCursorSet::ShowDefault(VPLSceneUIBase* scene) {
  if (mCurrentIndex != 0) Show(scene, 0);
}

void VPL3DCursorSet::Show(VPLSceneUIBase* scene, int32_t n) {
  if (n < 0 || n >= GetModelCount()) return;
  const UURefCount<MM3DModel> model = mModels[static_cast<size_t>(n)];
  if (model.Get() == nullptr) {
    // A row without a model hides the cursor but leaves it in its scene.
    if (mCursorObject != nullptr) mCursorObject->SetVisibility(kMMHidden);
    mCurrentIndex = n;
    return;
  }
  VPLHideStageCursor(scene->GetStage());
  Hide();
  mScene = scene;
  mCursorObject = new VPLObjCursor(scene, model);
  scene->AddObject(mCursorObject);
  mCursorObject->SetVisibility(kMMShown);
  mCurrentIndex = n;
}

void VPL3DCursorSet::Hide() {
  if (mCursorObject == nullptr) return;
  // Only off the ticked list: the cursor is no interface object of the
  // scene, so the scene must not delete it too.
  mScene->VPLSceneBase::RemoveObject(mCursorObject);
  mCursorObject->RemoveTransformNodes();
  mCursorObject->Detach();
  delete mCursorObject;
  mCursorObject = nullptr;
  mCurrentIndex = kNoCursor;
  mScene = nullptr;
}

void VPL3DCursorSet::BeginBusy() {
  if (mScene != nullptr) VPLHideStageCursor(mScene->GetStage());
  ++mBusyCount;
}

int32_t VPL3DCursorSet::EndBusy() {
  if (mBusyCount > 0) --mBusyCount;
  return mBusyCount != 0 ? mBusyCount : mCurrentIndex;
}
