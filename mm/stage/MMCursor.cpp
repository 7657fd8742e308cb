#include "mm/stage/MMCursor.h"

#include "mm/stage/MMCursorController.h"

void MMCursor::Detach() {
  if (mController != nullptr) mController->CursorDestroyed(this);
}
