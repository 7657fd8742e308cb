#pragma once

#include "platform/win32/user.h"

class MMCursorController;

// A cursor the stage can show. A cursor without a Win32 cursor hides the
// pointer over the stage (the application then draws its own).
class MMCursor {
 public:
  MMCursor(MMCursorController* controller, HCURSOR handle)
      : mController(controller), mHandle(handle) {}
  virtual ~MMCursor() = default;
  MMCursor(const MMCursor&) = delete;
  MMCursor& operator=(const MMCursor&) = delete;

  // Before deletion: the controller forgets the cursor.
  virtual void Detach();
  // Hooks for derived cursors that show something of their own.
  virtual void Activate() {}
  virtual void Deactivate() {}

  HCURSOR GetHandle() const { return mHandle; }

 private:
  MMCursorController* mController;
  HCURSOR mHandle;
};
