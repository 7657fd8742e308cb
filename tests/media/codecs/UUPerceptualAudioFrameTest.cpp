#include "media/codecs/UUPerceptualAudioFrame.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/media/codecs/PerceptualAudioReference.h"
#include "tests/media/codecs/PerceptualAudioTestEncoder.h"

namespace {

using namespace UUPerceptualAudio;
using PerceptualAudioTest::BitWriter;

constexpr int32_t kRate = 44100;

class UUPerceptualAudioFrameTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(mParser->Create(kRate)); }

  bool Parse(const std::vector<uint8_t>& bytes, int channels = 1) {
    BitReader reader;
    reader.SetInput(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return mParser->Parse(reader, channels, false, *mFrame);
  }

  // A mono long frame header: reserved bit, block type 0, no mid/side.
  static BitWriter LongHeader() {
    BitWriter writer;
    writer.Put(0, 1 + 3 + 1);
    return writer;
  }

  // A section of the book over length bands (5-bit length fields).
  static void PutSection(BitWriter& writer, int book, int length) {
    writer.Put(static_cast<uint32_t>(book), 4);
    for (; length >= 31; length -= 31) writer.Put(31, 5);
    writer.Put(static_cast<uint32_t>(length), 5);
  }

  static void PutCode(BitWriter& writer, int book, std::initializer_list<int> values) {
    PerceptualAudioTest::PutCodeword(writer, book, PackLeaf(book, std::data(values)));
  }

  std::unique_ptr<FrameParser> mParser = std::make_unique<FrameParser>();
  std::unique_ptr<Frame> mFrame = std::make_unique<Frame>();
};

TEST_F(UUPerceptualAudioFrameTest, BandLayoutsOfEveryBlockType) {
  const struct {
    int type;
    int32_t rate;
    int bands;
  } cases[] = {
      {kLong, kRate, 49},
      {kLongStart, kRate, 49},
      {kLongStop, kRate, 49},
      {kEightShort, kRate, 112},
      {kWavelet, 22050, 88},
      {kWavelet, kRate, 80},
      {kWaveletThenTransform, 22050, 79},
      {kWaveletThenTransform, kRate, 75},
      {kTransformThenWavelet, 22050, 79},
      {kTransformThenWavelet, kRate, 75},
      {kLongShortTransitions, kRate, 49},
  };
  for (const auto& c : cases) {
    const BlockConfig config = MakeBlockConfig(c.type, c.rate);
    EXPECT_EQ(config.bandCount, c.bands) << c.type << " at " << c.rate;
    EXPECT_EQ(config.start[static_cast<size_t>(c.bands)], kFrameLength) << c.type;
    for (int b = 0; b < c.bands; ++b) {
      EXPECT_LT(config.start[static_cast<size_t>(b)], config.start[static_cast<size_t>(b + 1)]);
      EXPECT_EQ(config.start[static_cast<size_t>(b)] % 4, 0);
    }
  }
  EXPECT_EQ(MakeBlockConfig(kEightShort, kRate).start[14], 128);
  EXPECT_EQ(MakeBlockConfig(kTransformThenWavelet, kRate).start[35], 512);
}

TEST_F(UUPerceptualAudioFrameTest, GainTable) {
  const struct {
    int scaleFactor;
    float gain;
  } cases[] = {{0, 0.5f}, {1, 0.625f}, {3, 1.0f}, {20, 50.0f}, {96, 1990535853.0f}};
  for (const auto& c : cases) EXPECT_EQ(mParser->Gain(c.scaleFactor), c.gain) << c.scaleFactor;
  for (int i = 0; i <= kMaxScaleFactor; ++i) {
    EXPECT_FLOAT_EQ(mParser->Gain(i), static_cast<float>(PerceptualAudioTest::ReferenceGain(i)));
  }
}

