#pragma once
// The act from the end of the intro to shut-down: four 3D scenes, each in
// its own enclosure and view (the creation area, the creation screen's
// interface drawn in front of it, the file screen and the credits). The
// mode says which is in charge: the act routes the mouse and keys by it,
// ticks all four every frame with one stage time, animates the change
// between the creation screen and the file screen, and answers the
// window's close request through the scene in charge. Stage thread only.

#include "app/shell/VPLEnclosure.h"
#include "app/shell/VPLFileScreenHost.h"
#include "foundation/uu/UUCallback.h"
#include "mm/stage/MM3DAct.h"
#include "mm/stage/MM3DSpatialView.h"

#include <cstdint>
#include <memory>

class VPL3DCallbackDialog;
class VPLObjEventGrp;
class VPLSceneBase;
class VPLSceneCreationArea;
class VPLSceneCreationUI;
class VPLSceneCredits;
class VPLSceneFileIO;
struct VPLFileScreenParts;

enum VPLScenesEnum : int32_t {
  kVPLCreationAreaScene = 0,
  kVPLCreationUIScene = 1,
  kVPLFileScreenScene = 2,
  kVPLCreditsScene = 3,
};

class VPLActCreation : public MM3DAct, public VPLFileScreenHost {
 public:
  enum Mode : int32_t {
    // Never set; taken like the creation screen.
    kOldCreationMode = 0,
    kCreationMode = 1,
    kFileScreenMode = 2,
    kCreditsMode = 3,
    kNotBuilt = 5,
  };
  // The transition animation's spans, in ms.
  static constexpr int32_t kEnterFileScreenStart = 5666;
  static constexpr int32_t kEnterFileScreenEnd = 7333;
  static constexpr int32_t kLeaveFileScreenStart = 5000;
  static constexpr int32_t kLeaveFileScreenEnd = 6666;

  // The file screen shows the application's sketchbooks.
  VPLActCreation(MMStage* stage, MMDisplayModeStrategy* strategy);
  // The file screen shows the library and thumbnails of the parts given
  // (none: no file screen); the act is its host whatever the parts say.
  VPLActCreation(MMStage* stage, MMDisplayModeStrategy* strategy,
                 const VPLFileScreenParts& sketches);
  ~VPLActCreation() override;

  void AppActivated() override;
  void WindowActivated() override;
  void GainFocus() override;
  void HandleMouse(const MMMouseEvent& event) override;
  void HandleMouseLeave() override;
  void HandleKey(const MMKeyEvent& event) override;
  // Every frame after the advance: the four scenes get the stage's now.
  virtual void Tick();

  // The creation screen's file button: asks first when unsaved work would
  // otherwise be saved without the child's say.
  void GoToFileScreen(int32_t from);
  void LeaveForFileScreen(int32_t from);
  void ReturnToCreation(int32_t from);
  void ShowCredits(int32_t returnScene, VPL3DCallbackDialog* dialog);
  // The scene in charge takes the dialog as its active control.
  void OpenDialog(VPLObjEventGrp* dialog) override;
  bool CanClose();
  // The creation view alone, in one frame of the stage's renderer; false
  // while the stage is paused or the act is empty.
  bool DrawCreationView();
  void UpdateToolPreview();
  void ShowSlowMachineNotice(bool shown);

  // The file screen's requests.
  void ReturnToCreation() override { ReturnToCreation(kVPLFileScreenScene); }
  void ShowCredits(VPL3DCallbackDialog* dialog) override {
    ShowCredits(kVPLFileScreenScene, dialog);
  }

  int32_t GetMode() const { return mMode; }
  VPLSceneBase* GetSceneInCharge() const { return mSceneInCharge; }
  bool IsInputEnabled() const { return mInputEnabled; }
  VPLSceneCreationArea* GetCreationArea() const { return mCreationArea.get(); }
  VPLSceneCreationUI* GetInterface() const { return mInterface.get(); }
  VPLSceneFileIO* GetFileScreen() const { return mFileScreen.get(); }
  VPLSceneCredits* GetCredits() const { return mCredits.get(); }

 private:
  void MakeViews();
  void MakeScenes(VPLFileScreenParts sketches);
  void RouteCreationMouse(const MMMouseEvent& event);
  void BeginScreenChange();
  void PlayTransition(void (VPLActCreation::*done)(), int32_t start, int32_t end);
  void FinishFileScreenChange();
  void FinishReturnToCreation();
  void EndScreenChange(int32_t mode, VPLSceneBase* inCharge);
  bool IsCreationMode() const { return mMode == kCreationMode || mMode == kOldCreationMode; }

  int32_t mMode = kNotBuilt;
  VPLSceneBase* mSceneInCharge = nullptr;
  std::unique_ptr<UUCallback> mFrameHook;
  std::unique_ptr<VPLEnclosure> mEnclosures[4];
  std::unique_ptr<VPLSceneCreationArea> mCreationArea;
  std::unique_ptr<VPLSceneCreationUI> mInterface;
  std::unique_ptr<VPLSceneFileIO> mFileScreen;
  std::unique_ptr<VPLSceneCredits> mCredits;
  std::unique_ptr<MM3DSpatialView> mViews[4];
  bool mInputEnabled = true;
};
