#pragma once
// The child's own pictures: a BMP or JPEG file from the textures folder
// read into a 32-bit surface no larger than a target, shrunk with its
// proportions kept and never enlarged.

#include "foundation/uu/UUDirectory.h"
#include "foundation/uu/UUOwned.h"
#include "foundation/uu/UURect.h"
#include "mm/drawing/MMSurface.h"

// The decoder follows the name's extension (the string list's BMP and JPEG
// extensions, in any case). Null, without a message, for another
// extension, a missing, damaged or hostile file, or no memory.
UUOwned<MMSurface> VPLLoadPictureToFit(const UUDirectory& directory, const char* fileName,
                                       const UURect& target);
// The largest rectangle of the source's proportions centred in the target.
UURect VPLFitPictureRect(const UURect& source, const UURect& target);
