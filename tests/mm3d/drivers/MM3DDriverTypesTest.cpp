#include "mm3d/drivers/MM3DDriverTypes.h"

#include "tests/mm3d/MM3DStreams.h"

#include <gtest/gtest.h>

namespace {

TEST(MM3DDriverTypesTest, DeviceModeBitsFromCodes) {
  struct Case {
    int32_t mColorCode;
    int32_t mDepthCode;
    int32_t mColorBits;
    int32_t mDepthBits;
  };
  for (const Case& c :
       {Case{0, 0, 16, 0}, Case{1, 1, 24, 16}, Case{2, 2, 32, 32}, Case{7, 5, 32, 32}}) {
    MM3DDeviceMode mode(640, 480, c.mColorCode, 1, 0);
    EXPECT_EQ(mode.mDepthBufferCode, 0);
    mode.mDepthBufferCode = c.mDepthCode;
    EXPECT_EQ(mode.GetColorBits(), c.mColorBits) << c.mColorCode;
    EXPECT_EQ(mode.GetDepthBits(), c.mDepthBits) << c.mDepthCode;
  }
}

TEST(MM3DDriverTypesTest, BlendPairValidity) {
  EXPECT_TRUE(MM3DBlendFactors(kMM3DBlendSourceAlpha, kMM3DBlendInvSourceAlpha).IsValid());
  EXPECT_TRUE(MM3DBlendFactors(kMM3DBlendOne, kMM3DBlendZero).IsValid());
  EXPECT_TRUE(MM3DBlendFactors(kMM3DBlendDestColor, kMM3DBlendSourceColor).IsValid());
  EXPECT_FALSE(MM3DBlendFactors(kMM3DBlendSourceColor, kMM3DBlendZero).IsValid());
  EXPECT_FALSE(MM3DBlendFactors(kMM3DBlendInvSourceColor, kMM3DBlendZero).IsValid());
  EXPECT_FALSE(MM3DBlendFactors(kMM3DBlendOne, kMM3DBlendDestColor).IsValid());
  EXPECT_FALSE(MM3DBlendFactors(kMM3DBlendOne, kMM3DBlendInvDestColor).IsValid());
  EXPECT_FALSE(MM3DBlendFactors().IsValid());
}

TEST(MM3DDriverTypesTest, BlendPairStreamsAndKeepsValueOnShortRead) {
  ByteWriter writer;
  ASSERT_TRUE(MM3DBlendFactors(4, 5).Write(writer));
  ASSERT_EQ(writer.mBytes.size(), 8u);
  ByteReader reader(writer.mBytes);
  MM3DBlendFactors read;
  ASSERT_TRUE(read.Read(reader));
  EXPECT_EQ(read, MM3DBlendFactors(4, 5));

  ByteReader shortReader(std::vector<uint8_t>(writer.mBytes.begin(), writer.mBytes.begin() + 6));
  MM3DBlendFactors kept(1, 0);
  EXPECT_FALSE(kept.Read(shortReader));
  EXPECT_EQ(kept, MM3DBlendFactors(1, 0));
}

TEST(MM3DDriverTypesTest, DepthRangeValidityAndStream) {
  EXPECT_TRUE(MM3DDepthRange().IsValid());
  EXPECT_FALSE(MM3DDepthRange(0.5f, 0.5f).IsValid());
  EXPECT_FALSE(MM3DDepthRange(0.6f, 0.5f).IsValid());
  EXPECT_FALSE(MM3DDepthRange(-0.1f, 0.5f).IsValid());
  EXPECT_FALSE(MM3DDepthRange(0.0f, 1.5f).IsValid());

  ByteWriter writer;
  ASSERT_TRUE(MM3DDepthRange(0.25f, 0.75f).Write(writer));
  ByteReader reader(writer.mBytes);
  MM3DDepthRange read;
  ASSERT_TRUE(read.Read(reader));
  EXPECT_EQ(read, MM3DDepthRange(0.25f, 0.75f));
}

}  // namespace
