#include "media/sound/MMSoundEnvelope.h"

#include "foundation/uu/UUArrayBlock.h"
#include "foundation/uu/UUMemory.h"
#include "tests/media/sound/SoundTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using sound_fixtures::Pcm;

struct Computed {
  bool ok;
  std::vector<int8_t> values;
};

Computed Compute(Pcm pcm, int32_t rateShift, bool is16Bit, int32_t channelShift,
                 UUByteOrder order = kUUNativeByteOrder) {
  UUMemory reader(pcm.data(), static_cast<int32_t>(pcm.size()));
  reader.SetByteOrder(order);
  std::vector<int8_t> out(pcm.size() / 441 + 1);
  UUMemory writer(out.data(), static_cast<int32_t>(out.size()));
  int32_t count = -1;
  const bool ok = MMComputeSoundEnvelope(reader, static_cast<uint32_t>(pcm.size()), rateShift,
                                         is16Bit, channelShift, writer, &count);
  out.resize(static_cast<size_t>(count));
  return {ok, out};
}

MMSoundEnvelope Make(const std::vector<int8_t>& values) {
  auto* block =
      static_cast<int8_t*>(UUAllocateArrayBlock(values.size(), ALGlobalAllocator, kALMustSucceed));
  std::copy(values.begin(), values.end(), block);
  return MMSoundEnvelope(block, static_cast<int32_t>(values.size()), 1);
}

TEST(MMComputeSoundEnvelopeTest, EightBitValuesAreTheMeanDistanceFromSilence) {
  EXPECT_EQ(Compute(Pcm(1000, 0x80), 0, false, 0).values, (std::vector<int8_t>{0, 0, 0}));
  Pcm alternating(441);
  for (size_t k = 0; k < alternating.size(); k += 2) alternating[k] = 0xFF;
  // 221 bytes of 127 and 220 of 128.
  EXPECT_EQ(Compute(alternating, 0, false, 0).values,
            (std::vector<int8_t>{(221 * 127 + 220 * 128) / 441}));
  Pcm pair = {0x00, 0xFF};
  EXPECT_EQ(Compute(pair, 0, false, 0).values, (std::vector<int8_t>{127}));
  EXPECT_EQ(Compute(Pcm(441, 0x00), 0, false, 0).values, (std::vector<int8_t>{127}));
}

TEST(MMComputeSoundEnvelopeTest, SixteenBitValuesTakeTheLastShortPeriodOnItsOwn) {
  const Pcm constant = sound_fixtures::Samples16(1000, [](int32_t) { return 1000; });
  const Computed computed = Compute(constant, 0, true, 0);
  EXPECT_TRUE(computed.ok);
  EXPECT_EQ(computed.values, (std::vector<int8_t>{3, 3, 3}));
}

TEST(MMComputeSoundEnvelopeTest, PeriodsFollowTheRateAndChannelShifts) {
  // 3528 samples: one period at 44100 Hz stereo, eight at 11025 Hz mono.
  Pcm loud = sound_fixtures::Samples16(3528, [](int32_t k) { return k < 441 ? -32768 : 0; });
  EXPECT_EQ(Compute(loud, 2, true, 1).values, (std::vector<int8_t>{16}));
  EXPECT_EQ(Compute(loud, 0, true, 0).values.size(), 8u);
  EXPECT_EQ(Compute(loud, 0, true, 0).values[0], 127);  // the loudest, never negative
  EXPECT_FALSE(Compute(loud, 2, true, 2).ok);
  EXPECT_FALSE(Compute(loud, -1, true, 0).ok);
}

TEST(MMComputeSoundEnvelopeTest, SamplesAreReadInTheStreamsByteOrder) {
  const Pcm bigEndian = {0x03, 0xE8, 0xFC, 0x18};  // 1000, -1000
  EXPECT_EQ(Compute(bigEndian, 0, true, 0, kUUSwappedByteOrder).values, (std::vector<int8_t>{3}));
}

TEST(MMComputeSoundEnvelopeTest, NothingToReadWritesNothing) {
  EXPECT_TRUE(Compute(Pcm{}, 0, false, 0).values.empty());
  EXPECT_TRUE(Compute(Pcm{0x12}, 0, true, 0).values.empty());
}

TEST(MMSoundEnvelopeTest, ValueAtATimeCoversItsFortyMilliseconds) {
  const MMSoundEnvelope envelope = Make({5, 9, -3});
  EXPECT_EQ(envelope.GetValue(0), 5);
  EXPECT_EQ(envelope.GetValue(-1), 5);  // -1 / 40 is period 0
  EXPECT_EQ(envelope.GetValue(-40), 0);
  EXPECT_EQ(envelope.GetValue(79), 9);
  EXPECT_EQ(envelope.GetValue(119), -3);
  EXPECT_EQ(envelope.GetValue(120), 0);
  EXPECT_EQ(MMSoundEnvelope().GetValue(0), 0);
}

TEST(MMSoundEnvelopeTest, CopiesOwnTheirValues) {
  MMSoundEnvelope copy;
  {
    const MMSoundEnvelope original = Make({1, 2});
    copy = original;
    const MMSoundEnvelope constructed(original);
    EXPECT_EQ(constructed.GetValue(40), 2);
  }
  EXPECT_EQ(copy.GetCount(), 2);
  EXPECT_EQ(copy.GetValue(40), 2);
  EXPECT_EQ(copy.GetWord(), 1);
  copy = MMSoundEnvelope();
  EXPECT_TRUE(copy.IsEmpty());
  EXPECT_EQ(copy.GetValue(0), 0);
  const MMSoundEnvelope& self = copy;
  copy = self;
  EXPECT_TRUE(copy.IsEmpty());
}

}  // namespace
