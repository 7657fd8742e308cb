#pragma once
// The program's named colours (sRGB, 0-255), shared by pictures and
// materials, so a recipe says "cherry" and every item agrees on it.

#include <cstdint>
#include <optional>
#include <string_view>

namespace databuilder {

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
};

// The colour of a name, or of "#RRGGBB"; nothing for anything else.
std::optional<Rgb> FindColor(std::string_view name);

}  // namespace databuilder
