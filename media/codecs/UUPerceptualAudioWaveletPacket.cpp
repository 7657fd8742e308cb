#include "media/codecs/UUPerceptualAudioWaveletPacket.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "media/codecs/UUPerceptualAudioWaveletFilters.h"

namespace UUPerceptualAudio {

namespace {

// The tree: the top node splits into four by the fast stage; nodes of 256
// values split into four, and so do nodes of 128 whose bands are at most 32
// wide; every other node that is not a band halves. Two-band stages take
// longer, more selective filters the wider their output (10 taps for 16
// values, 20 for 32, 40 beyond), so that the narrowest bands stay short in
// time.
constexpr int kFourBandFilter = 3;
constexpr int kTwoBandTaps[3] = {10, 20, 40};
const double* const kTwoBandLowPass[3] = {kDaubechies10, kDaubechies20, kDaubechies40};
constexpr int kFourBandWidth = 256;
constexpr int kFourBandSmallWidth = 128;
constexpr int kFourBandSmallWidest = 32;
constexpr int kNarrowestBand = 8;

int TwoBandFilterFor(int width) {
  if (width <= 16) return 0;
  return width <= 32 ? 1 : 2;
}

// The plain product, without the library's care for infinities.
std::complex<double> Product(std::complex<double> a, std::complex<double> b) {
  return {a.real() * b.real() - a.imag() * b.imag(), a.real() * b.imag() + a.imag() * b.real()};
}

}  // namespace

bool WaveletPacket::Create(int size, const int16_t* edges, int edgeCount) {
  if (size != kMaxSize && size != kMaxSize / 2) return false;
  for (int f = 0; f < 3; ++f) {
    const int taps = kTwoBandTaps[f];
    for (int n = 0; n < taps; ++n) {
      mTwoBand[static_cast<size_t>(f)][static_cast<size_t>(n)] = kTwoBandLowPass[f][n];
      mTwoBand[static_cast<size_t>(f)][static_cast<size_t>(taps + n)] =
          (n % 2 == 0 ? 1.0 : -1.0) * kTwoBandLowPass[f][taps - 1 - n];
    }
  }
  for (int j = 0; j < kMaxSize / 2; ++j) {
    mRoots[static_cast<size_t>(j)] = std::polar(1.0, -2.0 * std::numbers::pi * j / kMaxSize);
  }
  mSize = size;
  mEdges = edges;
  mEdgeCount = edgeCount;
  mStageCount = 0;
  mHistoryLength = 0;
  const bool built = Build(0, size, true);
  mEdges = nullptr;
  if (!built) return false;
  for (int i = 0; i < kMaxBands; ++i) {
    auto& response = mResponses[static_cast<size_t>(i)];
    response.fill(0.0);
    std::copy_n(kFourBand84[i], kFourBandTaps, response.begin());
    Fft(response.data(), size);
  }
  return true;
}

bool WaveletPacket::IsBand(int offset, int width) const {
  const int16_t* end = mEdges + mEdgeCount;
  const int16_t* at = std::lower_bound(mEdges, end, offset);
  return at != end && *at == offset && at + 1 != end && at[1] == offset + width;
}

int WaveletPacket::WidestBand(int offset, int width) const {
  int widest = 0;
  for (int e = 0; e + 1 < mEdgeCount; ++e) {
    if (mEdges[e] >= offset && mEdges[e + 1] <= offset + width) {
      widest = std::max(widest, mEdges[e + 1] - mEdges[e]);
    }
  }
  return widest;
}

bool WaveletPacket::Build(int offset, int width, bool top) {
  if (!top && IsBand(offset, width)) return true;
  const bool four =
      top || width >= kFourBandWidth ||
      (width == kFourBandSmallWidth && WidestBand(offset, width) <= kFourBandSmallWidest);
  const int bands = four ? 4 : 2;
  const int child = width / bands;
  if (child < kNarrowestBand || mStageCount == kMaxStages) return false;
  for (int i = 0; i < bands; ++i) {
    if (!Build(offset + i * child, child, false)) return false;
  }
  Stage stage{offset, width, bands, four ? kFourBandFilter : TwoBandFilterFor(width),
              mHistoryLength};
  mHistoryLength += bands * (Taps(stage) / bands - 1);
  if (mHistoryLength > kWaveletHistoryLength) return false;
  mStages[static_cast<size_t>(mStageCount++)] = stage;
  return true;
}

int WaveletPacket::Taps(const Stage& stage) const {
  return stage.filter == kFourBandFilter ? kFourBandTaps : kTwoBandTaps[stage.filter];
}

const double* WaveletPacket::Filter(const Stage& stage, int band) const {
  if (stage.filter == kFourBandFilter) return kFourBand84[band];
  return mTwoBand[static_cast<size_t>(stage.filter)].data() + band * Taps(stage);
}

double WaveletPacket::Tap(const Stage& stage, int band, int n) const {
  return Filter(stage, band)[n];
}

void WaveletPacket::Extend(const Stage& stage, const float* values, const float* kept,
                           float* ext) const {
  const int inputs = stage.width / stage.bands;
  const int keep = Taps(stage) / stage.bands - 1;
  for (int i = 0; i < stage.bands; ++i) {
    float* band = ext + i * (keep + inputs);
    std::copy_n(kept + i * keep, keep, band);
    std::copy_n(values + stage.offset + i * inputs, inputs, band + keep);
  }
}

void WaveletPacket::AddDirect(const Stage& stage, const float* ext, int nBegin, int nEnd,
                              int kBegin, int kEnd, double* out) const {
  const int m = stage.bands;
  const int inputs = stage.width / m;
  const int keep = Taps(stage) / m - 1;
  for (int n = nBegin; n < nEnd; ++n) {
    // y[n] = sum over k of x[k] f[n - m k]: tap n % m + m t meets input
    // n / m - t.
    const int phase = n % m;
    const int tFirst = std::max(0, n / m - kEnd + 1);
    const int tLast = std::min(keep, n / m - kBegin);
    double sum = 0.0;
    for (int i = 0; i < m; ++i) {
      const float* x = ext + i * (keep + inputs) + keep + n / m;
      const double* f = Filter(stage, i) + phase;
      for (int t = tFirst; t <= tLast; ++t) sum += x[-t] * f[m * t];
    }
    out[n] += sum;
  }
}

void WaveletPacket::DirectStage(const Stage& stage, float* values, float* kept) const {
  const int inputs = stage.width / stage.bands;
  const int keep = Taps(stage) / stage.bands - 1;
  std::array<float, kMaxBands*(kMaxKept + kMaxSize / kMaxBands)> ext;
  Extend(stage, values, kept, ext.data());
  std::array<double, kMaxSize> out{};
  AddDirect(stage, ext.data(), 0, stage.width, -keep, inputs, out.data());
  for (int n = 0; n < stage.width; ++n) {
    values[stage.offset + n] = static_cast<float>(out[static_cast<size_t>(n)]);
  }
  for (int i = 0; i < stage.bands; ++i) {
    std::copy_n(ext.data() + i * (keep + inputs) + inputs, keep, kept + i * keep);
  }
}

// The current inputs but the last `keep` of every band are upsampled and
// filtered by multiplying spectra: their outputs end inside the frame, so
// the cyclic convolution equals the linear one. The kept inputs of the frame
// before and this frame's last ones reach only the frame's first and last
// `keep` x 4 samples, and are added directly.
void WaveletPacket::FastStage(const Stage& stage, float* values, float* kept) const {
  const int n = stage.width;
  const int inputs = n / kMaxBands;
  const int keep = kFourBandTaps / kMaxBands - 1;
  std::array<Complex, kMaxSize> spectrum{};
  std::array<Complex, kMaxSize / kMaxBands> band;
  for (int i = 0; i < kMaxBands; ++i) {
    const float* x = values + stage.offset + i * inputs;
    for (int k = 0; k < inputs; ++k) {
      band[static_cast<size_t>(k)] = k < inputs - keep ? x[k] : 0.0f;
    }
    Fft(band.data(), inputs);
    // Upsampling repeats the input's spectrum four times over.
    for (int k = 0; k < n; ++k) {
      spectrum[static_cast<size_t>(k)] +=
          Product(band[static_cast<size_t>(k % inputs)],
                  mResponses[static_cast<size_t>(i)][static_cast<size_t>(k)]);
    }
  }
  // The inverse transform as the conjugate of the forward one.
  for (Complex& c : spectrum) c = std::conj(c);
  Fft(spectrum.data(), n);
  std::array<double, kMaxSize> out;
  for (int k = 0; k < n; ++k)
    out[static_cast<size_t>(k)] = spectrum[static_cast<size_t>(k)].real() / n;
  std::array<float, kMaxBands*(kMaxKept + kMaxSize / kMaxBands)> ext;
  Extend(stage, values, kept, ext.data());
  AddDirect(stage, ext.data(), 0, kMaxBands * keep, -keep, 0, out.data());
  AddDirect(stage, ext.data(), n - kMaxBands * keep, n, inputs - keep, inputs, out.data());
  for (int k = 0; k < n; ++k)
    values[stage.offset + k] = static_cast<float>(out[static_cast<size_t>(k)]);
  for (int i = 0; i < kMaxBands; ++i) {
    std::copy_n(ext.data() + i * (keep + inputs) + inputs, keep, kept + i * keep);
  }
}

// An unnormalised forward DFT of n (a power of two up to 1024) values.
void WaveletPacket::Fft(Complex* x, int n) const {
  for (int i = 1, j = 0; i < n; ++i) {
    int bit = n >> 1;
    for (; (j & bit) != 0; bit >>= 1) j ^= bit;
    j |= bit;
    if (i < j) std::swap(x[i], x[j]);
  }
  for (int span = 2; span <= n; span *= 2) {
    const int step = kMaxSize / span;
    const int half = span / 2;
    for (int base = 0; base < n; base += span) {
      for (int k = 0; k < half; ++k) {
        const Complex t = Product(x[base + k + half], mRoots[static_cast<size_t>(k * step)]);
        x[base + k + half] = x[base + k] - t;
        x[base + k] += t;
      }
    }
  }
}

void WaveletPacket::Synthesise(float* values, WaveletPacketState& state) const {
  for (int s = 0; s < mStageCount; ++s) {
    const Stage& stage = mStages[static_cast<size_t>(s)];
    float* kept = state.history.data() + stage.historyAt;
    if (s == mStageCount - 1) {
      FastStage(stage, values, kept);
    } else {
      DirectStage(stage, values, kept);
    }
  }
  state.active = true;
}

}  // namespace UUPerceptualAudio
