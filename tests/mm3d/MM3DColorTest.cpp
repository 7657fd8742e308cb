#include "mm3d/MM3DColor.h"

#include "tests/mm3d/MM3DStreams.h"

#include <gtest/gtest.h>

namespace {

TEST(MM3DColorTest, PackingTruncatesWithoutClamping) {
  MM3DPackedColor packed;
  packed.SetFromColor(MM3DColor{1.0f, 0.999f, 0.5f, 0.0f});
  EXPECT_EQ(packed.mR, 255);
  EXPECT_EQ(packed.mG, 254);
  EXPECT_EQ(packed.mB, 127);
  EXPECT_EQ(packed.mA, 0);
  // 1.2 x 255 = 306 keeps its low byte.
  packed.SetFromColor(MM3DColor{1.2f, 0, 0, 0});
  EXPECT_EQ(packed.mR, 306 - 256);
}

TEST(MM3DColorTest, WriteAndReadRoundTrip) {
  const MM3DColor color{0.25f, 0.5f, 0.75f, 1.0f};
  ByteWriter writer;
  ASSERT_TRUE(color.Write(writer));
  ASSERT_EQ(writer.mBytes.size(), 16u);
  MM3DColor read{};
  ByteReader reader(writer.mBytes);
  ASSERT_TRUE(read.Read(reader));
  EXPECT_EQ(read.mB, 0.75f);
  EXPECT_EQ(read.mA, 1.0f);
}

TEST(MM3DColorTest, AShortReadKeepsTheComponentsAfterIt) {
  ByteWriter writer;
  MM3DColor{0.25f, 0.5f, 0.75f, 1.0f}.Write(writer);
  writer.mBytes.resize(9);
  MM3DColor read{9, 9, 9, 9};
  ByteReader reader(writer.mBytes);
  EXPECT_FALSE(read.Read(reader));
  EXPECT_EQ(read.mG, 0.5f);
  EXPECT_EQ(read.mB, 9.0f);
  EXPECT_EQ(read.mA, 9.0f);
}

TEST(MM3DColorTest, AFailedWriteStops) {
  ByteWriter writer(6);
  EXPECT_FALSE((MM3DColor{0, 0, 0, 0}.Write(writer)));
  EXPECT_EQ(writer.mBytes.size(), 4u);
}

}  // namespace
