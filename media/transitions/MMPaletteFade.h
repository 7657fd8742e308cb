#pragma once

#include "foundation/af/AFPalette.h"

#include <cstdint>

// The palettes of a fade between two palettes in a number of steps: step 0
// is one step away from the palette faded from, the last step is exactly
// the palette faded to.
class MMPaletteFade {
 public:
  void Init(const AFPalette& from, const AFPalette& to, int32_t steps);
  void GetPalette(AFPalette& out, int32_t step) const;

 private:
  // 16.16 differences from the target, per entry: red, green, blue.
  struct Delta {
    int32_t mRed = 0;
    int32_t mGreen = 0;
    int32_t mBlue = 0;
  };

  AFPalette mBase;
  int32_t mSteps = 1;
  Delta mDeltas[AFPalette::kEntryCount];
};
