#include "media/codecs/UUPerceptualAudioPredictor.h"

namespace UUPerceptualAudio {

namespace {

constexpr float kStepSize = 0.5f;
constexpr float kEnergyFloor = 50.0f;

}  // namespace

void Predictor::Apply(int channel, int order, bool keep, float* values) {
  const auto c = static_cast<size_t>(channel);
  auto& coefficients = mCoefficients[c];
  if (!keep) {
    for (auto& row : coefficients) row.fill(0.0f);
  }
  History& history = mHistory[c];
  const int newest = mNewest[c];
  // The oldest frame's slot takes the new values.
  const int next = (newest + kMaxPredictorOrder - 1) % kMaxPredictorOrder;
  for (int k = 0; k < kFrameLength; ++k) {
    auto& weights = coefficients[static_cast<size_t>(k)];
    float h[kMaxPredictorOrder];
    float prediction = 0.0f;
    float energy = 0.0f;
    for (int j = 0; j < order; ++j) {
      h[j] =
          history[static_cast<size_t>((newest + j) % kMaxPredictorOrder)][static_cast<size_t>(k)];
      prediction += weights[static_cast<size_t>(j)] * h[j];
      energy += h[j] * h[j];
    }
    const float residual = values[k];
    const float value = residual + prediction;
    const float mu = kStepSize / (energy + value * value + kEnergyFloor);
    for (int j = 0; j < order; ++j) weights[static_cast<size_t>(j)] += mu * h[j] * residual;
    history[static_cast<size_t>(next)][static_cast<size_t>(k)] = value;
    values[k] = value;
  }
  mNewest[c] = next;
}

}  // namespace UUPerceptualAudio
