// The table of the system's control classes.

#include "platform/win32/SystemControls.h"

namespace vpl::platform {

// The controls ("BUTTON", "EDIT", "STATIC", "SCROLLBAR", "SysListView32")
// join this table as they are built.
std::span<const SystemClass> SystemClasses() { return {}; }

}  // namespace vpl::platform
