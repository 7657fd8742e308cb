#include "tools/databuilder/paint/Palette.h"

#include <array>
#include <cstdlib>
#include <string>
#include <utility>

namespace databuilder {

namespace {

constexpr std::array<std::pair<std::string_view, uint32_t>, 20> kColors = {{
    {"sky", 0x4FC3F7},   {"sun", 0xFFD23F},       {"tangerine", 0xFF8A3D}, {"cherry", 0xFF4F5E},
    {"grape", 0x9C6BFF}, {"leaf", 0x4CD06A},      {"bubblegum", 0xFF7AC8}, {"teal", 0x22C3B0},
    {"cream", 0xFFF4DC}, {"cloud", 0xFFFFFF},     {"ink", 0x2B2D5C},       {"mist", 0xC9D2EA},
    {"grass", 0x6CCB4A}, {"deepgrass", 0x3FA34D}, {"sand", 0xF6D58E},      {"snow", 0xF4F8FF},
    {"dusk", 0xFF9E7A},  {"wood", 0xC98B4F},      {"darkwood", 0x9A6235},  {"paleblue", 0xBFE6FF},
}};

Rgb FromHex(uint32_t value) {
  return {static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8),
          static_cast<uint8_t>(value)};
}

}  // namespace

std::optional<Rgb> FindColor(std::string_view name) {
  for (const auto& [key, value] : kColors) {
    if (key == name) return FromHex(value);
  }
  if (name.size() != 7 || name[0] != '#') return std::nullopt;
  const std::string digits(name.substr(1));
  char* end = nullptr;
  const unsigned long value = std::strtoul(digits.c_str(), &end, 16);
  if (end != digits.c_str() + digits.size()) return std::nullopt;
  return FromHex(static_cast<uint32_t>(value));
}

}  // namespace databuilder
