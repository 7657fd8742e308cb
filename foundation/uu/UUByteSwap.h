#pragma once
// In-place byte swaps of typed arrays, for formats stored big-endian.

#include <cstdint>

void UUSwapInt16s(int16_t* values, uint32_t n);
void UUSwapInt32s(int32_t* values, uint32_t n);
void UUSwapFloats(float* values, uint32_t n);
void UUSwapInt64s(int64_t* values, uint32_t n);
// Swaps n values of size 2, 4 or 8 bytes.
void UUSwapValues(void* values, uint32_t n, uint32_t size);
// Copies bytes of values of size 2, 4 or 8, swapping each value on the
// way; the blocks do not overlap.
void UUCopySwapValues(void* destination, const void* source, uint32_t bytes, uint32_t size);
