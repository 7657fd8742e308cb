#pragma once
// The process-wide scratch arrays into which the blend-shape and shape
// nodes write the positions and normals of the mesh being drawn, so that
// drawing never changes stored geometry. They grow and never shrink, hold
// the latest deformation of their kind only, and belong to the stage
// thread. A blend shape nested in another adds its targets in place; skins
// keep arrays of their own, since a skin reads its input while it writes.
// Each is null until MM3DCreateDeformerScratchArrays.

#include "foundation/uu/UUGrowableArray.h"
#include "mm3d/MM3DMatrix.h"
#include "mm3d/MM3DVector.h"

extern UUGrowableArray<MM3DVector>* MM3DBlendShapePositionScratch;
extern UUGrowableArray<MM3DVector>* MM3DBlendShapeNormalScratch;
extern UUGrowableArray<MM3DVector>* MM3DIndexedShapePositionScratch;

// Replaces each array with a new empty one, deleting the previous one.
void MM3DCreateDeformerScratchArrays();
// Deletes all three and leaves none.
void MM3DFreeDeformerScratchArrays();
