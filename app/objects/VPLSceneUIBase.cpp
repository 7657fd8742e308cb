#include "app/objects/VPLSceneUIBase.h"

#include "app/objects/VPL3DCallbackDialog.h"
#include "app/objects/VPL3DCursorSet.h"
#include "app/objects/VPL3DExportDialog.h"
#include "app/objects/VPL3DPreferenceDialog.h"
#include "app/objects/VPL3DPrintDialog.h"
#include "app/objects/VPLDisplayTreeVisitors.h"
#include "app/objects/VPLScript.h"
#include "app/objects/VPLServices.h"
#include "foundation/uu/UUCallback.h"
#include "mm/stage/MMMolecule.h"
#include "mm/stage/MMStage.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DModelCollection.h"

#include <algorithm>
#include <optional>

namespace {

constexpr int16_t kModelTag = 0;
// The backdrop's table is a list (kind 2).
constexpr int16_t kBackdropTableKind = 2;

// The world z of the first vertex of the first part of the object's first
// mesh: how near the camera the object stands among the controls.
std::optional<float> Depth(const VPLObj& object) {
  const UUGrowableArray<MM3DDisplayTreeNode*> meshes =
      VPLFindMeshes(object.HasDisplayTree() ? object.GetDisplayTreeRoot() : nullptr);
  if (meshes.Count() == 0) return std::nullopt;
  const auto& mesh = static_cast<const MM3DDisplayTreeNodeIndexedMesh&>(*meshes[0]);
  if (mesh.GetPartCount() == 0) return std::nullopt;
  const MM3DVertexDataBlocks& blocks = mesh.GetPart(0).mBlocks;
  if (blocks.Count() == 0 || !blocks[0] || blocks[0]->mPositions.Count() == 0) {
    return std::nullopt;
  }
  MM3DMatrix world = MM3DMatrixIdentity;
  meshes[0]->GetWorldMatrix(world);
  MM3DVector point;
  world.TransformPoint(point, blocks[0]->mPositions[0]);
  return point.mZ;
}

}  // namespace

class VPLSceneUIBase::RoutingScope {
 public:
  explicit RoutingScope(VPLSceneUIBase& scene) : mScene(scene) { ++mScene.mRoutingDepth; }
  ~RoutingScope() {
    if (--mScene.mRoutingDepth == 0) mScene.mRemovedWhileRouting.clear();
  }
  RoutingScope(const RoutingScope&) = delete;
  RoutingScope& operator=(const RoutingScope&) = delete;

 private:
  VPLSceneUIBase& mScene;
};

VPLSceneUIBase::VPLSceneUIBase(MMSceneServices* host, MMEnclosure* enclosure, MMView* view,
                               int32_t sceneId)
    : VPLSceneBase(host, enclosure, view, sceneId) {
  VPLSceneUIBase::BuildUI();
}

VPLSceneUIBase::~VPLSceneUIBase() {
  mActiveControl = nullptr;
  mBackdrop.reset();
  for (std::unique_ptr<VPLObjEvent>& object : mInterfaceObjects) object->Detach();
  mInterfaceObjects.clear();
  mKeyHandlers.clear();
}

void VPLSceneUIBase::BuildUI() {
  const VPLScript table(kBackdropScript, kBackdropTableKind);
  if (table.FindTag(kModelTag) < 0) return;
  // A table whose model cannot be had builds no backdrop.
  const UURefCount<MM3DModel> model = MM3DGetModel(
      static_cast<MMResourceId>(table.GetTagUInt32(kModelTag)), GetStage()->GetTextureMap());
  if (model) mBackdrop = std::make_unique<VPLObjEvent>(this, model);
}

bool VPLSceneUIBase::OnMouse(const MMMouseEvent& mouse) {
  const RoutingScope routing(*this);
  VPLPickEvent event(mouse.mTime, mouse.mX, mouse.mY, mouse.mFlags);
  if (GetView() != nullptr) event.mRay = MakeViewRay(mouse.mX, mouse.mY);
  if (mMouseHeld && mActiveControl != nullptr) return Deliver(event);
  if (mActiveControl != nullptr && !mActiveControl->HitTest(event.mRay)) ReleaseActiveControl();
  if (mActiveControl == nullptr) {
    mActiveControl = FindControlUnder(event);
    if (mActiveControl != nullptr) mActiveControl->OnHoverOn();
  }
  return mActiveControl != nullptr ? Deliver(event) : mMouseHeld;
}

bool VPLSceneUIBase::Deliver(const VPLPickEvent& event) {
  const bool keeps = mActiveControl->HandleEvent(event);
  // The control may have been removed while it handled the event.
  mMouseHeld = keeps && mActiveControl != nullptr;
  return mMouseHeld;
}

VPLObjEvent* VPLSceneUIBase::FindControlUnder(const VPLPickEvent& event) const {
  std::vector<VPLObjEvent*> candidates;
  for (const std::unique_ptr<VPLObjEvent>& object : mInterfaceObjects) {
    if (object->GetVisibility() != kMMShown) continue;
    if (VPLObjEvent* target = object->FindTarget(event)) candidates.push_back(target);
  }
  if (candidates.size() < 2) return candidates.empty() ? nullptr : candidates.front();
  std::vector<float> depths;
  for (const VPLObjEvent* candidate : candidates) {
    const std::optional<float> depth = Depth(*candidate);
    // Without a mesh to measure, the list's order decides.
    if (!depth) return candidates.front();
    depths.push_back(*depth);
  }
  // The first of the nearest, as a stable sort by depth would put it.
  const auto nearest = std::min_element(depths.begin(), depths.end());
  return candidates[static_cast<size_t>(nearest - depths.begin())];
}

