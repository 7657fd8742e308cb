#include "app/shell/VPLInputStrategy.h"

#include "app/shell/VPLStage.h"
#include "mm/stage/MMStageMessages.h"

namespace {

// Ctrl with a letter types a control code (Ctrl+A is 1), the codes that
// also mean Delete, Backspace, Escape and Enter: none reaches the scenes.
constexpr WPARAM kFirstPrintable = 32;
constexpr SHORT kKeyDownBit = static_cast<SHORT>(0x8000);

bool IsControlDown() { return (GetKeyState(VK_CONTROL) & kKeyDownBit) != 0; }

}  // namespace

VPLInputStrategy::VPLInputStrategy(VPLStage* stage)
    : MMLockstepInputStrategy(stage), mVPLStage(stage) {}

bool VPLInputStrategy::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     LRESULT& result) {
  if (message == WM_CHAR || message == WM_IME_CHAR) {
    if (IsControlDown() && (wParam & 0xFF) < kFirstPrintable) return true;
    SendKeyEvent(MakeCharEvent(message, wParam, lParam), UpdatesImmediately());
    return true;
  }
  // Until the act on show agrees, the close request is taken and answered
  // 0, so the window's thread asks again; then the framework ends the
  // stage and answers 1.
  if (message == MMWM_CLOSE_STAGE && !mVPLStage->AgreeToCloseNow()) {
    result = 0;
    return true;
  }
  return MMLockstepInputStrategy::HandleMessage(window, message, wParam, lParam, result);
}

MMKeyEvent VPLInputStrategy::MakeCharEvent(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!IsControlDown()) return MMLockstepInputStrategy::MakeCharEvent(message, wParam, lParam);
  MMKeyEvent event = MMLockstepInputStrategy::MakeCharEvent(message, wParam, lParam);
  event.mKeyCode = static_cast<int16_t>(static_cast<int8_t>(wParam & 0xFF));
  event.mCharacter = 0;
  event.mSecondByte = 0;
  return event;
}
