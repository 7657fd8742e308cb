// The single-step undo: before every change the whole creation record is
// written into one memory block, which an undo reads back. The block grows
// while the record does not fit, up to ten million bytes.
#include "app/creation/VPLSceneCreationArea.h"

#include "app/creation/VPLCreationUIHooks.h"
#include "foundation/uu/UUMemory.h"

#include <new>

void VPLSceneCreationArea::NewUndoBlock(int32_t size) {
  mUndoBlockSize = size;
  mUndoStream.reset();
  // The block is scratch: its allocation failing leaves the area without
  // undo, which every checkpoint then skips.
  mUndoBlock.reset(new (std::nothrow) uint8_t[static_cast<size_t>(size)]);
  if (mUndoBlock) mUndoStream = std::make_unique<UUMemory>(mUndoBlock.get(), size);
}

void VPLSceneCreationArea::GrowSnapshot() {
  if (mUndoBlockSize <= kUndoBlockLimit) NewUndoBlock(mUndoBlockSize + kUndoBlockGrowth);
}

bool VPLSceneCreationArea::WriteSnapshot() {
  mSnapshotValid = false;
  int32_t position = 0;
  // Without its position the loop would write its retries elsewhere: the
  // checkpoint fails instead.
  if (!mUndoStream || !mUndoStream->Tell(&position)) return false;
  for (;;) {
    if (mCreation->Write(*mUndoStream)) {
      mSnapshotValid = true;
      break;
    }
    GrowSnapshot();
    if (!mUndoStream) return false;
    mUndoStream->Seek(position, kUUSeekFromStart, nullptr);
    if (mUndoBlockSize > kUndoBlockLimit) break;
  }
  mUndoStream->Seek(0, kUUSeekFromStart, nullptr);
  return mSnapshotValid;
}

void VPLSceneCreationArea::TakeSnapshot() {
  mUntouched = false;
  if (!mUndoStream) return;
  mUndoStream->Seek(0, kUUSeekFromStart, nullptr);
  const bool modified = mCreation->IsModified();
  WriteSnapshot();
  mCreation->SetModified(modified);
}

void VPLSceneCreationArea::Undo() {
  // A checkpoint that could not be written would read back as an empty
  // creation, which might then be saved over the sketch: the undo is
  // refused. Without a change there is nothing to give back, and the
  // modified flag stays as it is.
  if (mUndoStream && mSnapshotValid && mCreation->IsModified()) {
    mUndoStream->Seek(0, kUUSeekFromStart, nullptr);
    mCreation->ClearAsModified();
    mCreation->Read(*mUndoStream);
    mCreation->SetModified(true);
    SetBackground(mCreation->GetBackground());
    LightCurrentGroup();
  }
  if (mUI != nullptr) mUI->RefreshAfterUndo();
}
