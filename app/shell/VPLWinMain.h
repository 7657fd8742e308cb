#pragma once
// The program's entry: refuses a second running copy (a second semaphore
// or a second program on the same Library), lets a termination request
// close the window, checks memory and disk, makes the memory pool and the application, starts the
// movie module, switches the screen to 800 x 600 x 16, runs the application and undoes it all in
// the reverse order.

#include "platform/win32/kernel.h"

// 0 after a run that ended as asked (the quit door, the window closed, a
// termination request) and for a second copy, which ends at once; 1 when
// the start failed (too little memory or disk, no memory pool, no screen
// of the size, the run's own start or display) or the run reported an error.
int WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

// Shows message 107; the allocation layer then ends the process.
void VPLOutOfMemoryHandler();
