#include "mm/stage/MMStageWindow.h"

#include "foundation/uu/UUCallback.h"
#include "mm/stage/MMStage.h"
#include "mm/stage/MMStageControl.h"
#include "mm/stage/MMStageMessages.h"

MMStageWindow::MMStageWindow(const AFWindowDescription& description) : AFWindow(description) {}

MMStageWindow::~MMStageWindow() {
  if (mStage != nullptr) {
    mStage->StopThread();
    delete std::exchange(mStage, nullptr);
  }
}

void MMStageWindow::SetStage(MMStage* stage) {
  if (stage == mStage) return;
  delete std::exchange(mStage, stage);
}

bool MMStageWindow::CanClose() {
  return mStage == nullptr || GetStageControl() != nullptr || mStage->HasThreadEnded();
}

bool MMStageWindow::OnCommand(uint16_t command) {
  MMStageControl* control = GetStageControl();
  if (control != nullptr && mStage->IsEventRegistered(command)) {
    PostMessageA(control->GetHandle(), MMWM_REGISTERED_EVENT, command, 0);
    return true;
  }
  return AFWindow::OnCommand(command);
}

void MMStageWindow::PostToStage(WPARAM wParam, LPARAM lParam) {
  if (MMStageControl* control = GetStageControl()) {
    PostMessageA(control->GetHandle(), MMWM_POSTED_MESSAGE, wParam, lParam);
  }
}

void MMStageWindow::RunOnWindowThread(UUCallback* callback) {
  SendMessageA(GetHandle(), MMWM_RUN_CALLBACK, 0, reinterpret_cast<LPARAM>(callback));
  delete callback;
}

bool MMStageWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                  LRESULT& result) {
  if (message == MMWM_RUN_CALLBACK) {
    reinterpret_cast<UUCallback*>(lParam)->Invoke();
    return true;
  }
  // A thread that sent the close request goes on while the window closes.
  if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) ReplyMessage(0);
  return AFWindow::HandleMessage(window, message, wParam, lParam, result);
}
