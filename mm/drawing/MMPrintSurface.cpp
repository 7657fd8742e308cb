#include "mm/drawing/MMPrintSurface.h"

#include "mm/drawing/MMDrawingSurface.h"

MMPrintSurface::MMPrintSurface(MMDrawingSurface* surface)
    : AFPrintSessionBase(surface->GetPalette()),
      mSurface(surface),
      mPrintable(std::make_unique<MMPrintableSurface>(UURect(), surface)) {}

bool MMPrintSurface::PrintPage(int32_t) {
  mPrintable->SetPageRect(FitRect(mSurface->GetRect(), GetPrintableArea(false)));
  return mPrintable->Print(*this);
}
