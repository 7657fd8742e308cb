#include "foundation/uu/UUSeeker.h"

bool UUSeeker::Tell(int32_t* position) {
  *position = -1;
  if (GetError() != kUUNoError) return false;
  if (!Seek(0, kUUSeekFromCurrent, position)) *position = -1;
  return GetError() == kUUNoError;
}

bool UUSeeker::GetLength(int32_t* length) {
  *length = -1;
  int32_t saved = -1;
  if (!Tell(&saved) || !Seek(0, kUUSeekFromEnd, length) ||
      !Seek(saved, kUUSeekFromStart, nullptr)) {
    *length = -1;
    return false;
  }
  return true;
}