bool VPLSceneUIBase::OnKey(const MMKeyEvent& event) {
  const RoutingScope routing(*this);
  for (size_t i = 0; i < mKeyHandlers.size(); ++i) {
    if (mKeyHandlers[i].mDialog->HandleKey(event)) return true;
  }
  if ((event.mKeyCode & 0xFFFF) != kPreferenceKey) return false;
  OpenPreferenceDialog();
  return true;
}

void VPLSceneUIBase::Activate() {
  VPLSceneBase::Activate();
  if (VPL3DCursorSet* cursors = VPL3DCursorSet::GetGlobal()) cursors->ShowDefault(this);
}

void VPLSceneUIBase::Deactivate() {
  if (VPL3DCursorSet* cursors = VPL3DCursorSet::GetGlobal()) cursors->Hide();
  VPLSceneBase::Deactivate();
}

bool VPLSceneUIBase::OnQuitRequest(bool /*flag*/) {
  if (VPLGetServices().mQuit) VPLGetServices().mQuit();
  return true;
}

void VPLSceneUIBase::ReleaseActiveControl() {
  VPLObjEvent* control = std::exchange(mActiveControl, nullptr);
  if (control != nullptr) control->OnHoverOff();
}

void VPLSceneUIBase::AddKeyHandler(MMMolecule* dialog, int32_t priority) {
  const auto position =
      std::find_if(mKeyHandlers.begin(), mKeyHandlers.end(),
                   [&](const KeyEventStruct& entry) { return entry.mPriority <= priority; });
  mKeyHandlers.insert(position, KeyEventStruct{dialog, priority});
}

void VPLSceneUIBase::RemoveKeyHandler(const MMMolecule* dialog) {
  const auto entry =
      std::find_if(mKeyHandlers.begin(), mKeyHandlers.end(),
                   [&](const KeyEventStruct& handler) { return handler.mDialog == dialog; });
  if (entry != mKeyHandlers.end()) mKeyHandlers.erase(entry);
}

void VPLSceneUIBase::AddDialog(VPLObjEventGrp* dialog) {
  ReleaseActiveControl();
  dialog->Build();
  AppendInterfaceObject(dialog);
  mActiveControl = dialog;
}

template <typename Dialog, typename... Extra>
void VPLSceneUIBase::OpenDialog(MMResourceId layout, Extra... extra) {
  const VPLScript table(layout, kVPLLayoutTable);
  if (table.FindTag(kModelTag) < 0) return;
  const UURefCount<MM3DModel> model = MM3DGetModel(
      static_cast<MMResourceId>(table.GetTagUInt32(kModelTag)), VPLGetServices().mTextureMap);
  if (!model) return;
  AddDialog(new Dialog(this, model, layout, nullptr, extra...));
}

void VPLSceneUIBase::OpenPreferenceDialog() {
  OpenDialog<VPL3DPreferenceDialog>(VPL3DPreferenceDialog::kLayout, VPLGetServices().mPreferences);
}

void VPLSceneUIBase::OpenPrintDialog() { OpenDialog<VPL3DPrintDialog>(VPL3DPrintDialog::kLayout); }

void VPLSceneUIBase::OpenExportDialog() {
  OpenDialog<VPL3DExportDialog>(VPL3DExportDialog::kLayout);
}

void VPLSceneUIBase::OnDialogResponse(VPL3DCallbackDialog* dialog, int32_t response) {
  using ResultCallback =
      UUClassCallback2Parameters<VPLSceneUIBase,
                                 void (VPLSceneUIBase::*)(VPL3DCallbackDialog*, int32_t),
                                 VPL3DCallbackDialog*, int32_t>;
  // Posted on the dialog's behalf: an answer for a dialog already removed
  // is withdrawn with it.
  MMTaskCallback(GetTaskClient(),
                 new ResultCallback(this, &VPLSceneUIBase::DialogResult, dialog, response))
      .Post(static_cast<const VPLObj*>(dialog));
}

void VPLSceneUIBase::DialogResult(VPL3DCallbackDialog* dialog, int32_t /*response*/) {
  RemoveObject(dialog);
}

void VPLSceneUIBase::AppendInterfaceObject(VPLObjEvent* object) {
  mInterfaceObjects.emplace_back(object);
}

void VPLSceneUIBase::RemoveObject(VPLObjEvent* object) {
  const auto entry =
      std::find_if(mInterfaceObjects.begin(), mInterfaceObjects.end(),
                   [&](const std::unique_ptr<VPLObjEvent>& held) { return held.get() == object; });
  if (entry == mInterfaceObjects.end()) return;
  ForgetActiveControl(object);
  std::unique_ptr<VPLObjEvent> removed = std::move(*entry);
  mInterfaceObjects.erase(entry);
  removed->Detach();
  if (mRoutingDepth > 0) mRemovedWhileRouting.push_back(std::move(removed));
}

void VPLSceneUIBase::ForgetActiveControl(const VPLObjEvent* object) {
  if (mActiveControl != object) return;
  mActiveControl = nullptr;
  mMouseHeld = false;
}

VPLSegment VPLSceneUIBase::MakeViewRay(int32_t x, int32_t y) const {
  return ScreenToWorldSegment(*GetView(), x, y);
}
