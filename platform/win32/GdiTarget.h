#pragma once
// Internal to the platform layer: what the window layer asks of GDI to give
// a window a device context. The window keeps its pixels (WindowPixels);
// the device context draws into the part of them its target names, holding
// their mutex during each drawing call and marking them changed after it.

#include "platform/win32/WindowPixels.h"
#include "platform/win32/gdi.h"

namespace vpl::platform {

// Logical (0, 0) is the target's origin; nothing is drawn outside its clip.
// DeleteDC refuses the result: DeleteWindowDC (from ReleaseDC or EndPaint)
// ends it. Call without the pixels' mutex held.
HDC CreateWindowDC(const WindowDrawTarget& target);
BOOL DeleteWindowDC(HDC dc);
// A window device context on the screen, whose pixels are not ours: it
// draws into nothing.
HDC CreateScreenDC();

}  // namespace vpl::platform
