#include "foundation/af/AFTextControls.h"

#include "platform/win32/gdi.h"

namespace {

constexpr int kTextSize = 256;
constexpr DWORD kAlignmentBits = 3;

void CopyWindowText(HWND window, char* buffer) {
  if (GetWindowTextA(window, buffer, kTextSize) == 0) buffer[0] = '\0';
}

}  // namespace

AFEditTextControl::AFEditTextControl(AFWindow* owner, const RECT& rect, const char* text,
                                     DWORD style)
    : WinAFSystemControl(owner, rect) {
  CreateControlWindow("EDIT", text, style, rect);
}

AFEditTextControl::~AFEditTextControl() { delete mCallback; }

bool AFEditTextControl::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      LRESULT& result) {
  if (message != WM_COMMAND) {
    return WinAFSystemControl::HandleMessage(window, message, wParam, lParam, result);
  }
  if (HIWORD(wParam) == EN_CHANGE) OnAction();
  return true;
}

void AFEditTextControl::OnAction() {
  if (mCallback != nullptr) mCallback->Invoke();
}

void AFEditTextControl::SetLimit(uint32_t limit) {
  SendNotifyMessageA(mWindow, EM_LIMITTEXT, limit, 0);
}

uint32_t AFEditTextControl::GetLimit() const {
  return static_cast<uint32_t>(SendMessageA(mWindow, EM_GETLIMITTEXT, 0, 0));
}

void AFEditTextControl::SetAlignment(int alignment) {
  const DWORD bits = alignment == 0 ? ES_LEFT : alignment == 1 ? ES_CENTER : ES_RIGHT;
  const auto style = static_cast<DWORD>(GetWindowLongA(mWindow, GWL_STYLE));
  SetWindowLongA(mWindow, GWL_STYLE, static_cast<LONG>((style & ~kAlignmentBits) | bits));
  InvalidateRect(mWindow, nullptr, TRUE);
}

int AFEditTextControl::GetAlignment() const {
  const DWORD bits = static_cast<DWORD>(GetWindowLongA(mWindow, GWL_STYLE)) & kAlignmentBits;
  return bits == ES_LEFT ? 0 : bits == ES_CENTER ? 1 : 2;
}

void AFEditTextControl::GetText(char* buffer) const { CopyWindowText(mWindow, buffer); }

int AFEditTextControl::GetTextLength() const { return GetWindowTextLengthA(mWindow); }

void AFEditTextControl::SetText(const char* text) { SetWindowTextA(mWindow, text); }

uint32_t AFEditTextControl::GetSelection() const {
  return static_cast<uint32_t>(SendMessageA(mWindow, EM_GETSEL, 0, 0));
}

void AFEditTextControl::SetSelection(int start, int end) {
  SendNotifyMessageA(mWindow, EM_SETSEL, static_cast<WPARAM>(start), end);
}

void AFEditTextControl::SetCallback(UUCallback* callback) {
  delete mCallback;
  mCallback = callback;
}

AFStaticTextControl::AFStaticTextControl(AFWindow* owner, const RECT& rect, const char* text)
    : WinAFSystemControl(owner, rect) {
  CreateControlWindow("STATIC", text, SS_LEFTNOWORDWRAP | SS_NOPREFIX, rect);
}

bool AFStaticTextControl::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        LRESULT& result) {
  if (message != WM_CTLCOLORSTATIC) {
    return WinAFSystemControl::HandleMessage(window, message, wParam, lParam, result);
  }
  SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
  result = 0;
  return true;
}

void AFStaticTextControl::SetText(const char* text) { SetWindowTextA(mWindow, text); }

void AFStaticTextControl::GetText(char* buffer) const { CopyWindowText(mWindow, buffer); }
