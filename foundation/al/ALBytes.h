#pragma once
// Byte routines: copies, byte-order reversal for the formats stored
// big-endian, and comparison. The copying swaps count bytes and the in-place
// swaps count values; callers rely on that difference.

#include <cstddef>
#include <cstdint>

// Copies n bytes forward; nothing when n is 0 or negative. No overlap.
void ALCopyBytes(void* destination, const void* source, int32_t n);
// Copy n bytes, reversing every 16-, 32- or 64-bit unit on the way; n is a
// multiple of the unit size (a trailing partial unit is not copied). The
// two blocks do not overlap.
void ALCopySwapBytes16(void* destination, const void* source, uint32_t n);
void ALCopySwapBytes32(void* destination, const void* source, uint32_t n);
void ALCopySwapBytes64(void* destination, const void* source, uint32_t n);
// Reverse in place the bytes of each of count values.
void ALSwapBytes16(void* values, uint32_t count);
void ALSwapBytes32(void* values, uint32_t count);
void ALSwapBytes64(void* values, uint32_t count);
// The swaps above run through the processor's widest byte shuffle (AVX2 or
// SSSE3) when it has one, chosen when the program starts; false installs
// the plain loops, which give the same bytes.
void ALSelectSwapRoutines(bool useShuffle);
bool ALSwapRoutinesUseShuffle();

bool ALIsReadable(const void* pointer, uint32_t n);
bool ALIsWritable(void* pointer, uint32_t n);
// 0 when equal (also for n = 0); else -1 when a's first differing byte is
// the smaller as an unsigned value, else 1.
int32_t ALCompareBytes(const void* a, const void* b, uint32_t n);
