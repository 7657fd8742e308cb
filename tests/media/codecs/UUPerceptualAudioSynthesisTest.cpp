#include "media/codecs/UUPerceptualAudioSynthesis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "media/codecs/UUPerceptualAudioFrame.h"
#include "tests/media/codecs/PerceptualAudioReference.h"

namespace {

using namespace UUPerceptualAudio;

TEST(UUPerceptualAudioSynthesisTest, PcmIsClippedAndRoundedToEven) {
  const struct {
    float value;
    int16_t sample;
  } cases[] = {{40000.0f, 32767}, {-40000.0f, -32768}, {2.5f, 2},           {3.5f, 4},
               {-2.5f, -2},       {32767.4f, 32767},   {-32768.0f, -32768}, {0.49f, 0},
               {NAN, -32768},     {INFINITY, 32767}};
  for (const auto& c : cases) EXPECT_EQ(ToPcm(c.value), c.sample) << c.value;
}

TEST(UUPerceptualAudioSynthesisTest, WindowsArePowerComplementary) {
  const struct {
    int32_t rate;
    bool mono;
    bool sine;
  } cases[] = {
      {44100, false, true}, {32000, false, true}, {32000, true, false}, {22050, false, false}};
  for (const auto& c : cases) {
    Synthesis synthesis;
    ASSERT_TRUE(synthesis.Create(c.rate, c.mono));
    for (int n = 0; n < 1024; ++n) {
      const double w = synthesis.LongWindow(n);
      const double mirror = synthesis.LongWindow(1023 - n);
      EXPECT_NEAR(w * w + mirror * mirror, 1.0, 1e-5) << c.rate << " " << n;
      if (c.sine) {
        EXPECT_NEAR(w, std::sin(std::numbers::pi * (n + 0.5) / 2048.0), 1e-6);
      }
    }
    for (int n = 0; n < 128; ++n) {
      const double s = synthesis.ShortWindow(n);
      const double mirror = synthesis.ShortWindow(127 - n);
      EXPECT_NEAR(s * s + mirror * mirror, 1.0, 1e-5) << n;
    }
  }
}

TEST(UUPerceptualAudioSynthesisTest, FoldedTransformOfEverySizeIsTheInverseMdct) {
  Synthesis synthesis;
  ASSERT_TRUE(synthesis.Create(44100, false));
  for (int a : {64, 256, 512}) {
    const int n = 2 * a;
    std::vector<float> x(static_cast<size_t>(n));
    std::vector<double> reference(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) {
      reference[static_cast<size_t>(k)] = std::sin(0.37 * k * k + k) * 100.0;
      x[static_cast<size_t>(k)] = static_cast<float>(reference[static_cast<size_t>(k)]);
    }
    ASSERT_TRUE(synthesis.Fold(x.data(), a));
    const std::vector<double> y = PerceptualAudioTest::InverseMdct(reference.data(), n);
    for (int i = 0; i < a; ++i) {
      EXPECT_NEAR(x[static_cast<size_t>(a + i)], y[static_cast<size_t>(i)], 0.05) << a << " " << i;
      EXPECT_NEAR(x[static_cast<size_t>(a - 1 - i)], -y[static_cast<size_t>(n + i)], 0.05);
    }
  }
}

TEST(UUPerceptualAudioSynthesisTest, TheFoldedTransformRefusesOtherSizes) {
  Synthesis synthesis;
  ASSERT_TRUE(synthesis.Create(44100, false));
  std::vector<float> values(2048, 1.0f);
  for (int a : {1024, 128, 0}) EXPECT_FALSE(synthesis.Fold(values.data(), a)) << a;
  EXPECT_EQ(values, std::vector<float>(2048, 1.0f));
}

TEST(UUPerceptualAudioSynthesisTest, WaveletSynthesisServesOnlyItsTwoSizes) {
  Synthesis synthesis;
  ASSERT_TRUE(synthesis.Create(44100, false));
  ChannelState state;
  std::vector<float> values(1024, 1.0f);
  EXPECT_FALSE(synthesis.WaveletSynthesis(values.data(), 256, state));
  EXPECT_EQ(values, std::vector<float>(1024, 1.0f));
  EXPECT_FALSE(state.packets[0].active || state.packets[1].active);
}

// Both band layouts (up to 40000 Hz and above) at both sizes.
struct PacketCase {
  int32_t rate;
  int size;
};
constexpr PacketCase kPacketCases[] = {{22050, 1024}, {22050, 512}, {44100, 1024}, {44100, 512}};

// Frame after frame through the decoder's synthesis with one state;
// `fresh` starts every frame from a new state instead.
std::vector<double> SynthesiseFrames(const Synthesis& synthesis, int size,
                                     const std::vector<double>& coefficients, bool fresh = false) {
  ChannelState state;
  std::vector<double> samples;
  std::vector<float> frame(static_cast<size_t>(size));
  for (size_t at = 0; at < coefficients.size(); at += static_cast<size_t>(size)) {
    if (fresh) state = {};
    std::copy_n(coefficients.begin() + static_cast<long>(at), size, frame.begin());
    EXPECT_TRUE(synthesis.WaveletSynthesis(frame.data(), size, state));
    for (float v : frame) samples.push_back(v / 512.0);
  }
  return samples;
}

double LargestDifference(const std::vector<double>& a, const std::vector<double>& b) {
  double largest = 0.0;
  for (size_t i = 0; i < a.size(); ++i) largest = std::max(largest, std::abs(a[i] - b[i]));
  return largest;
}

TEST(UUPerceptualAudioSynthesisTest, PacketAnalysisThenSynthesisGivesTheSignalBack) {
  for (const PacketCase& c : kPacketCases) {
    Synthesis synthesis;
    ASSERT_TRUE(synthesis.Create(c.rate, false));
    const auto tree = PerceptualAudioTest::PacketTree(c.size, c.rate);
    ASSERT_NE(tree, nullptr);
    // Six frames, silent but for two frames' worth from the middle of the
    // third, so the signal crosses two frame boundaries and the analysis
    // has room on either side.
    const int frames = 6;
    std::vector<double> signal(static_cast<size_t>(frames * c.size), 0.0);
    for (int t = 5 * c.size / 2; t < 9 * c.size / 2; ++t) {
      signal[static_cast<size_t>(t)] =
          100.0 * std::sin(0.05 * t) + 40.0 * std::cos(2.9 * t) + 30.0 * std::sin(0.0007 * t * t);
    }
    const std::vector<double> coefficients = PerceptualAudioTest::PacketAnalysis(*tree, signal);
    EXPECT_LT(LargestDifference(SynthesiseFrames(synthesis, c.size, coefficients), signal), 0.01)
        << c.rate << " " << c.size;
    // Without the state the frames after the first do not join up.
    EXPECT_GT(LargestDifference(SynthesiseFrames(synthesis, c.size, coefficients, true), signal),
              10.0);
  }
}

TEST(UUPerceptualAudioSynthesisTest, FastConvolutionEqualsDirectFiltering) {
  for (const PacketCase& c : kPacketCases) {
    Synthesis synthesis;
    ASSERT_TRUE(synthesis.Create(c.rate, false));
    const auto tree = PerceptualAudioTest::PacketTree(c.size, c.rate);
    ASSERT_NE(tree, nullptr);
    std::vector<double> coefficients(static_cast<size_t>(3 * c.size));
    for (size_t k = 0; k < coefficients.size(); ++k) {
      coefficients[k] = 100.0 * std::sin(0.37 * static_cast<double>(k * k) + 1.0);
    }
    const std::vector<double> direct = PerceptualAudioTest::PacketSynthesis(*tree, coefficients);
    EXPECT_LT(LargestDifference(SynthesiseFrames(synthesis, c.size, coefficients), direct), 0.01)
        << c.rate << " " << c.size;
  }
}

TEST(UUPerceptualAudioSynthesisTest, AFrameWithoutATreeClearsItsState) {
  Synthesis synthesis;
  ASSERT_TRUE(synthesis.Create(44100, false));
  ChannelState state;
  std::vector<float> spectrum(1024, 3.0f);
  std::vector<float> output(1024);
  ASSERT_TRUE(synthesis.Synthesise(kWavelet, spectrum.data(), state, output.data()));
  std::fill(spectrum.begin(), spectrum.end(), 3.0f);
  ASSERT_TRUE(synthesis.Synthesise(kWaveletThenTransform, spectrum.data(), state, output.data()));
  EXPECT_FALSE(state.packets[0].active);
  EXPECT_TRUE(state.packets[1].active);
  EXPECT_NE(std::count(state.packets[1].history.begin(), state.packets[1].history.end(), 0.0f),
            kWaveletHistoryLength);
  std::fill(spectrum.begin(), spectrum.end(), 3.0f);
  ASSERT_TRUE(synthesis.Synthesise(kLongShortTransitions, spectrum.data(), state, output.data()));
  for (const WaveletPacketState& packet : state.packets) {
    EXPECT_FALSE(packet.active);
    EXPECT_EQ(std::count(packet.history.begin(), packet.history.end(), 0.0f),
              kWaveletHistoryLength);
  }
}

}  // namespace
