#include "foundation/uu/UUBufferedInputFromReader.h"
#include "foundation/uu/UUInputStream.h"
#include "foundation/uu/UUMemory.h"

#include "RecordingMemory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numeric>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Counting(size_t n) {
  Bytes bytes(n);
  std::iota(bytes.begin(), bytes.end(), uint8_t{0});
  return bytes;
}

TEST(UUInputStreamTest, ReaderSourceOffersRingSizedSpansFromTheRingStart) {
  Bytes bytes = Counting(10000);
  UUMemory source(bytes.data(), 10000);
  Bytes ring(4096);
  UUBufferedInputFromReader input(source, ring.data(), 4096, 10000);
  std::vector<int32_t> spans;
  while (!input.AtEnd()) {
    const uint8_t* span = nullptr;
    const int32_t n = input.Peek(&span);
    EXPECT_EQ(span, ring.data());
    EXPECT_EQ(span[0], static_cast<uint8_t>(input.GetPosition()));
    spans.push_back(n);
    input.Consume(n);
  }
  EXPECT_EQ(spans, (std::vector<int32_t>{4096, 4096, 1808}));
}

TEST(UUInputStreamTest, FailedReadEndsTheReaderSource) {
  Bytes bytes = Counting(10);
  UUMemory source(bytes.data(), 10);
  Bytes ring(8);
  auto* input = new UUBufferedInputFromReader(source, ring.data(), 8, 100);
  UUInputFromBufferedInput stream(input);
  Bytes out(100);
  EXPECT_EQ(stream.Read(out.data(), 100, true), 8u);
  EXPECT_TRUE(stream.AtEnd());
  EXPECT_EQ(source.GetError(), kUUErrorMemoryOverrun);
}

TEST(UUInputStreamTest, RandomAccessSourceSeeksWithinItsRegion) {
  Bytes bytes = Counting(200);
  RecordingMemory source(bytes);
  Bytes ring(16);
  UUInputFromBufferedInput stream(
      new UUBufferedInputFromRandomAccessStream(source, ring.data(), 16, 100, 50));
  uint8_t out[4];
  EXPECT_EQ(stream.Read(out, 2, true), 2u);
  EXPECT_EQ(out[0], 100);
  EXPECT_EQ(stream.Seek(37), 37);
  EXPECT_EQ(stream.Read(out, 4, true), 4u);
  EXPECT_EQ(out[0], 137);
  EXPECT_EQ(source.mReads.back(), 16u);  // the chunk 32..47 of the region
  EXPECT_EQ(stream.Seek(1000), 50);
  EXPECT_TRUE(stream.AtEnd());
  EXPECT_EQ(stream.Read(out, 4, true), 0u);
}

TEST(UUInputStreamTest, FiltersCopySwapAndExpand) {
  Bytes bytes = {1, 2, 3, 4, 5};
  UUMemory source(bytes.data(), 5);
  Bytes ring(16);
  UUSwapWordsFromBufferedInput swapped(new UUBufferedInputFromReader(source, ring.data(), 16, 5));
  uint8_t out[8] = {};
  EXPECT_EQ(swapped.Read(out, 0, true), 0u);
  EXPECT_EQ(swapped.GetPosition(), 0);
  EXPECT_EQ(swapped.Read(out, 8, true), 4u);  // the odd last byte is never delivered
  EXPECT_EQ(Bytes(out, out + 4), (Bytes{2, 1, 4, 3}));
  EXPECT_EQ(swapped.Read(out, 8, true), 0u);

  Bytes codes = {0, 120, 127, 248, 5};
  UUMemory codeSource(codes.data(), 5);
  UUSoundBytesUncompressFromBufferedInput expanded(
      new UUBufferedInputFromReader(codeSource, ring.data(), 4, 5), 1);
  int16_t samples[5] = {};
  EXPECT_EQ(expanded.Read(samples, 9, true), 8u);  // whole samples only
  EXPECT_EQ(expanded.Read(samples + 4, 2, true), 2u);
  EXPECT_EQ(std::vector<int16_t>(samples, samples + 5), (std::vector<int16_t>{1, 1, 8, 0, 120}));
  EXPECT_EQ(expanded.GetPosition(), 5);
}

// A ring of an odd size hands the codes over in odd runs: left and right
// stay where they belong.
TEST(UUInputStreamTest, StereoExpansionThroughAnOddRingKeepsItsChannels) {
  Bytes codes = {5, 10, 127, 127, 120, 127, 127, 120, 127, 127, 120, 127};
  std::vector<int16_t> expected(codes.size());
  UUSoundBytesDecoder whole(2);
  whole.Decode(codes.data(), static_cast<uint32_t>(codes.size()), expected.data());
  UUMemory source(codes.data(), static_cast<int32_t>(codes.size()));
  Bytes ring(5);
  UUSoundBytesUncompressFromBufferedInput expanded(
      new UUBufferedInputFromReader(source, ring.data(), 5, static_cast<int32_t>(codes.size())), 2);
  std::vector<int16_t> samples(codes.size());
  uint32_t got = 0;
  while (!expanded.AtEnd()) got += expanded.Read(samples.data() + got / 2, 64, true);
  EXPECT_EQ(got, 2 * codes.size());
  EXPECT_EQ(samples, expected);
}

// A ring of an odd size splits a 16-bit word at its end: the word goes on
// whole, with or without waiting, and the position counts what went out.
TEST(UUInputStreamTest, SwappedWordsSplitByAnOddRingArriveWhole) {
  Bytes bytes = Counting(12);
  UUMemory source(bytes.data(), 12);
  Bytes ring(5);
  UUSwapWordsFromBufferedInput swapped(new UUBufferedInputFromReader(source, ring.data(), 5, 12));
  Bytes out(12);
  EXPECT_EQ(swapped.Read(out.data(), 3, true), 2u);
  EXPECT_EQ(swapped.GetPosition(), 2);
  uint32_t got = 2;
  for (int reads = 0; !swapped.AtEnd() && reads < 12; ++reads) {
    got += swapped.Read(out.data() + got, 12 - got, reads % 2 == 0);
  }
  EXPECT_EQ(got, 12u);
  EXPECT_EQ(out, (Bytes{1, 0, 3, 2, 5, 4, 7, 6, 9, 8, 11, 10}));
  EXPECT_EQ(swapped.GetPosition(), 12);
}

TEST(UUInputStreamTest, CompressAndCopyToRoundTripThroughTheCodec) {
  std::vector<int16_t> samples = {0, 100, 200, -300, 5000, 4990};
  Bytes pcm(samples.size() * 2 + 1);  // one stray byte at the end
  std::memcpy(pcm.data(), samples.data(), samples.size() * 2);
  UUMemory source(pcm.data(), static_cast<int32_t>(pcm.size()));
  Bytes ring(4);
  UUSoundBytesCompressFromBufferedInput compressed(
      new UUBufferedInputFromReader(source, ring.data(), 4, static_cast<int32_t>(pcm.size())), 1);
  Bytes codes(16);
  UUMemory sink(codes.data(), 16);
  EXPECT_TRUE(compressed.CopyTo(sink));
  int32_t written = 0;
  sink.Tell(&written);
  EXPECT_EQ(written, 6);
  EXPECT_EQ(codes[0], 248);
  EXPECT_EQ(codes[1], 92);
}

}  // namespace
