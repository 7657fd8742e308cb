#pragma once
// The process-wide scratch arrays into which the deforming nodes write the
// positions, normals and matrices of the mesh being drawn, so that drawing
// never changes stored geometry. They grow and never shrink, hold the
// latest deformation of their kind only, and belong to the stage thread.
// Each is null until MM3DCreateDeformerScratchArrays.

#include "foundation/uu/UUGrowableArray.h"
#include "mm3d/MM3DMatrix.h"
#include "mm3d/MM3DVector.h"

extern UUGrowableArray<MM3DMatrix>* MM3DSkinMatrixScratch;
extern UUGrowableArray<MM3DMatrix>* MM3DSkinNormalMatrixScratch;
extern UUGrowableArray<MM3DVector>* MM3DSkinPositionScratch;
extern UUGrowableArray<MM3DVector>* MM3DSkinNormalScratch;
extern UUGrowableArray<MM3DVector>* MM3DBlendShapePositionScratch;
extern UUGrowableArray<MM3DVector>* MM3DBlendShapeNormalScratch;
extern UUGrowableArray<MM3DVector>* MM3DIndexedShapePositionScratch;

// Replaces each array with a new empty one, deleting the previous one.
void MM3DCreateDeformerScratchArrays();
// Deletes all seven and leaves none.
void MM3DFreeDeformerScratchArrays();
