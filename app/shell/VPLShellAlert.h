#pragma once
// The information boxes of the program's start and display set-up: a text
// and an OK button. They stand in for the program's own alert box until it
// takes over the same calls.

#include "platform/win32/user.h"

#include <cstdint>

// "Not enough memory": the program cannot go on.
constexpr UINT kVPLOutOfMemoryMessage = 107;

// Shows the text of the string table's id; nothing when the id has no
// text (the step goes on as if the box had been closed).
void VPLShowStringAlert(UINT id, HWND owner);
// Shows entry n of the program's string list; nothing when it is missing.
void VPLShowStringListAlert(int16_t entry, HWND owner);
