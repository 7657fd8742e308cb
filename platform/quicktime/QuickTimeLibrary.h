#pragma once
// Internal to the platform layer: the "qtmlClient.dll" module of the module
// table, and what the movie toolbox calls share.

#include "platform/win32/kernel.h"

#include <cstdint>
#include <string>

struct FSSpec;

namespace vpl::platform {

// Whether FFmpeg can write what QuickTime writes here: the Animation
// encoder and the QuickTime file format.
bool OpenQuickTimeLibrary();
// The start and stop calls by name; the program calls the rest of the
// movie toolbox directly.
FARPROC LookUpQuickTimeFunction(const char* name);

// The host path of an FSSpec's length-prefixed Windows path;
// empty when it names nothing here.
std::string HostPathOf(const FSSpec* file);

}  // namespace vpl::platform