// Book 15 codes +-16 as escapes: N ones, a zero, then N + 4 bits added to
// 2^(N + 4).
TEST_F(UUPerceptualAudioFrameTest, EscapesOfBook15) {
  BitWriter writer = LongHeader();
  PutSection(writer, kEscapeBook, 1);
  PutSection(writer, 0, 48);
  writer.Put(3, kScaleFactorBits);  // gain 1
  PutCode(writer, kEscapeBook, {16, 0});
  writer.Put(0b00101, 5);  // no ones, then 0101: 16 + 5
  PutCode(writer, kEscapeBook, {3, -16});
  writer.Put(0b1000000, 7);  // one 1, then 00000: 32
  writer.AlignToByte();
  ASSERT_TRUE(Parse(writer.Bytes()));
  EXPECT_FLOAT_EQ(mFrame->spectrum[0][0], std::pow(21.0f, 1.5f));
  EXPECT_FLOAT_EQ(mFrame->spectrum[0][1], 0.0f);
  EXPECT_FLOAT_EQ(mFrame->spectrum[0][2], std::pow(3.0f, 1.5f));
  EXPECT_FLOAT_EQ(mFrame->spectrum[0][3], -std::pow(32.0f, 1.5f));
  EXPECT_FLOAT_EQ(mFrame->spectrum[0][4], 0.0f);
}

TEST_F(UUPerceptualAudioFrameTest, AnEscapeRunPastItsLimitFailsTheFrame) {
  BitWriter writer = LongHeader();
  PutSection(writer, kEscapeBook, 1);
  PutSection(writer, 0, 48);
  writer.Put(3, kScaleFactorBits);
  PutCode(writer, kEscapeBook, {16, 0});
  writer.Put(0xFFFF, 16);  // sixteen ones
  EXPECT_FALSE(Parse(writer.Bytes()));
}

TEST_F(UUPerceptualAudioFrameTest, SectionsMustCoverTheBandsExactly) {
  const struct {
    const char* name;
    std::vector<std::pair<int, int>> sections;  // book, length
    bool good;
  } cases[] = {
      {"49 bands", {{0, 49}}, true},
      {"31 and 18", {{0, 31}, {0, 18}}, true},
      {"48 then past the end", {{0, 48}, {0, 2}}, false},
      {"empty sections forever", {{0, 48}}, false},  // zeros follow: zero-length sections
  };
  for (const auto& c : cases) {
    BitWriter writer = LongHeader();
    for (const auto& [book, length] : c.sections) PutSection(writer, book, length);
    writer.AlignToByte();
    EXPECT_EQ(Parse(writer.Bytes()), c.good) << c.name;
  }
}

TEST_F(UUPerceptualAudioFrameTest, ScaleFactorsStayWithin0To96) {
  const struct {
    int first;
    int difference;  // of the second coded band
    bool good;
  } cases[] = {{96, 0, true},  {100, 0, false}, {90, 6, true},
               {90, 7, false}, {5, -5, true},   {5, -6, false}};
  for (const auto& c : cases) {
    BitWriter writer = LongHeader();
    PutSection(writer, 1, 2);
    PutSection(writer, 0, 47);
    writer.Put(static_cast<uint32_t>(c.first), kScaleFactorBits);
    PerceptualAudioTest::PutCodeword(writer, kScaleFactorBook,
                                     static_cast<uint32_t>(c.difference + kScaleFactorBias));
    for (int i = 0; i < 2; ++i) PutCode(writer, 1, {0, 0, 0, 0});
    writer.AlignToByte();
    EXPECT_EQ(Parse(writer.Bytes()), c.good) << c.first << " " << c.difference;
  }
}

TEST_F(UUPerceptualAudioFrameTest, GroupingBitsOfShortBlocks) {
  const struct {
    uint32_t bits;
    std::vector<int> ends;
  } cases[] = {{0x7F, {8}}, {0x00, {1, 2, 3, 4, 5, 6, 7, 8}}, {0b1010011, {2, 4, 5, 8}}};
  for (const auto& c : cases) {
    BitWriter sections;
    sections.Put(0, 1);
    sections.Put(kEightShort, 3);
    sections.Put(c.bits, 7);
    sections.Put(0, 1);
    sections.Put(0, 4);  // one section of book 0 over 112 = 16 x 7 bands
    for (int i = 0; i < 16; ++i) sections.Put(7, 3);
    sections.Put(0, 3);
    sections.AlignToByte();
    ASSERT_TRUE(Parse(sections.Bytes()));
    EXPECT_EQ(
        std::vector<int>(mFrame->groupEnd.begin(), mFrame->groupEnd.begin() + mFrame->groupCount),
        c.ends);
  }
}

}  // namespace
