#include "foundation/win/Window.h"

#include <cstdint>

namespace {

constexpr const char* kPlacementNames[] = {"XPos", "YPos", "Width", "Height"};
constexpr int32_t kPlacementDefaults[] = {30, 30, 0, 0};
constexpr int kPlacementCount = 4;

// A stored size must be a size, and the rectangle must fit in 32 bits: a
// damaged store leaves the window where it was made.
bool IsPlacement(const int32_t (&values)[kPlacementCount]) {
  const int64_t right = int64_t{values[0]} + values[2];
  const int64_t bottom = int64_t{values[1]} + values[3];
  return values[2] >= 0 && values[3] >= 0 && right <= INT32_MAX && bottom <= INT32_MAX;
}

}  // namespace

Window::Window(const AFWindowDescription& description, const UURegistryLocation& location,
               bool skipRestore, bool quitOnClose)
    : AFWindow(description), mPlacementKey(location), mQuitOnClose(quitOnClose) {
  if (!skipRestore) RestorePlacement();
}

Window::~Window() { StorePlacement(); }

void Window::RestorePlacement() {
  int32_t values[kPlacementCount];
  for (int i = 0; i < kPlacementCount; ++i) {
    if (!mPlacementKey.GetInteger(kPlacementNames[i], kPlacementDefaults[i], values[i])) return;
  }
  if (!IsPlacement(values)) return;
  SetScreenRect(RECT{values[0], values[1], values[0] + values[2], values[1] + values[3]});
}

// A window that could not be made has no place worth keeping: the stored
// one stays for the next run.
void Window::StorePlacement() {
  if (GetHandle() == nullptr) return;
  const RECT rect = GetScreenRect();
  const int32_t values[kPlacementCount] = {rect.left, rect.top, rect.right - rect.left,
                                           rect.bottom - rect.top};
  for (int i = 0; i < kPlacementCount; ++i) {
    mPlacementKey.SetInteger(kPlacementNames[i], values[i]);
  }
}

bool Window::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                           LRESULT& result) {
  if ((message == WM_CLOSE || message == WM_DESTROY) && mQuitOnClose) PostQuitMessage(0);
  if (message == WM_PAINT && Paint()) {
    result = 0;
    return true;
  }
  return AFWindow::HandleMessage(window, message, wParam, lParam, result);
}

bool Window::Paint() { return false; }
