#include "mm/stage/MM3DCameraWithView.h"

#include <utility>

#include "mm/stage/MMView.h"
#include "mm3d/MM3DMatrix.h"

MM3DCameraWithView::MM3DCameraWithView(const MM3DVector& position, UUOwned<MM3DVector> interest,
                                       float roll, MMView* view)
    : MM3DCamera(position, std::move(interest), roll), mView(view) {}

void MM3DCameraWithView::UpdateView() {
  MM3DMatrix matrix;
  GetViewMatrix(matrix);
  mView->UpdateViewMatrix(matrix);
}
