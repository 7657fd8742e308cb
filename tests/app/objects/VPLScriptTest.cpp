#include "app/objects/VPLScript.h"

#include "tests/app/support/AppFixtures.h"

#include <gtest/gtest.h>

namespace {

using namespace app_fixtures;

constexpr int16_t kRepeatedTag = 9;
constexpr int16_t kNumberTag = 5;
constexpr int16_t kMissingTag = 42;

class VPLScriptTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(mFiles.Ready()); }

  AppFiles mFiles;
  VPLScript mLayout{kTaggedLayout, kVPLLayoutTable};
};

TEST_F(VPLScriptTest, FindTagCountsRowsOfTheTagFromTheStart) {
  struct Case {
    int32_t start;
    int32_t n;
    int32_t row;
  };
  const Case cases[] = {{0, 0, 0}, {0, 1, 2}, {0, 2, -1}, {1, 0, 2}, {3, 0, -1}, {4, -1, 4}};
  for (const Case& c : cases) {
    EXPECT_EQ(mLayout.FindTag(kRepeatedTag, c.start, c.n), c.row) << c.start << " " << c.n;
  }
  EXPECT_EQ(mLayout.CountTag(kRepeatedTag), 2);
  EXPECT_EQ(mLayout.GetKind(), kVPLLayoutTable);
}

TEST_F(VPLScriptTest, ValuesAreReadAtByteTwoOfTheFoundRow) {
  EXPECT_EQ(mLayout.GetTagUInt32(kNumberTag), kLayoutNumber);
  EXPECT_EQ(mLayout.GetTagInt32(kNumberTag), static_cast<int32_t>(kLayoutNumber));
  EXPECT_EQ(mLayout.GetTagInt16(kRepeatedTag, 0, 1), 2);
}

TEST_F(VPLScriptTest, ReferencesCountFromOneOrBackFromTheLastEntryAndZeroIsNone) {
  EXPECT_EQ(mLayout.GetTagScriptId(6), 0);
  EXPECT_EQ(mLayout.GetTagScriptId(7), kScriptCount - 1);
  EXPECT_EQ(mLayout.GetTagScriptId(8), kMMNoResource);
}

TEST_F(VPLScriptTest, AMissingTagReadsAsMinusOneInsteadOfTheRowBeforeTheFirst) {
  EXPECT_EQ(mLayout.FindTag(kMissingTag), -1);
  EXPECT_EQ(mLayout.GetTagUInt32(kMissingTag), UINT32_MAX);
  EXPECT_EQ(mLayout.GetTagInt32(kMissingTag), -1);
  EXPECT_EQ(mLayout.GetTagInt16(kMissingTag), -1);
  EXPECT_EQ(mLayout.GetTagScriptId(kMissingTag), kMMNoResource);
  EXPECT_STREQ(mLayout.GetTagString(kMissingTag), "");
}

TEST_F(VPLScriptTest, NoScriptIsAnEmptyTable) {
  const VPLScript none(kMMNoResource, kVPLButtonDefinition);
  EXPECT_EQ(none.FindTag(0), -1);
  EXPECT_EQ(none.CountTag(0), 0);
}

TEST_F(VPLScriptTest, AVectorRowIsDividedByItsFifthNumber) {
  MM3DVector v(0, 0, 0, 0);
  ASSERT_TRUE(VPLReadVectorTable(kPlacementVector, v));
  EXPECT_FLOAT_EQ(v.mX, 1.0f);
  EXPECT_FLOAT_EQ(v.mY, 2.0f);
  EXPECT_FLOAT_EQ(v.mZ, 3.0f);
  EXPECT_FLOAT_EQ(v.mW, 1.0f / 3.0f);
}

TEST_F(VPLScriptTest, AVectorWithoutADivisorOrTableIsNotRead) {
  const MM3DVector kept(7, 7, 7, 7);
  MM3DVector v = kept;
  EXPECT_FALSE(VPLReadVectorTable(kZeroDivisorVector, v));
  EXPECT_FALSE(VPLReadVectorTable(kMMNoResource, v));
  EXPECT_TRUE(v.Equals(kept));
}

}  // namespace
