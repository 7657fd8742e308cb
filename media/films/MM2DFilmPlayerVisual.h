#pragma once
// The visual of a film player: its frame bitmap drawn into the film's
// rectangle, hit where the frame is not transparent.

#include "mm/stage/MM2DVisual.h"

class MM2DFilmPlayerMolecule;

class MM2DFilmPlayerVisual : public MM2DBoxBasedVisual {
 public:
  MM2DFilmPlayerVisual(MM2DFilmPlayerMolecule* player, const UURect& box, int32_t depth)
      : MM2DBoxBasedVisual(box, depth), mPlayer(player) {}

  // Inside the box: everywhere for a film copied whole (sub-format 0),
  // else where the pixel is not index 0 or fully transparent.
  bool Contains(int32_t x, int32_t y) const override;
  // Nothing while the player has no frame.
  void DrawClipped(MMSurface* surface) override;

 private:
  MM2DFilmPlayerMolecule* mPlayer;
};
