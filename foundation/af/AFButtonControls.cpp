#include "foundation/af/AFButtonControls.h"

namespace {
constexpr int kTextSize = 256;
}  // namespace

AFButtonControl::AFButtonControl(AFWindow* owner, const RECT& rect, UUCallback* callback)
    : WinAFSystemControl(owner, rect), mCallback(callback) {}

AFButtonControl::~AFButtonControl() { delete mCallback; }

bool AFButtonControl::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    OnAction();
    return true;
  }
  return WinAFSystemControl::HandleMessage(window, message, wParam, lParam, result);
}

void AFButtonControl::OnAction() {
  if (mCallback != nullptr) mCallback->Invoke();
}

void AFButtonControl::SetText(const char* text) { SetWindowTextA(mWindow, text); }

void AFButtonControl::GetText(char* buffer) const {
  if (GetWindowTextA(mWindow, buffer, kTextSize) == 0) buffer[0] = '\0';
}

void AFButtonControl::SetCallback(UUCallback* callback) {
  delete mCallback;
  mCallback = callback;
}

AFCheckableControl::AFCheckableControl(AFWindow* owner, const RECT& rect, const char* text,
                                       bool checked, DWORD style, UUCallback* callback)
    : AFButtonControl(owner, rect, callback) {
  CreateControlWindow("BUTTON", text, style, rect);
  SetChecked(checked);
}

bool AFCheckableControl::IsChecked() const {
  return SendMessageA(mWindow, BM_GETCHECK, 0, 0) == static_cast<LRESULT>(BST_CHECKED);
}

void AFCheckableControl::SetChecked(bool checked) {
  SendMessageA(mWindow, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

AFCheckBoxControl::AFCheckBoxControl(AFWindow* owner, const RECT& rect, const char* text,
                                     bool checked, UUCallback* callback)
    : AFCheckableControl(owner, rect, text, checked, BS_AUTOCHECKBOX, callback) {}

AFRadioButtonControl::AFRadioButtonControl(AFWindow* owner, const RECT& rect, const char* text,
                                           bool checked, bool continuesGroup, UUCallback* callback)
    : AFCheckableControl(owner, rect, text, checked,
                         BS_AUTORADIOBUTTON | BS_NOTIFY | (continuesGroup ? 0 : WS_GROUP),
                         callback) {}

AFTextButtonControl::AFTextButtonControl(AFWindow* owner, const RECT& rect, const char* text,
                                         UUCallback* callback)
    : AFButtonControl(owner, rect, callback) {
  CreateControlWindow("BUTTON", text, BS_PUSHBUTTON, rect);
}
