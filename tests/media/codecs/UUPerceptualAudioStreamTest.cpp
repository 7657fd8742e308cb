#include "media/codecs/UUPerceptualAudioStream.h"

#include <gtest/gtest.h>

#include <memory>

#include "foundation/uu/UUBufferedInputFromReader.h"
#include "foundation/uu/UUMemory.h"
#include "tests/media/codecs/PerceptualAudioTestSupport.h"

namespace {

using namespace PerceptualAudioTest;
using namespace UUPerceptualAudio;
using Bytes = std::vector<uint8_t>;

constexpr int kRateCode44100 = 2;
constexpr int32_t kMonoFrame = 2048;
constexpr int kFrames = 4;

class UUPerceptualAudioStreamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const Encoder encoder(44100, 1, 0);
    std::vector<FrameData> frames(kFrames);
    // The first frame is silent, so a stream that starts after it decodes
    // the rest as a stream from the start does.
    for (int f = 1; f < kFrames; ++f) {
      frames[static_cast<size_t>(f)].channels[0].q[static_cast<size_t>(20 * f)] = 5;
      frames[static_cast<size_t>(f)].channels[0].q[static_cast<size_t>(700 - f)] = -30;
      encoder.ChooseBooks(frames[static_cast<size_t>(f)], 0, 45);
    }
    mStream = encoder.EncodeStream(frames, &mSizes);
    std::vector<Bytes> calls;
    for (const FrameData& frame : frames) calls.push_back(encoder.EncodeFrame(frame));
    const Decoded decoded = DecodeCalls(44100, 1, 0, calls, {.frameFlags = kNoConcealment});
    for (int16_t sample : decoded.channels[0]) {
      mPcm.push_back(static_cast<uint8_t>(sample & 0xFF));
      mPcm.push_back(static_cast<uint8_t>(static_cast<uint16_t>(sample) >> 8));
    }
  }

  std::unique_ptr<DecompressFromBufferedInput> Open(int32_t ringSize) {
    mMemory = std::make_unique<UUMemory>(mStream.data(), static_cast<int32_t>(mStream.size()));
    mRing.assign(static_cast<size_t>(ringSize), 0);
    auto* input = new UUBufferedInputFromRandomAccessStream(*mMemory, mRing.data(), ringSize, 0,
                                                            static_cast<int32_t>(mStream.size()));
    auto stream = std::make_unique<DecompressFromBufferedInput>(
        input, kRateCode44100, false, kFrames * kMonoFrame, mSizes.data());
    EXPECT_TRUE(stream->IsGood());
    return stream;
  }

  Bytes Read(DecompressFromBufferedInput& stream, uint32_t n) {
    Bytes out(n);
    out.resize(stream.Read(out.data(), n, true));
    return out;
  }

  Bytes Expected(size_t from, size_t n) const {
    return Bytes(mPcm.begin() + static_cast<ptrdiff_t>(from),
                 mPcm.begin() + static_cast<ptrdiff_t>(from + n));
  }

  Bytes mStream;
  std::vector<uint16_t> mSizes;
  Bytes mPcm;
  std::unique_ptr<UUMemory> mMemory;
  Bytes mRing;
};

TEST_F(UUPerceptualAudioStreamTest, SmallReadsTakeFromTheFrameBuffer) {
  auto stream = Open(4096);
  EXPECT_EQ(Read(*stream, 100), Expected(0, 100));
  EXPECT_EQ(stream->GetPosition(), mSizes[0]);  // the input is past the first frame
  EXPECT_EQ(Read(*stream, 4096), Expected(100, 4096));
  EXPECT_EQ(Read(*stream, 10000), Expected(4196, mPcm.size() - 4196));
  EXPECT_TRUE(stream->AtEnd());
  EXPECT_EQ(Read(*stream, 10).size(), 0u);
}

TEST_F(UUPerceptualAudioStreamTest, WholeFramesGoStraightToTheReader) {
  auto stream = Open(4096);
  EXPECT_EQ(Read(*stream, 4096), Expected(0, 4096));
  EXPECT_EQ(stream->GetPosition(), mSizes[0] + mSizes[1]);
}

TEST_F(UUPerceptualAudioStreamTest, SeekStartsAtTheFrameAndSkipsIntoIt) {
  auto stream = Open(4096);
  EXPECT_EQ(stream->Seek(3000), 3000);
  EXPECT_EQ(stream->GetPosition(), mSizes[0]);
  EXPECT_FALSE(stream->AtEnd());
  EXPECT_EQ(Read(*stream, 1000), Expected(3000, 1000));
  EXPECT_EQ(stream->Seek(3000 + 1000), 4000);  // where the stream stands: nothing to do
  EXPECT_EQ(Read(*stream, 200), Expected(4000, 200));
  EXPECT_EQ(stream->Seek(1 << 30), kFrames * kMonoFrame);  // clamped to the end
  EXPECT_TRUE(stream->AtEnd());
}

// A ring smaller than a frame makes the stream gather each frame's bytes.
TEST_F(UUPerceptualAudioStreamTest, FramesSplitAcrossTheInputAreGathered) {
  auto stream = Open(7);
  Bytes all;
  while (!stream->AtEnd()) {
    const Bytes piece = Read(*stream, 333);
    ASSERT_FALSE(piece.empty());
    all.insert(all.end(), piece.begin(), piece.end());
  }
  EXPECT_EQ(all, mPcm);
}

}  // namespace
