#include "media/codecs/UUPerceptualAudioHuffman.h"

#include <gtest/gtest.h>

#include "media/codecs/UUPerceptualAudioCodebooks.h"
#include "tests/media/codecs/PerceptualAudioTestEncoder.h"

namespace {

using namespace UUPerceptualAudio;

// A chain of inner nodes whose bit-1 children are leaves: codes 1, 01,
// 001, ... and the last leaf after depth zeros.
std::vector<uint32_t> Chain(int depth) {
  std::vector<uint32_t> tree;
  for (int d = 0; d < depth; ++d) {
    tree.push_back(kInnerNode | 2);
    tree.push_back(static_cast<uint32_t>(d));
  }
  tree.push_back(0xBEEF);
  return tree;
}

TEST(UUPerceptualAudioHuffmanTest, EveryCodewordOfEveryBookDecodes) {
  const size_t kLeaves[] = {81,  81,  625, 625, 2401, 2401, 6561, 6561,
                            225, 225, 625, 625, 1681, 3969, 1089, 121};
  for (int book = 1; book <= kScaleFactorBook; ++book) {
    HuffmanDecoder decoder;
    ASSERT_TRUE(decoder.Build(CodebookTree(book))) << book;
    const auto& codes = PerceptualAudioTest::CodesOf(book);
    EXPECT_EQ(codes.size(), kLeaves[book - 1]) << book;
    PerceptualAudioTest::BitWriter writer;
    for (const auto& [leaf, code] : codes) writer.Put(code.bits, code.length);
    BitReader reader;
    reader.SetInput(writer.Bytes().data(), static_cast<uint32_t>(writer.Bytes().size()));
    for (const auto& [leaf, code] : codes) ASSERT_EQ(decoder.Decode(reader), leaf) << book;
  }
}

TEST(UUPerceptualAudioHuffmanTest, LeavesPackTheirValuesInOrder) {
  const int quad[4] = {-8, 7, 0, -1};
  const int pair[2] = {-64, 63};
  int values[4] = {};
  EXPECT_EQ(PackLeaf(1, quad), 0x870Fu);
  UnpackLeaf(1, 0x870F, values);
  EXPECT_EQ(std::vector<int>(values, values + 4), std::vector<int>(quad, quad + 4));
  EXPECT_EQ(PackLeaf(9, pair), 0x203Fu);
  UnpackLeaf(9, 0x203F, values);
  EXPECT_EQ(values[0], -64);
  EXPECT_EQ(values[1], 63);
}

TEST(UUPerceptualAudioHuffmanTest, DeepCodesContinueBitByBitUpToTheLimit) {
  const std::vector<uint32_t> deepest =
      Chain(HuffmanDecoder::kMaxLookupBits + HuffmanDecoder::kMaxExtraDepth);
  HuffmanDecoder decoder;
  ASSERT_TRUE(decoder.Build(deepest));
  const uint8_t zeros[4] = {0, 0, 0, 0x80};  // 24 zeros: the last leaf; then a 1
  BitReader reader;
  reader.SetInput(zeros, 4);
  EXPECT_EQ(decoder.Decode(reader), 0xBEEFu);
  EXPECT_EQ(decoder.Decode(reader), 0u);  // code 1

  const std::vector<uint32_t> tooDeep =
      Chain(HuffmanDecoder::kMaxLookupBits + HuffmanDecoder::kMaxExtraDepth + 1);
  EXPECT_FALSE(HuffmanDecoder().Build(tooDeep));
}

TEST(UUPerceptualAudioHuffmanTest, MalformedTreesAreRefused) {
  const std::vector<std::vector<uint32_t>> trees = {
      {kInnerNode | 1, 5},          // bit-0 child on top of the bit-1 child
      {kInnerNode | 2, 5},          // bit-0 child past the end
      {kInnerNode | 0x7FFF, 1, 2},  // far past the end
      {},
  };
  for (const auto& tree : trees) EXPECT_FALSE(HuffmanDecoder().Build(tree));
}

TEST(UUPerceptualAudioHuffmanTest, BitReaderSuppliesZerosPastTheEnd) {
  const uint8_t bytes[3] = {0xA5, 0xFF, 0x81};
  BitReader reader;
  reader.SetInput(bytes, 3);
  EXPECT_EQ(reader.Read(3), 0x5u);
  reader.AlignToByte();  // drops the rest of 0xA5
  EXPECT_EQ(reader.Read(12), 0xFF8u);
  EXPECT_FALSE(reader.IsPastEnd());
  EXPECT_EQ(reader.Read(8), 0x10u);  // 0001 then zeros
  EXPECT_TRUE(reader.IsPastEnd());
  EXPECT_EQ(reader.Read(16), 0u);
}

}  // namespace
