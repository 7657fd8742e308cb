#pragma once

#include <atomic>
#include <cstdint>

#include "foundation/af/AFWindow.h"
#include "platform/win32/user.h"

class MMStage;
class MMStageControl;
class UUCallback;

// The application's main window: it owns the stage, forwards the commands
// the stage registered, runs callbacks sent from the stage thread, and runs
// the close handshake when it is destroyed.
class MMStageWindow : public AFWindow {
 public:
  explicit MMStageWindow(const AFWindowDescription& description);
  // The close handshake with the stage thread, then the stage goes.
  ~MMStageWindow() override;

  bool CanClose() override;
  bool OnCommand(uint16_t command) override;
  bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                     LRESULT& result) override;

  // Deletes any previous stage.
  void SetStage(MMStage* stage);
  MMStage* GetStage() const { return mStage; }
  MMStageControl* GetStageControl() const { return mStageControl.load(); }
  void SetStageControl(MMStageControl* control) { mStageControl = control; }
  void PostToStage(WPARAM wParam, LPARAM lParam);
  // From the stage thread: runs on the window's thread, then is deleted.
  void RunOnWindowThread(UUCallback* callback);

 private:
  MMStage* mStage = nullptr;
  // Set and cleared on the stage thread, read on the window's.
  std::atomic<MMStageControl*> mStageControl{nullptr};
};
