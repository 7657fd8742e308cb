#pragma once
// A camera bound to one view, which it hands its view matrix when asked.

#include "foundation/uu/UUOwned.h"
#include "mm3d/MM3DCamera.h"
#include "mm3d/MM3DVector.h"

class MMView;

class MM3DCameraWithView : public MM3DCamera {
 public:
  // The view is not owned and must outlive the camera's updates.
  MM3DCameraWithView(const MM3DVector& position, UUOwned<MM3DVector> interest, float roll,
                     MMView* view);

  // Gives the camera's current view matrix to the view, which keeps it only
  // when it changed.
  void UpdateView();

  MMView* GetView() const { return mView; }

 private:
  MMView* mView;
};
