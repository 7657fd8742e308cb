#pragma once
// Text controls over the system's "EDIT" and "STATIC" classes.

#include "foundation/uu/UUCallback.h"
#include "foundation/win/WinAFSystemControl.h"

#include <cstdint>

// A one-line edit field; every change of its text runs the callback.
class AFEditTextControl : public WinAFSystemControl {
 public:
  AFEditTextControl(AFWindow* owner, const RECT& rect, const char* text, DWORD style);
  ~AFEditTextControl() override;

  bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                     LRESULT& result) override;
  virtual void OnAction();

  void SetLimit(uint32_t limit);
  uint32_t GetLimit() const;
  // 0 left, 1 centre, anything else right.
  void SetAlignment(int alignment);
  int GetAlignment() const;
  // Into a buffer of 256 characters.
  void GetText(char* buffer) const;
  int GetTextLength() const;
  void SetText(const char* text);
  // Start in the low 16 bits, end in the high 16 bits.
  uint32_t GetSelection() const;
  void SetSelection(int start, int end);
  // Takes the callback; the previous one is deleted.
  void SetCallback(UUCallback* callback);

 private:
  UUCallback* mCallback = nullptr;
};

// A line of text drawn over its owner's background.
class AFStaticTextControl : public WinAFSystemControl {
 public:
  AFStaticTextControl(AFWindow* owner, const RECT& rect, const char* text);

  bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                     LRESULT& result) override;
  void SetText(const char* text);
  // Into a buffer of 256 characters.
  void GetText(char* buffer) const;
};
