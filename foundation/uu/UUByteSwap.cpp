#include "foundation/uu/UUByteSwap.h"

#include "foundation/al/ALBytes.h"

void UUSwapInt16s(int16_t* values, uint32_t n) { ALSwapBytes16(values, n); }
void UUSwapInt32s(int32_t* values, uint32_t n) { ALSwapBytes32(values, n); }
void UUSwapFloats(float* values, uint32_t n) { ALSwapBytes32(values, n); }
void UUSwapInt64s(int64_t* values, uint32_t n) { ALSwapBytes64(values, n); }

void UUSwapValues(void* values, uint32_t n, uint32_t size) {
  switch (size) {
    case 2:
      ALSwapBytes16(values, n);
      break;
    case 4:
      ALSwapBytes32(values, n);
      break;
    case 8:
      ALSwapBytes64(values, n);
      break;
    default:
      break;
  }
}

void UUCopySwapValues(void* destination, const void* source, uint32_t bytes, uint32_t size) {
  switch (size) {
    case 2:
      ALCopySwapBytes16(destination, source, bytes);
      break;
    case 4:
      ALCopySwapBytes32(destination, source, bytes);
      break;
    case 8:
      ALCopySwapBytes64(destination, source, bytes);
      break;
    default:
      break;
  }
}
