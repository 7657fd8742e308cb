#pragma once
// Internal to the platform layer: the first picture of a cursor file
// (.cur, or the first frame of an animated .ani), and the cursors made
// from such files.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/win32/user.h"

namespace vpl::platform {

struct CursorImage {
  int32_t width = 0;
  int32_t height = 0;
  int32_t hotX = 0;
  int32_t hotY = 0;
  std::vector<uint32_t> argb;  // top row first; alpha 0 is transparent
};

// False for anything that is not a cursor or icon file (or an animated
// cursor) with an uncompressed first picture of 1, 4, 8, 24 or 32 bits.
bool ReadCursorFile(const std::vector<uint8_t>& bytes, CursorImage& image);

// The picture of a cursor made from a file; false for any other handle.
bool FileCursorImage(HCURSOR cursor, CursorImage& image);
// A cursor of the picture, shown as a file's cursor is.
HCURSOR AddCursorImage(std::unique_ptr<CursorImage> image);
// The program module's own pictures: the cursor "emptyCursor.cur" (shows
// nothing: the stage draws its own pointers) and icon 1; null for any other
// name.
HCURSOR ProgramCursor(LPCSTR name);
HICON ProgramIcon(LPCSTR name);

}  // namespace vpl::platform
