#include "mm3d/MM3DDeformerScratch.h"

UUGrowableArray<MM3DVector>* MM3DBlendShapePositionScratch = nullptr;
UUGrowableArray<MM3DVector>* MM3DBlendShapeNormalScratch = nullptr;
UUGrowableArray<MM3DVector>* MM3DIndexedShapePositionScratch = nullptr;

namespace {

template <typename T>
void Replace(UUGrowableArray<T>*& array, UUGrowableArray<T>* with) {
  delete array;
  array = with;
}

// Arrays that still exist when the process ends.
struct ScratchCleanUp {
  ~ScratchCleanUp() { MM3DFreeDeformerScratchArrays(); }
} sCleanUp;

}  // namespace

void MM3DCreateDeformerScratchArrays() {
  Replace(MM3DBlendShapePositionScratch, new UUGrowableArray<MM3DVector>);
  Replace(MM3DBlendShapeNormalScratch, new UUGrowableArray<MM3DVector>);
  Replace(MM3DIndexedShapePositionScratch, new UUGrowableArray<MM3DVector>);
}

void MM3DFreeDeformerScratchArrays() {
  Replace<MM3DVector>(MM3DBlendShapePositionScratch, nullptr);
  Replace<MM3DVector>(MM3DBlendShapeNormalScratch, nullptr);
  Replace<MM3DVector>(MM3DIndexedShapePositionScratch, nullptr);
}
