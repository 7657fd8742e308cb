#pragma once
// Internal to the platform layer: the system's control classes, found by
// every thread without registering them.

#include "platform/win32/user.h"

#include <span>

namespace vpl::platform {

struct SystemClass {
  const char* name;
  UINT style;
  WNDPROC procedure;
  int windowExtra;
};

// The classes every thread finds without registering them.
std::span<const SystemClass> SystemClasses();

}  // namespace vpl::platform
