#pragma once
// Check boxes, radio buttons and push buttons over the system's "BUTTON"
// class. A click (BN_CLICKED) runs the control's callback.

#include "foundation/uu/UUCallback.h"
#include "foundation/win/WinAFSystemControl.h"

// What the three buttons share: a text and an owned callback.
class AFButtonControl : public WinAFSystemControl {
 public:
  ~AFButtonControl() override;

  bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                     LRESULT& result) override;
  // Runs the callback, when there is one.
  virtual void OnAction();

  void SetText(const char* text);
  // Into a buffer of 256 characters.
  void GetText(char* buffer) const;
  // Takes the callback; the previous one is deleted.
  void SetCallback(UUCallback* callback);

 protected:
  AFButtonControl(AFWindow* owner, const RECT& rect, UUCallback* callback);

  UUCallback* mCallback;
};

// A check box or radio button: the state is the system control's.
class AFCheckableControl : public AFButtonControl {
 public:
  bool IsChecked() const;
  void SetChecked(bool checked);

 protected:
  AFCheckableControl(AFWindow* owner, const RECT& rect, const char* text, bool checked, DWORD style,
                     UUCallback* callback);
};

class AFCheckBoxControl : public AFCheckableControl {
 public:
  AFCheckBoxControl(AFWindow* owner, const RECT& rect, const char* text, bool checked,
                    UUCallback* callback);
};

class AFRadioButtonControl : public AFCheckableControl {
 public:
  // Starts a new group unless it continues the previous one.
  AFRadioButtonControl(AFWindow* owner, const RECT& rect, const char* text, bool checked,
                       bool continuesGroup, UUCallback* callback);
};

class AFTextButtonControl : public AFButtonControl {
 public:
  AFTextButtonControl(AFWindow* owner, const RECT& rect, const char* text, UUCallback* callback);
};
