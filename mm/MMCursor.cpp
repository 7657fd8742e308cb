#include "mm/MMCursor.h"

#include "mm/MMCursorController.h"

void MMCursor::Detach() {
  if (mController != nullptr) mController->CursorDestroyed(this);
}
