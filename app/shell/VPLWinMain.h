#pragma once
// The program's entry: refuses a second running copy, checks memory and
// disk, makes the memory pool and the application, starts the movie
// module, switches the screen to 800 x 600 x 16, runs the application and
// undoes it all in the reverse order.

#include "platform/win32/kernel.h"

// 0 when the start stopped early (a second copy, too little memory or
// disk, no memory pool); 1 after a run, also when the screen could not be
// switched.
int WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

// Shows message 107; the allocation layer then ends the process.
void VPLOutOfMemoryHandler();
