#pragma once
// What the creation area and the tool buttons call on the creation-screen
// interface scene, which sits a folder above them: the interface
// implements it and the act hands it to the area. Stage thread only.

#include <cstdint>

class VPLObjButtonTool;
class VPLSceneUIBase;

class VPLCreationUIHooks {
 public:
  // The questions the area asks.
  static constexpr int32_t kSketchbookFull = 6;
  static constexpr int32_t kNoNewSketch = 7;

  virtual ~VPLCreationUIHooks() = default;

  // Asks the question of the kind (a message dialog).
  virtual void AskUser(int32_t kind) = 0;
  // Brings the character tool's controls up to date when it is the current
  // tool button.
  virtual void RefreshPombleTool() = 0;
  // Releases the previous current tool button and engages the new one;
  // nothing when it is already current.
  virtual void SetCurrentToolButton(VPLObjButtonTool* button) = 0;
  // The current tool button; null while none is.
  virtual VPLObjButtonTool* GetCurrentToolButton() const = 0;
  // The current tool button's refresh after an undo read the creation back.
  virtual void RefreshAfterUndo() = 0;
  // Whether the character tool button is the current one.
  virtual bool IsPombleToolCurrent() const = 0;
  // The scene the 3D cursors show in.
  virtual VPLSceneUIBase* GetCursorScene() = 0;
  // Refreshes the current tool button's preview after the material changed.
  virtual void UpdateToolPreview() = 0;
};
