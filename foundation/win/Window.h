#pragma once
// A framework window that remembers where its client area was and how
// large it was: the screen position and size are read from a registry key
// when the window is made and written back when it goes.

#include "foundation/af/AFWindow.h"
#include "foundation/uu/UURegistryKey.h"

class Window : public AFWindow {
 public:
  // Unless skipRestore is set, the window takes the place stored under the
  // location; quitOnClose ends the run loop when the window closes.
  Window(const AFWindowDescription& description, const UURegistryLocation& location,
         bool skipRestore, bool quitOnClose);
  ~Window() override;

  bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                     LRESULT& result) override;
  // Answers whether it painted the window; the base paints nothing.
  virtual bool Paint();

 private:
  void RestorePlacement();
  void StorePlacement();

  UURegistryKey mPlacementKey;
  bool mQuitOnClose;
};
