#include "platform/win32/XErrorTrap.h"

#include <algorithm>
#include <mutex>
#include <vector>

// Xlib's macros (None, Bool, Status...) must not reach the headers above.
#include <X11/Xlib.h>

namespace vpl::platform {
namespace {

// What a live trap watches and where it counts.
struct Watch {
  Display* display;
  int* errors;
};

std::mutex gTrapsMutex;
std::vector<Watch> gWatches;
// The handler the first trap replaced, given back by the last.
XErrorHandler gOuterHandler = nullptr;

int OnXError(Display* display, XErrorEvent* error) {
  XErrorHandler outer = nullptr;
  {
    std::lock_guard lock(gTrapsMutex);
    bool taken = false;
    for (const Watch& watch : gWatches) {
      if (watch.display != nullptr && watch.display != display) continue;
      ++*watch.errors;
      taken = true;
    }
    if (!taken) outer = gOuterHandler;
  }
  // Another library swapped handlers around a trap's end and ours stayed
  // in place: an error outside every trap goes where it went before.
  return outer != nullptr ? outer(display, error) : 0;
}

}  // namespace

XErrorTrap::XErrorTrap(_XDisplay* display) : mDisplay(display) {
  // Errors of requests made before the trap are not its own.
  if (mDisplay != nullptr) XSync(mDisplay, False);
  {
    std::lock_guard lock(gTrapsMutex);
    gWatches.push_back(Watch{mDisplay, &mErrors});
  }
  const XErrorHandler previous = XSetErrorHandler(OnXError);
  std::lock_guard lock(gTrapsMutex);
  if (previous != OnXError) gOuterHandler = previous;
}

XErrorTrap::~XErrorTrap() {
  if (mDisplay != nullptr) XSync(mDisplay, False);
  std::lock_guard lock(gTrapsMutex);
  gWatches.erase(std::find_if(gWatches.begin(), gWatches.end(),
                              [this](const Watch& watch) { return watch.errors == &mErrors; }));
  if (gWatches.empty()) XSetErrorHandler(gOuterHandler);
}

bool XErrorTrap::Caught() {
  if (mDisplay != nullptr) XSync(mDisplay, False);
  std::lock_guard lock(gTrapsMutex);
  return mErrors != 0;
}

}  // namespace vpl::platform
