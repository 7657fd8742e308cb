#include "app/shell/VPL2DDisplayStrategy.h"

#include "mm/stage/MMStage.h"
#include "mm/stage/MMStageWindow.h"
#include "platform/win32/user.h"

namespace {

constexpr int32_t kBitsPerPixel = 32;
const UURect kIntroRect(0, 0, 800, 600);

// The window's frame may put the client area elsewhere than the window's
// own corner; the pages are drawn for the screen's corner.
void MoveClientToScreenOrigin(HWND window) {
  POINT client{0, 0};
  RECT placed{};
  if (!ClientToScreen(window, &client) || !GetWindowRect(window, &placed)) return;
  SetWindowPos(window, nullptr, placed.left - client.x, placed.top - client.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void VPL2DDisplayStrategy::Apply(MMStage* stage) {
  if (!ApplyMode(stage, kMMDisplayFullScreen, kIntroRect, kBitsPerPixel)) {
    Fail(stage);
    return;
  }
  MoveClientToScreenOrigin(stage->GetWindow()->GetHandle());
}

VPL2DDisplayStrategy& VPLIntroDisplayStrategy() {
  static VPL2DDisplayStrategy strategy;
  return strategy;
}
