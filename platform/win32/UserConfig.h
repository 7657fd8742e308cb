#pragma once
// Internal to the platform layer: where the program keeps its per-user
// files on the host.

#include <string>

namespace vpl::platform {

// $XDG_CONFIG_HOME/vpl3d (default ~/.config/vpl3d), made when missing;
// empty when it cannot be made.
std::string UserConfigDirectory();

}  // namespace vpl::platform
