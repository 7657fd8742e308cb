#include "mm3d/MM3DIndexedMeshVertexData.h"

#include "tests/mm3d/MM3DStreams.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr MM3DVector kNoNormal(0, 0, 0, 0);
constexpr MM3DPackedColor kNoColor{0, 0, 0, 0};

// Three vertices with every array filled and setCount coordinate sets.
void FillTriangle(MM3DIndexedMeshVertexData& data, int32_t setCount) {
  for (int i = 0; i < 3; ++i) {
    const auto f = static_cast<float>(i);
    MM3DTextureCoordinate uv[2] = {{0.5f * f, 1.0f}, {2.0f, 0.25f * f}};
    data.AddVertex(MM3DVector(float(i), 2, 3, 1), true, MM3DVector(0, 0, 1, 0), true,
                   MM3DPackedColor{uint8_t(10 * i), 200, 7, 255}, setCount, uv);
  }
}

std::vector<uint8_t> Written(const MM3DIndexedMeshVertexData& data) {
  ByteWriter writer;
  EXPECT_TRUE(data.Write(writer));
  return writer.mBytes;
}

void ExpectSame(const MM3DIndexedMeshVertexData& a, const MM3DIndexedMeshVertexData& b) {
  EXPECT_EQ(Written(a), Written(b));
}

}  // namespace

TEST(MM3DIndexedMeshVertexDataTest, RecordsRoundTripWithExactCapacityAndOnlyNonEmptySets) {
  struct Case {
    int32_t setCount;
    size_t size;
  };
  // Counts: 5 x 4 bytes; indices 3 x 2; positions and normals 3 x 16 each;
  // colours 3 x 4; each set 4 + 3 x 8.
  for (Case c : {Case{0, 20 + 6 + 96 + 12}, Case{1, 20 + 6 + 96 + 12 + 28},
                 Case{2, 20 + 6 + 96 + 12 + 56}}) {
    MM3DIndexedMeshVertexData data;
    FillTriangle(data, c.setCount);
    std::vector<uint8_t> bytes = Written(data);
    EXPECT_EQ(bytes.size(), c.size);
    MM3DIndexedMeshVertexData read;
    ByteReader reader(bytes);
    ASSERT_TRUE(read.Read(reader));
    ExpectSame(read, data);
    EXPECT_EQ(read.mPositions.Capacity(), 3);
    EXPECT_EQ(read.mIndices.Capacity(), 3);
    EXPECT_EQ(read.mTextureCoordinates[1].Count(), c.setCount == 2 ? 3 : 0);
  }
}

// More indices than the first read step takes: the rest come in a second,
// larger step, and the block still ends at its count.
TEST(MM3DIndexedMeshVertexDataTest, IndexArraysBeyondTheFirstReadStepRoundTrip) {
  constexpr int32_t kIndices = 3 * 30000;
  MM3DIndexedMeshVertexData data;
  FillTriangle(data, 0);
  for (int32_t i = 3; i < kIndices; ++i) data.mIndices.Append(static_cast<uint16_t>(i % 3));
  const std::vector<uint8_t> bytes = Written(data);
  MM3DIndexedMeshVertexData read;
  ByteReader reader(bytes);
  ASSERT_TRUE(read.Read(reader));
  ExpectSame(read, data);
  EXPECT_EQ(read.mIndices.Capacity(), kIndices);
}

TEST(MM3DIndexedMeshVertexDataTest, EmptyBlockWritesFiveZeroCountsAndViewsAsNull) {
  std::vector<uint8_t> bytes = Written(MM3DIndexedMeshVertexData());
  EXPECT_EQ(bytes, std::vector<uint8_t>(20, 0));
  MM3DIndexedMeshVertexData data;
  FillTriangle(data, 2);
  ByteReader reader(bytes);
  ASSERT_TRUE(data.Read(reader));
  MM3DVertexArrays view(data);
  EXPECT_EQ(view.mVertexCount, 0);
  EXPECT_EQ(view.mIndexCount, 0);
  EXPECT_EQ(view.mPositions, nullptr);
  EXPECT_EQ(view.mTextureCoordinates0, nullptr);
}

