#pragma once
// The creation screen's interface, drawn in front of the creation area:
// the tool palette, the new-sketch, clear, undo, file-screen, export,
// print and quit buttons, the ground toggle, the camera pads and the
// slow-machine notice; and the questions the screen asks before work is
// thrown away, with the quit request that waits for them. Stage thread
// only.

#include "app/creation/VPLCreationUIHooks.h"
#include "app/objects/VPLCameraMoves.h"
#include "app/objects/VPLSceneUIBase.h"

#include "foundation/uu/UUDirectory.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

class VPL3DMessageDialog;
class VPLCreation;
class VPLObjButton;
class VPLObjButtonTool;
class VPLObjEventCamera;
class VPLSceneCreationArea;
class VPLToggleButtonObject;

class VPLSceneCreationUI : public VPLSceneUIBase, public VPLCreationUIHooks {
 public:
  // The questions; the area asks 6 and 7 too.
  enum Question : int32_t {
    kNoQuestion = 0,
    kQuit = 2,
    kSaveBeforeQuit = 3,
    kSaveBeforeFileScreen = 4,
    kSaveBeforeNewSketch = 5,
  };
  static constexpr int32_t kYes = 1;
  static constexpr int32_t kCreditsAnswer = 6;
  static constexpr MMResourceId kSlowNoticeDefinition = 45;
  static constexpr MMResourceId kSlowNoticeModel = 451;
  // The tool buttons in the palette's order: select, freehand, draw,
  // primitive, fill, magnet, Pomble.
  enum ToolButton : size_t { kSelectTool, kMagnetTool = 5, kPombleTool, kToolButtonCount };

  VPLSceneCreationUI(MMSceneServices* host, MMEnclosure* enclosure, MMView* view, int32_t sceneId);
  ~VPLSceneCreationUI() override;

  bool OnMouse(const MMMouseEvent& event) override;
  void Activate() override;
  bool OnQuitRequest(bool force) override;
  void ShowPrintButton(bool show) override;
  void DialogResult(VPL3DCallbackDialog* dialog, int32_t response) override;
  // Prints the creation as it stands, without the character's part
  // highlight; false when printing is switched off or the printer failed.
  bool Print(int32_t option, bool whiteBackground) override;
  // Into the Exports folder under the first free name of the kind; false
  // when nothing was written.
  bool ExportBmp() override;
  bool ExportJpeg() override;
  bool ExportMovie() override;
  bool ExportUnsupported() override { return false; }
  bool ExportStill();
  // The folder the exports go to; the application's Exports folder until
  // another is given.
  void SetExportsFolder(const UUDirectory& folder) { mExportsFolder = folder; }

  void SetCreationArea(VPLSceneCreationArea* area) { mArea = area; }
  VPLSceneCreationArea* GetCreationArea() const { return mArea; }
  // Once, after the scene took the focus.
  void BuildPalette();

  void AskToSaveBeforeFileScreen() { AskUser(kSaveBeforeFileScreen); }
  void AskToQuit() { AskUser(kQuit); }
  void ShowSlowMachineNotice();
  void HideSlowMachineNotice();
  // The ground toggle follows the creation's ground.
  void UpdateToggleButton(bool hidden);

  void NewSketchButton();
  void ClearButton();
  void QuitButton();

  // What the area and the tool buttons call.
  void AskUser(int32_t kind) override;
  void RefreshPombleTool() override;
  void SetCurrentToolButton(VPLObjButtonTool* button) override;
  VPLObjButtonTool* GetCurrentToolButton() const override { return mCurrentTool; }
  void RefreshAfterUndo() override;
  bool IsPombleToolCurrent() const override;
  VPLSceneUIBase* GetCursorScene() override { return this; }
  void UpdateToolPreview() override;

