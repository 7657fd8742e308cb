#pragma once

#include "foundation/uu/UURefCount.h"
#include "mm/drawing/MMRegion.h"
#include "mm3d/MM3DPipeline.h"
#include "mm3d/MM3DRenderer.h"

class MMSurface;
class MM3DRenderContext;

// What a visual draws into for one Draw call of its enclosure, with the
// region to redraw in enclosure coordinates. A 2D enclosure gives the
// surface; a 3D enclosure gives its light set and the stage's renderer and
// pipeline, and leaves the surface null. The region lets a scene parent
// molecule's child views draw inside either kind.
struct MMDrawContext {
  MMSurface* mSurface = nullptr;
  MMRegion mRegion;
  MM3DRenderContext* mRenderContext = nullptr;
  UURefCount<MM3DRenderer> mRenderer;
  UURefCount<MM3DPipeline> mPipeline;
};