TEST(MM3DIndexedMeshVertexDataTest, ViewOfPositionsAndIndicesOnly) {
  MM3DIndexedMeshVertexData data;
  for (int i = 0; i < 3; ++i) {
    data.AddVertex(MM3DVector(float(i), 0, 0, 1), false, kNoNormal, false, kNoColor, 0, nullptr);
  }
  MM3DVertexArrays view(data);
  EXPECT_EQ(view.mVertexCount, 3);
  EXPECT_EQ(view.mIndexCount, 3);
  EXPECT_EQ(view.mPositions, data.mPositions.Begin());
  EXPECT_EQ(view.mIndices[2], 2);
  EXPECT_EQ(view.mNormals, nullptr);
  EXPECT_EQ(view.mColors, nullptr);
  EXPECT_EQ(view.mTextureCoordinates0, nullptr);
  EXPECT_EQ(view.mTextureCoordinates1, nullptr);
}

TEST(MM3DIndexedMeshVertexDataTest, BigEndianRecordSwapsValuesButNotColourBytes) {
  std::vector<uint8_t> bytes;
  auto appendBig = [&bytes](const void* value, size_t size) {
    const auto* raw = static_cast<const uint8_t*>(value);
    for (size_t i = size; i > 0; --i) bytes.push_back(raw[i - 1]);
  };
  int32_t three = 3, one = 1, zero = 0;
  appendBig(&three, 4);
  for (uint16_t index : {uint16_t(0), uint16_t(0), uint16_t(0)}) appendBig(&index, 2);
  appendBig(&one, 4);
  for (float value : {1.5f, -2.0f, 3.0f, 1.0f}) appendBig(&value, 4);
  appendBig(&zero, 4);
  appendBig(&one, 4);
  for (const uint8_t byte : {uint8_t{1}, uint8_t{2}, uint8_t{3}, uint8_t{4}}) bytes.push_back(byte);
  appendBig(&zero, 4);
  MM3DIndexedMeshVertexData data;
  ByteReader reader(bytes);
  reader.SetByteOrder(kUUSwappedByteOrder);
  ASSERT_TRUE(data.Read(reader));
  EXPECT_EQ(data.mPositions[0].mY, -2.0f);
  EXPECT_EQ(data.mColors[0].mR, 1);
  EXPECT_EQ(data.mColors[0].mA, 4);
}

TEST(MM3DIndexedMeshVertexDataTest, ReadRefusesRecordsBreakingTheBlock) {
  // Records built from a one-vertex triangle with one field replaced.
  struct Case {
    const char* what;
    int32_t indexCount, index, positionCount, normalCount, colorCount, setCount;
  };
  for (Case c : {Case{"negative index count", -3, 0, 1, 0, 0, 0},
                 Case{"index count not a multiple of 3", 2, 0, 1, 0, 0, 0},
                 Case{"index beyond the vertices", 3, 1, 1, 0, 0, 0},
                 Case{"negative position count", 0, 0, -1, 0, 0, 0},
                 Case{"more than 65,536 positions", 0, 0, 65537, 0, 0, 0},
                 Case{"normal count differs", 3, 0, 1, 2, 0, 0},
                 Case{"colour count differs", 3, 0, 1, 0, 5, 0},
                 Case{"three coordinate sets", 3, 0, 1, 0, 0, 3},
                 Case{"huge index count", 0x7FFFFFFE, 0, 1, 0, 0, 0}}) {
    std::vector<uint8_t> bytes;
    AppendInt32(bytes, c.indexCount);
    for (int i = 0; i < 3; ++i) bytes.insert(bytes.end(), {uint8_t(c.index), 0});
    AppendInt32(bytes, c.positionCount);
    for (int i = 0; i < 4; ++i) AppendFloat(bytes, 1);
    AppendInt32(bytes, c.normalCount);
    AppendInt32(bytes, c.colorCount);
    AppendInt32(bytes, c.setCount);
    for (int i = 0; i < 3; ++i) AppendInt32(bytes, 0);
    MM3DIndexedMeshVertexData data;
    FillTriangle(data, 1);
    ByteReader reader(bytes);
    EXPECT_FALSE(data.Read(reader)) << c.what;
    EXPECT_EQ(data.mTextureCoordinates[0].Count(), 3) << c.what;
  }
}

