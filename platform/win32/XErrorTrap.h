#pragma once
// Internal to the platform layer: X protocol errors caught for a scope.
// Xlib reports a failed request to one process-wide handler, whose default
// prints the error and ends the process; a GL library that is advertised
// but cannot serve (an indirect context a server refuses, say) must fail
// its call instead, so that the caller can say so. While any trap lives,
// errors are counted by the traps; the handler in place before is given
// back when the last one ends.

struct _XDisplay;

namespace vpl::platform {

class XErrorTrap {
 public:
  // The display is the connection whose requests are checked when the trap
  // asks; null: only errors that arrive by themselves are counted.
  explicit XErrorTrap(_XDisplay* display);
  ~XErrorTrap();
  XErrorTrap(const XErrorTrap&) = delete;
  XErrorTrap& operator=(const XErrorTrap&) = delete;

  // Waits until the server has answered every request made so far, then
  // whether any request failed since the trap was set.
  bool Caught();

 private:
  _XDisplay* mDisplay;
  int mErrors = 0;
};

}  // namespace vpl::platform
