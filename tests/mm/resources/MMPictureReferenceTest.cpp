#include "mm/resources/MMPictureReference.h"

#include "tests/mm/resources/PictureTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct MMPictureReferenceTest : ::testing::Test {
  FakePictureCollection mCollection{5};
  int16_t mItem = mCollection.Add(4, 3, 10, 20, 30, UURect(2, 0, 4, 1));
};

TEST_F(MMPictureReferenceTest, AnIdNamesThePictureAndBadIdsGiveAnEmptyReference) {
  const MMPictureReference reference(mCollection.Id(mItem));
  EXPECT_EQ(reference.GetCollection(), &mCollection);
  EXPECT_EQ(reference.GetId(), mCollection.Id(mItem));
  EXPECT_EQ(reference.GetSize(), (UUPoint{4, 3}));
  for (MMResourceId bad : {kMMNoResource, MMMakeResourceId(6, 0), mCollection.Id(1)}) {
    const MMPictureReference empty(bad);
    EXPECT_TRUE(empty.IsEmpty()) << bad;
    EXPECT_EQ(empty.GetId(), kMMNoResource);
    EXPECT_EQ(empty.GetSize(), (UUPoint{0, 0}));
    EXPECT_FALSE(empty.IsBitmap());
  }
  EXPECT_TRUE(MMPictureReference(nullptr, 0).IsEmpty());
}

TEST_F(MMPictureReferenceTest, CopiesHoldTheirOwnReference) {
  {
    const MMPictureReference reference(&mCollection, mItem);
    EXPECT_EQ(mCollection.References(), 1);
    MMPictureReference copy(reference);
    MMPictureReference assigned;
    assigned = copy;
    EXPECT_EQ(mCollection.References(), 3);
    EXPECT_TRUE(assigned == reference);
    assigned.Set(MMPictureReference());
    EXPECT_TRUE(assigned.IsEmpty());
    EXPECT_EQ(mCollection.References(), 2);
  }
  EXPECT_EQ(mCollection.References(), 0);
}

TEST_F(MMPictureReferenceTest, TheIdIsLostWhenTheCollectionIsNoLongerRegistered) {
  const MMPictureReference reference(&mCollection, mItem);
  MMPictureRegistry().Remove(5);
  EXPECT_EQ(reference.GetId(), kMMNoResource);
  MMPictureRegistry().Set(&mCollection, 5);
  EXPECT_EQ(reference.GetId(), mCollection.Id(mItem));
}

TEST_F(MMPictureReferenceTest, PointsAreClassifiedByTheirTransparency) {
  const MMPictureReference reference(&mCollection, mItem);
  struct Case {
    UUPoint point;
    int32_t classified;
    bool contained;
  };
  for (const Case& c : {Case{{0, 0}, 0, true}, Case{{3, 0}, 1, true}, Case{{3, 2}, 0, true},
                        Case{{4, 0}, 1, false}, Case{{-1, 1}, 1, false}}) {
    EXPECT_EQ(reference.ClassifyPoint(c.point), c.classified) << c.point.mX << "," << c.point.mY;
    EXPECT_EQ(reference.ContainsPoint(c.point), c.contained) << c.point.mX << "," << c.point.mY;
  }
  EXPECT_EQ(mCollection.mLocks, 0);
}

}  // namespace