TEST(MM3DIndexedMeshVertexDataTest, FailedWriteStopsAndReportsFalse) {
  for (size_t limit : {size_t(0), size_t(10), size_t(100), size_t(180)}) {
    ByteWriter writer(limit);
    MM3DIndexedMeshVertexData data;
    FillTriangle(data, 2);
    EXPECT_FALSE(data.Write(writer)) << limit;
  }
}

TEST(MM3DIndexedMeshVertexDataTest, AddVertexStopsAtTheSixteenBitIndexRange) {
  MM3DIndexedMeshVertexData data;
  for (int32_t i = 0; i < 0xFFFF; ++i) {
    ASSERT_TRUE(
        data.AddVertex(MM3DVector(0, 0, 0, 1), false, kNoNormal, false, kNoColor, 0, nullptr));
  }
  EXPECT_TRUE(
      data.AddVertex(MM3DVector(1, 0, 0, 1), false, kNoNormal, false, kNoColor, 0, nullptr));
  EXPECT_EQ(data.mIndices[0xFFFF], 0xFFFF);
  EXPECT_FALSE(
      data.AddVertex(MM3DVector(2, 0, 0, 1), false, kNoNormal, false, kNoColor, 0, nullptr));
  EXPECT_EQ(data.GetVertexCount(), 0x10000);
  EXPECT_EQ(data.mIndices.Count(), 0x10000);
}

TEST(MM3DIndexedMeshVertexDataTest, FindVertexComparesOnlyWhatIsAsked) {
  MM3DIndexedMeshVertexData data;
  FillTriangle(data, 2);
  MM3DTextureCoordinate uv[2] = {{1.0f, 1.0f}, {2.0f, 0.5f}};
  MM3DVector normal(0, 0, 1, 0);
  MM3DPackedColor color{20, 200, 7, 255};
  EXPECT_EQ(data.FindVertex(MM3DVector(2, 2, 3, 1), false, kNoNormal, false, kNoColor, 0, nullptr),
            2);
  EXPECT_EQ(data.FindVertex(MM3DVector(2, 2, 3, 1), true, normal, true, color, 2, uv), 2);
  EXPECT_EQ(data.FindVertex(MM3DVector(2, 2, 3, 1), true, kNoNormal, false, kNoColor, 0, nullptr),
            -1);
  EXPECT_EQ(data.FindVertex(MM3DVector(2, 2, 3, 1), false, kNoNormal, true, kNoColor, 0, nullptr),
            -1);
  uv[1].mV = 0.0f;
  EXPECT_EQ(data.FindVertex(MM3DVector(2, 2, 3, 1), false, kNoNormal, false, kNoColor, 2, uv), -1);
  EXPECT_EQ(data.FindVertex(MM3DVector(2, 2, 3, 1), false, kNoNormal, false, kNoColor, 1, uv), 2);

  MM3DIndexedMeshVertexData zero;
  zero.AddVertex(MM3DVector(0, 0, 0, 1), false, kNoNormal, false, kNoColor, 0, nullptr);
  float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(
      zero.FindVertex(MM3DVector(-0.0f, 0, 0, 1), false, kNoNormal, false, kNoColor, 0, nullptr),
      0);
  zero.mPositions[0].mX = nan;
  EXPECT_EQ(
      zero.FindVertex(MM3DVector(nan, 0, 0, 1), false, kNoNormal, false, kNoColor, 0, nullptr), -1);
  EXPECT_EQ(MM3DIndexedMeshVertexData().FindVertex(MM3DVector(0, 0, 0, 1), false, kNoNormal, false,
                                                   kNoColor, 0, nullptr),
            -1);
}
