#include "foundation/uu/UUSoundBytes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

std::vector<int16_t> Decode(UUSoundBytesDecoder& decoder, std::vector<uint8_t> codes) {
  std::vector<int16_t> samples(codes.size());
  decoder.Decode(codes.data(), static_cast<uint32_t>(codes.size()), samples.data());
  return samples;
}

TEST(UUSoundBytesTest, TableHasLevelsDeltasAndNegatives) {
  EXPECT_EQ(UUSoundByteTable[0], 1);
  EXPECT_EQ(UUSoundByteTable[47], 30826);
  EXPECT_EQ(UUSoundByteTable[48], 2048);
  EXPECT_EQ(UUSoundByteTable[55], 3840);
  EXPECT_EQ(UUSoundByteTable[112], 8);
  EXPECT_EQ(UUSoundByteTable[119], 15);
  EXPECT_EQ(UUSoundByteTable[127], 7);
  EXPECT_EQ(UUSoundByteTable[128], -1);
  EXPECT_EQ(UUSoundByteTable[248], 0);
}

TEST(UUSoundBytesTest, DecodesAbsoluteAndDeltaCodesWithWrapAround) {
  UUSoundBytesDecoder mono(1);
  EXPECT_EQ(Decode(mono, {0, 120, 127, 248}), (std::vector<int16_t>{1, 1, 8, 0}));
  EXPECT_EQ(Decode(mono, {128}), std::vector<int16_t>{-1});
  EXPECT_EQ(Decode(mono, {47, 47 + 128 + 0}), (std::vector<int16_t>{30826, -30826}));

  UUSoundBytesDecoder wrap(1);
  Decode(wrap, {47});  // 30826
  Decode(wrap, {55});  // + 3840 wraps in 16 bits
  EXPECT_EQ(Decode(wrap, {120}), std::vector<int16_t>{static_cast<int16_t>(30826 + 3840 - 65536)});
}

TEST(UUSoundBytesTest, StereoChannelsAlternateAcrossCalls) {
  UUSoundBytesDecoder stereo(2);
  EXPECT_EQ(Decode(stereo, {5, 10, 127}), (std::vector<int16_t>{120, 603, 127}));
  // The next call goes on with the right channel.
  EXPECT_EQ(Decode(stereo, {120, 120, 127}), (std::vector<int16_t>{603, 127, 610}));
  stereo.Reset(1);
  EXPECT_EQ(Decode(stereo, {120, 5}), (std::vector<int16_t>{0, 120}));
}

TEST(UUSoundBytesTest, StereoEncodingInOddRunsMatchesOneRun) {
  const std::vector<int16_t> samples = {100, -2000, 150, -1990, 4000, 30, 4100, 60, -50};
  UUSoundBytesEncoder whole(2);
  std::vector<uint8_t> expected(samples.size());
  whole.Encode(samples.data(), static_cast<uint32_t>(samples.size()), expected.data());
  UUSoundBytesEncoder runs(2);
  std::vector<uint8_t> codes(samples.size());
  for (uint32_t at = 0; at < samples.size(); at += 3)
    runs.Encode(samples.data() + at, 3, codes.data() + at);
  EXPECT_EQ(codes, expected);
}

TEST(UUSoundBytesTest, EncoderChoosesTheNearerCandidateAndTiesTakeTheAbsolute) {
  struct Case {
    std::vector<int16_t> samples;
    std::vector<uint8_t> codes;
  } cases[] = {
      {{0}, {248}},
      {{100}, {92}},
      {{-1}, {128}},
      {{32767}, {47}},
      {{-32768}, {47 | 0x80}},
      {{0, 5000}, {248, 23}},  // a jump over 4095 is always absolute
  };
  for (const Case& c : cases) {
    UUSoundBytesEncoder encoder(1);
    std::vector<uint8_t> codes(c.samples.size());
    encoder.Encode(c.samples.data(), static_cast<uint32_t>(codes.size()), codes.data());
    EXPECT_EQ(codes, c.codes) << c.samples.back();
  }
}

TEST(UUSoundBytesTest, EncodedSignalDecodesCloseToTheOriginal) {
  std::vector<int16_t> samples;
  for (int i = 0; i < 2000; ++i) samples.push_back(static_cast<int16_t>((i * 37) % 4000 - 2000));
  std::vector<uint8_t> codes(samples.size());
  UUSoundBytesEncoder(2).Encode(samples.data(), 2000, codes.data());
  std::vector<int16_t> back(samples.size());
  UUSoundBytesDecoder(2).Decode(codes.data(), 2000, back.data());
  for (size_t i = 0; i < samples.size(); ++i) {
    ASSERT_LE(std::abs(back[i] - samples[i]), 600) << i;
  }
}

}  // namespace
