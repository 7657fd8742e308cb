#pragma once
// The multimedia timer the system's clock reads.

#include "platform/win32/kernel.h"

// Milliseconds on the monotonic clock, wrapping at 32 bits.
DWORD timeGetTime();
