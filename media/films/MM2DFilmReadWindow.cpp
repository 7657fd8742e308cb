#include "media/films/MM2DFilmReadWindow.h"

void MM2DFilmReadWindow::Reset() {
  mCursor = nullptr;
  mAvailable = 0;
  mTaken = 0;
}

int32_t MM2DFilmReadWindow::Window(const uint8_t** bytes) {
  if (mAvailable == 0 && mInput != nullptr) {
    if (mTaken > 0) mInput->Consume(mTaken);
    Reset();
    int32_t n = mInput->Peek(&mCursor);
    // Filling reads until the ring is full or the data is all read: a
    // window that stays empty after it means there is no more.
    if (n == 0) {
      mInput->Fill();
      n = mInput->Peek(&mCursor);
    }
    mTaken = mAvailable = n;
  }
  *bytes = mCursor;
  return mAvailable;
}

void MM2DFilmReadWindow::Advance(int32_t n) {
  mCursor += n;
  mAvailable -= n;
}

void MM2DFilmReadWindow::Release() {
  if (mInput != nullptr && mTaken > mAvailable) mInput->Consume(mTaken - mAvailable);
  Reset();
}
