#pragma once

#include "foundation/af/AFPrintSessionBase.h"
#include "mm/drawing/MMPrintableSurface.h"

#include <cstdint>
#include <memory>

class MMDrawingSurface;

// A one-page print job of a drawing surface (not owned), as large as the
// printable area allows with the surface's proportions, centred in it.
class MMPrintSurface : public AFPrintSessionBase {
 public:
  explicit MMPrintSurface(MMDrawingSurface* surface);

  bool PrintPage(int32_t page) override;

  const UURect& GetPageRect() const { return mPrintable->GetPageRect(); }
  void SetPageRect(const UURect& rect) { mPrintable->SetPageRect(rect); }

 private:
  MMDrawingSurface* mSurface;
  std::unique_ptr<MMPrintableSurface> mPrintable;
};
