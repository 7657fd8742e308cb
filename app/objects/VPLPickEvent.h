#pragma once
// A mouse event as the clickable objects receive it: the pointer in the
// view, the event's flags and the world segment under the pointer.

#include "app/objects/VPLPicking.h"

#include <cstdint>

// Bits of the flags, made by the input strategy from the mouse message.
enum VPLPickFlags : int32_t {
  kVPLHeld = 0x01,         // a button is down at the time of the message
  kVPLPress = 0x02,        // a button went down
  kVPLRelease = 0x04,      // a button went up
  kVPLRightHeld = 0x10,    // the right button is down
  kVPLAlternate = 0x20,    // Shift is held
  kVPLColorSucker = 0x40,  // Ctrl is held
  kVPLDoubleClick = 0x80   // always comes with press
};

struct VPLPickEvent {
  VPLPickEvent() = default;
  // The time is not kept.
  VPLPickEvent(int32_t /*time*/, int32_t x, int32_t y, int32_t flags)
      : mX(x), mY(y), mFlags(flags) {}

  bool Has(int32_t bits) const { return (mFlags & bits) != 0; }

  int32_t mX = 0;
  int32_t mY = 0;
  int32_t mFlags = 0;
  VPLSegment mRay{{0.0f, 0.0f, 0.0f, 1.0f}, {0.0f, 0.0f, 0.0f, 1.0f}};
};
