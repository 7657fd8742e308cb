#pragma once
// A tool sound whose drag accents sound only on a step longer than
// kAccentDistance, so that slow drags stay quiet: the rotate tool's on the
// arcade sound, the move tool's on the generic one.

#include "mm3d/MM3DVector.h"

template <class Kind>
class VPLToolSoundLongSteps : public Kind {
 public:
  static constexpr float kAccentDistance = 15.0f;
  using Kind::Kind;
  void PlayDrag(const MM3DVector& position, bool alternate) override {
    if (Kind::Distance(position, this->mPosition) > kAccentDistance) {
      Kind::PlayDrag(position, alternate);
    }
  }
};