  int32_t GetPendingQuestion() const { return mPendingQuestion; }
  int32_t GetLastAnswer() const { return mLastAnswer; }
  VPL3DMessageDialog* GetQuestionDialog() const { return mQuestionDialog; }
  VPLObjEvent* GetPrintButton() const { return mPrintButton; }
  VPLObjButtonTool* GetToolButton(ToolButton button) const { return mToolButtons[button]; }
  VPLToggleButtonObject* GetGroundToggle() const { return mGroundToggle; }
  VPLObjEvent* GetResetButton() const { return mResetButton; }
  VPLObjEventCamera* GetZoomPad() const { return mZoomPad; }
  VPLObjEventCamera* GetRotatePad() const { return mRotatePad; }
  VPLObj* GetSlowMachineNotice() const { return mSlowNotice.get(); }
  VPLObjButton* GetPaletteBackdrop() const { return mBackdrop.get(); }
  // The process-wide flag: once set, every quit request is answered yes.
  static bool IsQuitting() { return sQuitting; }
  static void ResetQuittingForTest() { sQuitting = false; }

 private:
  // The creation's camera, whichever creation the area holds now.
  class AreaCameraMoves : public VPLCameraMoves {
   public:
    explicit AreaCameraMoves(VPLSceneCreationUI& screen) : mScreen(screen) {}
    void RaiseCamera(float angle) override;
    void LowerCamera(float angle) override;
    void OrbitCameraPositive(float angle) override;
    void OrbitCameraNegative(float angle) override;
    void ZoomCameraIn(float distance) override;
    void ZoomCameraOut(float distance) override;

   private:
    VPLCreation* Creation() const;

    VPLSceneCreationUI& mScreen;
  };

  void BuildToolButtons();
  void BuildScreenButtons();
  void BuildPads();
  void AddCharacterWhenMissing();
  // The picture of the type (0 any, 1 BMP, 2 JPEG) under the extension.
  bool ExportPicture(int32_t type, int16_t extensionEntry);
  const UUDirectory& ExportsFolder() const;
  VPLObjEvent* Append(VPLObjEvent* object);
  // A plain object turned to face the screen, kept by the screen.
  std::unique_ptr<VPLObj> MakePadBase(MMResourceId model, MMResourceId scriptId);
  MMTaskCallback Bind(void (VPLSceneCreationUI::*member)());
  // Answers a question other than the credits.
  void Answer(int32_t kind, int32_t response);
  // False, after question 7, when the save failed: the work stays modified.
  bool SaveOrSay();
  bool KeepWorkAndQuit();
  void Quit();
  bool IsModified() const;
  void RefreshCurrentTool();

  VPLSceneCreationArea* mArea = nullptr;
  VPLObjEvent* mPrintButton = nullptr;
  VPLToggleButtonObject* mGroundToggle = nullptr;
  VPLObjEvent* mQuitButton = nullptr;
  VPLObjEvent* mResetButton = nullptr;
  VPLObjEventCamera* mZoomPad = nullptr;
  VPLObjEventCamera* mRotatePad = nullptr;
  std::unique_ptr<VPLObj> mSlowNotice;
  std::unique_ptr<VPLObj> mRotatePadBase;
  std::unique_ptr<VPLObj> mZoomPadBase;
  std::unique_ptr<VPLObj> mResetBase;
  std::unique_ptr<VPLObj> mPaletteFrame;
  std::unique_ptr<VPLObj> mLogo;
  std::unique_ptr<VPLObjButton> mBackdrop;
  int32_t mPendingQuestion = kNoQuestion;
  int32_t mLastAnswer = kNoQuestion;
  VPL3DMessageDialog* mQuestionDialog = nullptr;
  bool mCloseRequested = false;
  // Set while a failed save waits for the child to try again.
  bool mSaveFailed = false;
  std::array<VPLObjButtonTool*, kToolButtonCount> mToolButtons{};
  VPLObjButtonTool* mCurrentTool = nullptr;
  AreaCameraMoves mCameraMoves{*this};
  std::optional<UUDirectory> mExportsFolder;
  static bool sQuitting;
};
