#pragma once
// The base of the screens made of on-screen 3D controls: it owns its
// interface objects (control groups, dialogs), picks the control under the
// mouse among them (the nearest wins, ties in list order), gives it hover
// and capture and hands it the mouse, and offers keys to the open dialogs
// first, by priority. Stage thread only.

#include "app/objects/VPLObjEvent.h"
#include "app/objects/VPLSceneBase.h"

#include <cstdint>
#include <memory>
#include <vector>

class MMMolecule;
class VPL3DCallbackDialog;
class VPLObjEventGrp;

// An open dialog that takes keys before the screen does.
struct KeyEventStruct {
  MMMolecule* mDialog;
  int32_t mPriority;
};

class VPLSceneUIBase : public VPLSceneBase {
 public:
  // The key code (low 16 bits) that opens the preferences.
  static constexpr int32_t kPreferenceKey = 32;
  // The table whose first row tagged 0 holds the backdrop's model.
  static constexpr MMResourceId kBackdropScript = 56;

  // The scene id is also the row of the camera script.
  VPLSceneUIBase(MMSceneServices* host, MMEnclosure* enclosure, MMView* view, int32_t sceneId);
  // The backdrop and every interface object go with the scene.
  ~VPLSceneUIBase() override;

  bool OnKey(const MMKeyEvent& event) override;
  bool OnMouse(const MMMouseEvent& event) override;
  void Activate() override;
  void Deactivate() override;
  // Asks the application to quit.
  bool OnQuitRequest(bool flag) override;
  // The active control loses its hover; none is active afterwards.
  void ReleaseActiveControl() override;
  virtual void BuildUI();
  virtual void UpdateToolPreview() {}

  // Kept in descending priority; among equals the newest comes first.
  void AddKeyHandler(MMMolecule* dialog, int32_t priority);
  void RemoveKeyHandler(const MMMolecule* dialog);
  // Builds the dialog and takes it into the interface objects as the
  // active control.
  void AddDialog(VPLObjEventGrp* dialog);
  // The dialogs of the screen's buttons and of the preference key; a
  // dialog whose layout names no model does not open.
  void OpenPreferenceDialog();
  void OpenPrintDialog();
  void OpenExportDialog();
  // The member callback dialogs answer through: the answer reaches
  // DialogResult one task run later, unless the dialog is gone by then.
  void OnDialogResponse(VPL3DCallbackDialog* dialog, int32_t response);
  // Removes and deletes the dialog.
  virtual void DialogResult(VPL3DCallbackDialog* dialog, int32_t response);
  // Shows or hides the screen's print button. Nothing in the base.
  virtual void ShowPrintButton(bool /*show*/) {}
  // Prints the creation with the print option, on white or with the
  // scene's background; false when nothing was printed. The base has no
  // creation to print.
  virtual bool Print(int32_t /*option*/, bool /*whiteBackground*/) { return false; }
  // The creation's exports, each answering success; the base has none.
  virtual bool ExportBmp() { return false; }
  virtual bool ExportJpeg() { return false; }
  virtual bool ExportMovie() { return false; }
  virtual bool ExportUnsupported() { return false; }
  // Asks the question of the kind (a message dialog). Nothing in the base.
  virtual void AskUser(int32_t /*kind*/) {}
  // A setting the child chose could not be stored. Nothing in the base.
  virtual void ReportPreferencesNotSaved() {}
  // Removes and deletes an interface object; the mouse is free again when
  // it was the active control. One removed while it handles an event goes
  // when the event is done.
  void RemoveObject(VPLObjEvent* object);
  using VPLSceneBase::RemoveObject;
  // The world ray under a screen point of the scene's view, clamped into it.
  VPLSegment MakeViewRay(int32_t x, int32_t y) const;

  VPLObjEvent* GetActiveControl() const { return mActiveControl; }
  bool IsMouseHeld() const { return mMouseHeld; }
  VPLObjEvent* GetBackdrop() const { return mBackdrop.get(); }
  const std::vector<KeyEventStruct>& GetKeyHandlers() const { return mKeyHandlers; }
  int32_t GetInterfaceObjectCount() const { return static_cast<int32_t>(mInterfaceObjects.size()); }

 protected:
  // Takes the object into the interface objects, at the end of the list.
  void AppendInterfaceObject(VPLObjEvent* object);
  // The shown object under the ray nearest the camera; null when none.
  VPLObjEvent* FindControlUnder(const VPLPickEvent& event) const;

 private:
  // Keeps objects removed during an event alive until the event is done.
  class RoutingScope;

  // Opens the dialog of the layout, made with the layout's model.
  template <typename Dialog, typename... Extra>
  void OpenDialog(MMResourceId layout, Extra... extra);
  // The active control's answer becomes the mouse-held value.
  bool Deliver(const VPLPickEvent& event);
  void ForgetActiveControl(const VPLObjEvent* object);

  bool mMouseHeld = false;
  std::unique_ptr<VPLObjEvent> mBackdrop;
  VPLObjEvent* mActiveControl = nullptr;
  std::vector<std::unique_ptr<VPLObjEvent>> mInterfaceObjects;
  std::vector<KeyEventStruct> mKeyHandlers;
  int32_t mRoutingDepth = 0;
  std::vector<std::unique_ptr<VPLObjEvent>> mRemovedWhileRouting;
};
