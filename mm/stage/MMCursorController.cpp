#include "mm/stage/MMCursorController.h"

#include "mm/stage/MMCursor.h"
#include "mm/stage/MMStage.h"
#include "mm/stage/MMStageControl.h"

void MMCursorController::SetCursor(MMCursor* cursor) {
  if (cursor == mRequestedCursor) return;
  mRequestedCursor = cursor;
  if (mBusyCount <= 0) ShowCursor(cursor);
}

void MMCursorController::BeginBusy() {
  if (mBusyCount++ == 0) ShowCursor(WaitCursor());
}

void MMCursorController::EndBusy() {
  if (mBusyCount-- == 1) ShowCursor(mRequestedCursor);
}

void MMCursorController::Refresh() {
  ShowCursor(mBusyCount >= 1 ? WaitCursor() : mRequestedCursor);
}

void MMCursorController::ShowCursor(MMCursor* cursor) {
  if (cursor != mShownCursor) {
    if (mShownCursor != nullptr) mShownCursor->Deactivate();
    mShownCursor = cursor;
    if (cursor != nullptr) cursor->Activate();
  }
  MMStageControl* control = mStage->GetControl();
  if (control != nullptr && mShownCursor != nullptr) {
    control->SetCursorHandle(mShownCursor->GetHandle());
  }
}

void MMCursorController::CursorDestroyed(MMCursor* cursor) {
  if (cursor == mShownCursor) {
    cursor->Deactivate();
    mShownCursor = nullptr;
  }
  if (cursor == mRequestedCursor) mRequestedCursor = nullptr;
}

MMCursor* MMCursorController::WaitCursor() const { return mStage->GetCursor(kWaitCursorId); }
