#pragma once
// The wavelet-packet synthesis of one band layout: a fixed tree of two-band
// and four-band synthesis stages (upsampling, then FIR filtering) that turns
// the coefficients of the layout's bands into samples, from the finest bands
// upwards. Every stage keeps its last inputs, so the filters run on across
// frames; the top four-band stage works by fast convolution.

#include <array>
#include <complex>
#include <cstdint>

namespace UUPerceptualAudio {

constexpr int kWaveletHistoryLength = 4096;

// The inputs every stage of one tree keeps from the frame before.
struct WaveletPacketState {
  std::array<float, kWaveletHistoryLength> history{};
  bool active = false;  // whether the history holds anything
};

class WaveletPacket {
 public:
  struct Stage {
    int offset;     // first value of the stage's output and of its inputs
    int width;      // output values; each of the `bands` inputs has width / bands
    int bands;      // 2 or 4
    int filter;     // index into the filter banks
    int historyAt;  // this stage's kept inputs: bands x (taps / bands - 1) values
  };
  static constexpr int kMaxStages = 96;
  static constexpr int kMaxSize = 1024;

  // Builds the tree of a layout of `size` values (512 or 1024) from its band
  // starts and end (`edges`, edgeCount values); false when the size is
  // another or the layout cannot be built from the stages.
  bool Create(int size, const int16_t* edges, int edgeCount);

  // In place: the layout's coefficients become `size` samples, the stages
  // filtering on from the state, which keeps this frame's last inputs.
  void Synthesise(float* values, WaveletPacketState& state) const;

  int Size() const { return mSize; }
  int StageCount() const { return mStageCount; }
  // The stages in the order they run (children before their parent; the
  // last is the top stage).
  const Stage& StageAt(int s) const { return mStages[static_cast<size_t>(s)]; }
  int Taps(const Stage& stage) const;
  // Tap n of the synthesis filter of input band i of a stage.
  double Tap(const Stage& stage, int band, int n) const;

 private:
  using Complex = std::complex<double>;
  static constexpr int kMaxBands = 4;
  static constexpr int kMaxKept = 20;  // inputs a band keeps: taps / bands - 1

  bool Build(int offset, int width, bool top);
  // The taps of the synthesis filter of input band i of a stage.
  const double* Filter(const Stage& stage, int band) const;
  bool IsBand(int offset, int width) const;
  int WidestBand(int offset, int width) const;
  // Copies the stage's kept inputs, then its current inputs, into ext
  // (per band: kept values then width / bands current values).
  void Extend(const Stage& stage, const float* values, const float* kept, float* ext) const;
  // Adds to out[n] (n in [nBegin, nEnd)) the filtered inputs k of every band
  // with k in [kBegin, kEnd), k counted from the first current input.
  void AddDirect(const Stage& stage, const float* ext, int nBegin, int nEnd, int kBegin, int kEnd,
                 double* out) const;
  void DirectStage(const Stage& stage, float* values, float* kept) const;
  void FastStage(const Stage& stage, float* values, float* kept) const;
  void Fft(Complex* x, int n) const;

  int mSize = 0;
  const int16_t* mEdges = nullptr;
  int mEdgeCount = 0;
  std::array<Stage, kMaxStages> mStages{};
  int mStageCount = 0;
  int mHistoryLength = 0;
  // Two-band banks of 10, 20 and 40 taps (low-pass then high-pass).
  std::array<std::array<double, 80>, 3> mTwoBand{};
  // e^(-2 pi i j / 1024), j < 512.
  std::array<Complex, kMaxSize / 2> mRoots{};
  // The top stage's filters' frequency responses at `size` points.
  std::array<std::array<Complex, kMaxSize>, kMaxBands> mResponses{};
};

}  // namespace UUPerceptualAudio
