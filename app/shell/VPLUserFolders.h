#pragma once
// Where the user's folders (Library, Textures, Exports) and the log live:
// the program's folder when a file can be made there, else the user's own
// data folder, so that a program installed read-only still keeps its work.

#include "foundation/uu/UUDirectory.h"

// False when neither folder can be had.
bool VPLGetUserFoldersBase(UUDirectory& directory);
