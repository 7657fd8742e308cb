#pragma once

#include <cstdint>

class MMCursor;
class MMStage;

// Decides which cursor the stage shows: the one last requested, or the
// stage's wait cursor (id 2) while the stage is busy.
class MMCursorController {
 public:
  explicit MMCursorController(MMStage* stage) : mStage(stage) {}
  MMCursorController(const MMCursorController&) = delete;
  MMCursorController& operator=(const MMCursorController&) = delete;

  static constexpr int32_t kWaitCursorId = 2;

  // While busy only the request is recorded.
  void SetCursor(MMCursor* cursor);
  // Nested.
  void BeginBusy();
  void EndBusy();
  void Refresh();
  // Shows a cursor without changing the request.
  void ShowCursor(MMCursor* cursor);
  void CursorDestroyed(MMCursor* cursor);

  MMCursor* GetRequestedCursor() const { return mRequestedCursor; }
  MMCursor* GetShownCursor() const { return mShownCursor; }
  int32_t GetBusyCount() const { return mBusyCount; }

 private:
  MMCursor* WaitCursor() const;

  MMStage* mStage;
  int32_t mBusyCount = 0;
  MMCursor* mRequestedCursor = nullptr;
  MMCursor* mShownCursor = nullptr;
};
