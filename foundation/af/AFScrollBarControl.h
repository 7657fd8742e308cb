#pragma once
// A scroll bar over the system's "SCROLLBAR" class. The owner sends the
// bar's scroll requests back to it; the bar moves its own position, clamped
// to its range, and runs its callback when the position changed.

#include "foundation/af/AFControl.h"
#include "foundation/uu/UUCallback.h"

#include <cstdint>

class AFScrollBarControl : public AFControl {
 public:
  AFScrollBarControl(AFWindow* owner, const RECT& rect, bool vertical, UUCallback* callback);
  ~AFScrollBarControl() override;

  RECT GetRect() override;
  bool IsVisible() override;
  // The enabled wish: the bar is enabled only while it also has a range.
  bool IsEnabled() override;
  void SetRect(const RECT& rect) override;
  void Show(bool shown) override;
  void Enable(bool enabled) override;
  bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                     LRESULT& result) override;
  virtual void OnAction();

  void SetRange(int16_t total, int16_t pageSize, int16_t lineStep, int16_t position);
  // Unclamped.
  void SetPosition(int16_t position);
  int16_t GetPosition() const { return mPosition; }
  static int StandardThickness();

 private:
  void MoveTo(int16_t position);

  int32_t mVertical;
  UUCallback* mCallback;
  int16_t mLineStep = 1;
  int16_t mTotal = 0;
  int16_t mPageSize = 2;
  int16_t mPosition = 0;
  int32_t mEnabledWish = 1;
};
