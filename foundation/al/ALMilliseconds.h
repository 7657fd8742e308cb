#pragma once
// The program clock: milliseconds on timeGetTime, reading 1000 at its first
// use. Arithmetic is 32-bit and wraps.

#include <cstdint>

uint32_t ALMilliseconds();
// A timeGetTime-based time stamp (a message time) on the program clock.
uint32_t ALSystemTimeToMilliseconds(uint32_t systemTime);
uint32_t ALMillisecondsToSystemTime(uint32_t milliseconds);
