#pragma once
// Compositing of a palettized picture through an 8-bit mask onto a 32-bit
// surface, scaled and mirrored: a mask byte 0 shows the picture, 255 keeps
// what lies under it, values between blend through the product table.

#include "mm/drawing/MMBitmap.h"
#include "mm/drawing/MMDrawingSurface.h"
#include "mm/drawing/MMPalette.h"

class MMMaskedBlit {
 public:
  // The mask has the source's geometry.
  MMMaskedBlit(const MMBitmap& source, const MMPalette& palette, const MMBitmap& mask, bool mirrorX,
               bool mirrorY);

  // Draws the whole source into the destination rectangle of the surface,
  // clipped to it. False, with nothing drawn, for an empty source or
  // destination, a surface that is not 32-bit or images of other depths.
  bool Draw(MMDrawingSurface& surface, const UURect& destination);

 private:
  // The source rectangle that the clipped destination shows.
  UURect MapSource(const UURect& destination, const UURect& clipped) const;
  void Compose(const MMBitmap& target, const UURect& clipped, const UURect& mapped) const;

  MMBitmap mSource;
  MMPalette mPalette;
  MMBitmap mMask;
  bool mMirrorX;
  bool mMirrorY;
};
