#pragma once
// Prints the creation: one page with one or more copies of the rendered
// picture, placed by the print layout of the chosen mode, each with its
// caption when there is one and, in the cut-mark mode, cut marks.

#include "app/shell/VPLPrintLayout.h"
#include "foundation/af/AFPrintSessionBase.h"
#include "mm/resources/MMCollectionRegistry.h"

#include <cstdint>

class MMSurface;

class VPLPrintSession : public AFPrintSessionBase {
 public:
  static constexpr int kCaptionSize = 256;

  // The surface is not owned; the caption is copied.
  VPLPrintSession(MMSurface* surface, int16_t mode, const char* caption);
  ~VPLPrintSession() override = default;

  // False when nothing was printed, else the last item's result.
  bool PrintPage(int32_t page) override;

  // The layout table for a paper (tenths of a millimetre, upright).
  static MMResourceId LayoutScriptFor(const UURect& paperInTenths);

 private:
  // The mode's page layout from the print scripts; empty when they have
  // none.
  VPLPageLayout ReadLayout() const;
  void PrintSlot(const VPLPrintSlot& slot, int32_t captionHeight, bool& result);
  bool PrintCaption(MMSurface& copy, const UURect& picture, int32_t captionHeight);

  MMSurface* mSurface;
  int16_t mMode;
  char mCaption[kCaptionSize] = {};
};
