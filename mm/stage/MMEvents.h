#pragma once
// The event records the input strategies build from the stage control's
// messages. Times are program-clock milliseconds; the stage turns them into
// stage time only to place the update they ask for.

#include <cstdint>

// Mouse flag bits.
constexpr int32_t kMMMouseButtonDown = 0x01;  // a button is down after the message
constexpr int32_t kMMMousePress = 0x02;       // a button went down (every double click too)
constexpr int32_t kMMMouseRelease = 0x04;     // a button went up
constexpr int32_t kMMMouseRightDown = 0x10;
constexpr int32_t kMMMouseShift = 0x20;
constexpr int32_t kMMMouseControl = 0x40;
constexpr int32_t kMMMouseDoubleClick = 0x80;

// x and y in stage coordinates.
struct MMMouseEvent {
  int32_t mTime = 0;
  int32_t mX = 0;
  int32_t mY = 0;
  int32_t mFlags = 0;

  friend bool operator==(const MMMouseEvent&, const MMMouseEvent&) = default;
};

// A translated special key (mCharacter 0), or a character (mKeyCode 0) with
// the second byte of a double-byte character.
struct MMKeyEvent {
  int32_t mTime = 0;
  int16_t mKeyCode = 0;
  uint8_t mCharacter = 0;
  uint8_t mSecondByte = 0;

  friend bool operator==(const MMKeyEvent&, const MMKeyEvent&) = default;
};

struct MMRegisteredEvent {
  int32_t mTime = 0;
  int32_t mEventId = 0;
};

// wParam and lParam are pointer-sized here, as the message's own, so that
// a message may carry a pointer on 64-bit builds.
struct MMPostedMessage {
  int32_t mTime = 0;
  intptr_t mWParam = 0;
  intptr_t mLParam = 0;
};
