#pragma once
// The backward-adaptive predictor of long blocks: per channel and
// coefficient, a least-mean-squares filter over the coefficient's values in
// the last frames predicts the next value, to which the decoded residual
// is added.

#include "media/codecs/UUPerceptualAudioFrame.h"

#include <array>

namespace UUPerceptualAudio {

class Predictor {
 public:
  // Turns the residuals of one channel into values (in place) with the
  // given order; a channel that does not keep its filter starts from zero.
  void Apply(int channel, int order, bool keep, float* values);

 private:
  static constexpr int kCoefficientSlots = 10;
  using History = std::array<std::array<float, kFrameLength>, kMaxPredictorOrder>;

  std::array<History, kMaxChannels> mHistory{};  // ring of the last frames
  std::array<int, kMaxChannels> mNewest{};
  std::array<std::array<std::array<float, kCoefficientSlots>, kFrameLength>, kMaxChannels>
      mCoefficients{};
};

}  // namespace UUPerceptualAudio
