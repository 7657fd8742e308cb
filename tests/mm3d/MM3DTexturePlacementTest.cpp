#include "mm3d/MM3DTexturePlacement.h"

#include "foundation/af/AFMemoryPool.h"
#include "mm3d/MM3DDatabase.h"
#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "tests/mm3d/MM3DStreams.h"

#include <gtest/gtest.h>

#include <numbers>
#include <vector>

namespace {

MM3DTexturePlacement Placement(float repeatU, float repeatV, float offsetU, float offsetV,
                               float rotation) {
  MM3DTexturePlacement placement;
  placement.SetRepeatU(repeatU);
  placement.SetRepeatV(repeatV);
  placement.SetOffsetU(offsetU);
  placement.SetOffsetV(offsetV);
  placement.SetRotation(rotation);
  return placement;
}

TEST(MM3DTexturePlacementTest, RepeatOffsetAndRotation) {
  struct Case {
    const char* name;
    MM3DTexturePlacement placement;
    float u;
    float v;
  };
  const float quarter = std::numbers::pi_v<float> / 2.0f;
  const Case cases[] = {
      {"unchanged", Placement(1.0f, 1.0f, 0.0f, 0.0f, 0.0f), 0.25f, 0.75f},
      {"repeat", Placement(2.0f, 3.0f, 0.0f, 0.0f, 0.0f), 0.5f, 2.25f},
      {"offset", Placement(1.0f, 1.0f, 0.5f, -0.25f, 0.0f), 0.75f, 0.5f},
      // A quarter turn about the centre gives (0.25, 0.25), then doubled.
      {"turn then repeat", Placement(2.0f, 2.0f, 0.0f, 0.0f, quarter), 0.5f, 0.5f},
      // Uneven repeat or an offset: placed at (0, 0.25) about the centre,
      // then a quarter turn gives (0.25, 0.5).
      {"uneven repeat then turn", Placement(2.0f, 1.0f, 0.0f, 0.0f, quarter), 0.25f, 0.5f},
      {"offset then turn", Placement(1.0f, 1.0f, 0.25f, 0.0f, quarter), 0.25f, 0.5f},
      // (0.25, 1) about the centre turns to (-1, 0.25).
      {"repeat and offset then turn", Placement(2.0f, 2.0f, 0.25f, 0.0f, quarter), -0.5f, 0.75f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const MM3DTextureCoordinate source[1] = {{0.25f, 0.75f}};
    MM3DVertexArrays arrays;
    arrays.mVertexCount = 1;
    arrays.mTextureCoordinates0 = source;
    c.placement.Generate(arrays);
    ASSERT_NE(arrays.mTextureCoordinates0, nullptr);
    EXPECT_NEAR(arrays.mTextureCoordinates0[0].mU, c.u, 1e-5f);
    EXPECT_NEAR(arrays.mTextureCoordinates0[0].mV, c.v, 1e-5f);
  }
}

TEST(MM3DTexturePlacementTest, BlockWithoutCoordinatesIsLeftAlone) {
  MM3DTexturePlacement placement;
  MM3DVertexArrays arrays;
  arrays.mVertexCount = 4;
  placement.Generate(arrays);
  EXPECT_EQ(arrays.mTextureCoordinates0, nullptr);
}

// The coordinate scratch lives until the process ends: growing it while an
// application's pool is current takes nothing from the pool.
TEST(MM3DTexturePlacementTest, ScratchGrownUnderAPoolTakesNothingFromIt) {
  const std::vector<MM3DTextureCoordinate> source(4096, MM3DTextureCoordinate{0.5f, 0.5f});
  MM3DVertexArrays arrays;
  arrays.mVertexCount = static_cast<int32_t>(source.size());
  arrays.mTextureCoordinates0 = source.data();
  AFMemoryPool pool(1024 * 1024);
  ALAllocator* const saved = ALGlobalAllocator;
  ALGlobalAllocator = &pool;
  Placement(2.0f, 2.0f, 0.0f, 0.0f, 0.0f).Generate(arrays);
  ALGlobalAllocator = saved;
  EXPECT_EQ(pool.GetBytesInUse(), 0u);
  EXPECT_FLOAT_EQ(arrays.mTextureCoordinates0[4095].mU, 1.0f);
}

TEST(MM3DTexturePlacementTest, ActiveOnlyBetweenBeginAndEnd) {
  MM3DTexturePlacement placement;
  EXPECT_FALSE(placement.IsActive());
  placement.Begin();
  EXPECT_TRUE(placement.IsActive());
  placement.End();
  EXPECT_FALSE(placement.IsActive());
}

class MM3DTexturePlacementRecordTest : public ::testing::Test {
 protected:
  void SetUp() override { MM3DDatabase::ResetReferenceTables(); }
  void TearDown() override { MM3DDatabase::FreeReferenceTables(); }

  const MM3DTexturePlacement mWritten = Placement(2.0f, 3.0f, 0.25f, -0.5f, 1.5f);
};

// The object index, then repeat, offset and rotation, in either byte order;
// the placement read back takes the written position in the object table.
TEST_F(MM3DTexturePlacementRecordTest, ReadsBackInBothByteOrders) {
  for (UUByteOrder order : {kUUNativeByteOrder, kUUSwappedByteOrder}) {
    MM3DDatabase::ResetReferenceTables();
    ByteWriter writer;
    writer.SetWriteByteOrder(order);
    ASSERT_TRUE(mWritten.Write(writer));
    ASSERT_EQ(writer.mBytes.size(), 24u);
    MM3DDatabase::ResetReferenceTables();
    ByteReader reader(writer.mBytes);
    reader.SetByteOrder(order);
    MM3DTexturePlacement read;
    ASSERT_TRUE(read.Read(reader)) << "byte order " << order;
    EXPECT_EQ(MM3DDatabase::GetReferencedObject(0), &read);
    EXPECT_EQ(read.GetRepeatU(), mWritten.GetRepeatU());
    EXPECT_EQ(read.GetRepeatV(), mWritten.GetRepeatV());
    EXPECT_EQ(read.GetOffsetU(), mWritten.GetOffsetU());
    EXPECT_EQ(read.GetOffsetV(), mWritten.GetOffsetV());
    EXPECT_EQ(read.GetRotation(), mWritten.GetRotation());
  }
}

TEST_F(MM3DTexturePlacementRecordTest, HandMadeRecordReadsAndShortOnesFail) {
  std::vector<uint8_t> bytes;
  AppendInt32(bytes, 3);
  for (float value : {2.0f, 3.0f, 0.25f, -0.5f, 1.5f}) AppendFloat(bytes, value);
  MM3DTexturePlacement read;
  ByteReader reader(bytes);
  ASSERT_TRUE(read.Read(reader));
  EXPECT_EQ(MM3DDatabase::GetReferencedObject(3), &read);
  EXPECT_EQ(read.GetOffsetV(), -0.5f);
  for (size_t size = 0; size < bytes.size(); ++size) {
    MM3DDatabase::ResetReferenceTables();
    MM3DTexturePlacement shortRead;
    ByteReader prefix(
        std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(size)));
    EXPECT_FALSE(shortRead.Read(prefix)) << size;
  }
}

}  // namespace
