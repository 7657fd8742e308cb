#pragma once
// Colours: four floats, nominally 0 to 1, for materials and lights, and
// four bytes in the order r, g, b, a for vertex colours.

#include <cstdint>

class UUReader;
class UUWriter;

class MM3DColor {
 public:
  // r, g, b, a, one float each; false at the first failure.
  bool Write(UUWriter& writer) const;
  // A failed read leaves that component and the ones after it untouched.
  bool Read(UUReader& reader);
  // Component by component, r, g, b, a.
  bool operator==(const MM3DColor&) const = default;

  float mR;
  float mG;
  float mB;
  float mA;
};

class MM3DPackedColor {
 public:
  // Each byte is the component x 255 truncated toward zero, without
  // clamping: a component outside 0 to 1 keeps the low byte.
  void SetFromColor(const MM3DColor& color);

  uint8_t mR;
  uint8_t mG;
  uint8_t mB;
  uint8_t mA;
};
