#include "app/creation/VPLSceneCreationArea.h"

#include "app/creation/VPLCreationCharacter.h"
#include "app/creation/VPLCreationUIHooks.h"
#include "app/objects/VPLMaterializer.h"
#include "foundation/uu/UUMemory.h"
#include "foundation/win/WinHUD.h"
#include "mm/stage/MM3DModelMolecule.h"

class VPLSceneCreationArea::AreaCreation : public VPLCreation {
 public:
  AreaCreation(VPLSceneCreationArea* area, const UURefCount<MM3DCamera>& camera)
      : VPLCreation(area, camera), mArea(area) {}
  VPLObjCreation* MakeOwnCharacter(const UURefCount<MM3DModel>& model) {
    return VPLCreation::MakeCharacter(model);
  }

 protected:
  VPLObjCreation* MakeCharacter(const UURefCount<MM3DModel>& model) override {
    return mArea->MakeCharacter(model);
  }

 private:
  VPLSceneCreationArea* mArea;
};

VPLSceneCreationArea::VPLSceneCreationArea(MMSceneServices* host, MMEnclosure* enclosure,
                                           MMView* view, int32_t cameraIndex)
    : VPLSceneBase(host, enclosure, view, cameraIndex) {
  mCreation = std::make_unique<AreaCreation>(this, GetCamera());
}

VPLSceneCreationArea::~VPLSceneCreationArea() = default;

VPLCreation* VPLSceneCreationArea::GetCreation() const { return mCreation.get(); }
VPLObjCreation* VPLSceneCreationArea::MakeCharacter(const UURefCount<MM3DModel>& model) {
  return mCreation->MakeOwnCharacter(model);
}
bool VPLSceneCreationArea::OnMouse(const MMMouseEvent&) { return false; }
void VPLSceneCreationArea::OnSecondaryInput() {}
bool VPLSceneCreationArea::OnKey(const MMKeyEvent&) { return false; }
void VPLSceneCreationArea::Activate() { VPLSceneBase::Activate(); }
void VPLSceneCreationArea::Deactivate() { VPLSceneBase::Deactivate(); }
bool VPLSceneCreationArea::OnQuitRequest(bool) { return true; }
void VPLSceneCreationArea::Tick(int32_t clock) { mCreation->Tick(clock); }
void VPLSceneCreationArea::SetTool(int32_t) {}
void VPLSceneCreationArea::SetCursor(int32_t) {}
void VPLSceneCreationArea::ResetCamera() {}
void VPLSceneCreationArea::SetBackground(int16_t) {}
void VPLSceneCreationArea::NextBackground() {}
void VPLSceneCreationArea::ToggleGround() {}
void VPLSceneCreationArea::SetGroundOn() {}
void VPLSceneCreationArea::SetGroundOff() {}
bool VPLSceneCreationArea::IsGroundHidden() const { return !mCreation->GetGround(); }
void VPLSceneCreationArea::ClearCreation() {}
void VPLSceneCreationArea::AddLibraryModel(int16_t) {}
void VPLSceneCreationArea::AddSelectedModel() {}
void VPLSceneCreationArea::AddCharacter() {}
void VPLSceneCreationArea::RemoveCharacter() {}
void VPLSceneCreationArea::TogglePerformance() {}
void VPLSceneCreationArea::StartPerformance() {}
void VPLSceneCreationArea::StopPerformance() {}
bool VPLSceneCreationArea::IsCharacterPerforming() const { return false; }
void VPLSceneCreationArea::SelectPath(int16_t) {}
void VPLSceneCreationArea::CreateHUD() {}
void VPLSceneCreationArea::TakeSnapshot() { mUntouched = false; }
bool VPLSceneCreationArea::WriteSnapshot() { return false; }
void VPLSceneCreationArea::GrowSnapshot() {}
void VPLSceneCreationArea::Undo() {}
bool VPLSceneCreationArea::SaveSketch() { return true; }
void VPLSceneCreationArea::NewSketch() {}
void VPLSceneCreationArea::StoreSketchbookNumber() {}
