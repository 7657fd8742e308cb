#pragma once

#include <cstdint>

// Whether a molecule, a visual or a view is shown.
enum MMVisibility : int32_t { kMMHidden = 0, kMMShown = 1 };
