#include "media/codecs/UUPerceptualAudioSynthesis.h"

#include <gtest/gtest.h>

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
  std::vector<float> values(1024, 1.0f);
  EXPECT_FALSE(synthesis.WaveletSynthesis(values.data(), 256));
  EXPECT_EQ(values[0], 1.0f);
  const BlockConfig whole = MakeBlockConfig(kWavelet, 44100);
  std::vector<double> x(1024);
  for (int k = 0; k < 1024; ++k) {
    x[static_cast<size_t>(k)] = std::cos(1.3 * k);
    values[static_cast<size_t>(k)] = static_cast<float>(x[static_cast<size_t>(k)]);
  }
  ASSERT_TRUE(synthesis.WaveletSynthesis(values.data(), 1024));
  const std::vector<double> expected =
      PerceptualAudioTest::WaveletPacket(x.data(), 1024, whole.start.data(), whole.bandCount);
  for (int n = 0; n < 1024; ++n) {
    EXPECT_NEAR(values[static_cast<size_t>(n)], 512.0 * expected[static_cast<size_t>(n)], 1e-2);
  }
}

}  // namespace
