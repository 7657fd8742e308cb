#pragma once
// The film player's view of its stream: the window of contiguous bytes the
// stream offers, taken whole and read through a cursor. A new window is
// asked for only when the current one is used up, its bytes then handed
// back; at the end of a frame step the bytes read are handed back and the
// unread rest of the window is seen again next time.

#include "foundation/uu/UUBufferedInput.h"
#include "media/films/MM2DFilmByteSource.h"

#include <cstdint>

class MM2DFilmReadWindow : public MM2DFilmByteSource {
 public:
  void SetInput(UUBufferedInput* input) {
    mInput = input;
    Reset();
  }
  // Forgets the window without handing anything back.
  void Reset();
  // Takes a new window when this one is used up, filling the input on
  // this thread when it has nothing yet; 0 when the input has no more.
  int32_t Window(const uint8_t** bytes) override;
  void Advance(int32_t n) override;
  // Hands the bytes read back to the input.
  void Release();

 private:
  UUBufferedInput* mInput = nullptr;
  const uint8_t* mCursor = nullptr;
  int32_t mAvailable = 0;
  int32_t mTaken = 0;
};
