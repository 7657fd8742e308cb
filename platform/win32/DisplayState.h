#pragma once
// Internal to the platform layer: the recorded display mode and the cursor
// the program shows, which the desktop applies at its next pump. A window
// shown full screen keeps its client size: its picture is scaled to the
// screen (keeping its proportions) and the pointer scaled back.

#include "platform/win32/user.h"

struct SDL_Rect;
struct SDL_Surface;

namespace vpl::platform {

struct WindowPixels;

// The largest area of the client's proportions centred in the shown size,
// top-down; the whole shown size for an empty client.
SDL_Rect ScaledArea(SIZE client, SIZE shown);
// Whether a full-screen mode of this size is recorded.
bool IsFullScreenSize(LONG width, LONG height);
// Main thread only, from the desktop's pump: shows the cursor last set.
void SyncDesktopCursor();
// With the pixels' mutex held: the picture scaled into the target, the
// rest of the target black.
void PresentScaled(SDL_Surface* target, const WindowPixels& pixels);
// A point of a screen-sized window in the client area it shows scaled.
POINT ScaledToClient(POINT point, SIZE shown, SIZE client);

}  // namespace vpl::platform
