#include "media/sound/MMSoundFormat.h"

namespace {

// 37 periods of 40 ms at 11025 Hz: 37 x 11025 / 25 samples.
constexpr int32_t kBufferSamplesPerRateMultiple = 16317;
constexpr int32_t kBufferGranule = 4096;
constexpr int64_t kSamplesPerPeriod = 441;  // 40 ms at 11025 Hz
constexpr int64_t kPeriodMilliseconds = 40;

}  // namespace

int32_t MMSoundBufferBytes(MMSoundFormat format) {
  const int32_t bytes =
      kBufferSamplesPerRateMultiple * format.GetFrameBytes() * format.GetRateMultiple();
  return (bytes + kBufferGranule - 1) / kBufferGranule * kBufferGranule;
}

int64_t MMSoundPeriodBytes(MMSoundFormat format, int64_t milliseconds) {
  return kSamplesPerPeriod * format.GetFrameBytes() * format.GetRateMultiple() * milliseconds /
         kPeriodMilliseconds;
}
