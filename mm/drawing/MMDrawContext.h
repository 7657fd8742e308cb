#pragma once

#include "mm/drawing/MMRegion.h"

class MMSurface;

// What a visual draws into for one Draw call of its enclosure: the surface
// and the region to redraw, in enclosure coordinates.
struct MMDrawContext {
  MMSurface* mSurface = nullptr;
  MMRegion mRegion;
};
