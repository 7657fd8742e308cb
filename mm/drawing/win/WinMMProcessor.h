#pragma once

#include <cstdint>

// The processor check and the MMX routines of the blits. Code that uses MMX
// registers runs inside an MMX section of its thread; the MMX state is
// cleared (EMMS) only when the outermost section ends, and floating-point
// code inside a section brackets itself with an FPU section.

// Runs the check once per process (later calls return at once).
void WinMMCheckProcessor();
// After the check: whether the processor has MMX.
bool WinMMHasMMX();

void WinMMBeginMMX();
void WinMMEndMMX();
void WinMMBeginFPU();
void WinMMEndFPU();
// The calling thread's section level: 0 outside any section, odd inside an
// MMX section, even above 0 inside an FPU section within one.
int32_t WinMMGetSectionLevel();

// Copies n bytes: single bytes until the destination is 8-byte aligned,
// then 64-byte blocks through the MMX registers, then the rest.
void WinMMCopyBytesMMX(void* destination, const void* source, int32_t n);
// The same, leaving the destination byte wherever the source byte is 0.
void WinMMCopyBytesSkipZeroMMX(void* destination, const void* source, int32_t n);
// Copies n 32-bit pixels except those whose fourth byte marks them
// transparent: 255 in the middle blocks (any value of 128 or more), and
// anything but 0 at the unaligned edges.
void WinMMCopyKeyed32MMX(void* destination, const void* source, int32_t n);
// Copies n whole blocks of 64 bytes.
void WinMMCopyBlocksMMX(void* destination, const void* source, int32_t n);
