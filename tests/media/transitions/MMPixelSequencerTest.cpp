#include "media/transitions/MMPixelSequencer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct GridSize {
  int32_t width;
  int32_t height;
};

class MMPixelSequencerTest : public ::testing::TestWithParam<GridSize> {};

TEST_P(MMPixelSequencerTest, APassVisitsEveryCellButTheFirstExactlyOnce) {
  const GridSize size = GetParam();
  std::vector<int> visits(static_cast<size_t>(size.width * size.height), 0);
  MMPixelSequencer sequencer;
  sequencer.Init(size.width, size.height);
  for (int pass = 0; pass < 2; ++pass) {
    int32_t count = 0;
    while (!sequencer.IsDone()) {
      const UUPoint cell = sequencer.Next();
      ASSERT_TRUE(cell.mX >= 0 && cell.mX < size.width && cell.mY >= 0 && cell.mY < size.height)
          << cell.mX << "," << cell.mY;
      ++visits[static_cast<size_t>(cell.mY * size.width + cell.mX)];
      ++count;
    }
    EXPECT_EQ(count, size.width * size.height - 1);
    sequencer.Restart();
  }
  // The caller draws (0, 0) itself.
  EXPECT_EQ(visits[0], 0);
  for (size_t i = 1; i < visits.size(); ++i) ASSERT_EQ(visits[i], 2) << i;
}

INSTANTIATE_TEST_SUITE_P(Sizes, MMPixelSequencerTest,
                         ::testing::Values(GridSize{1, 1}, GridSize{2, 1}, GridSize{1, 2},
                                           GridSize{3, 5}, GridSize{7, 7}, GridSize{64, 64},
                                           GridSize{640, 480}, GridSize{800, 600}));

TEST(MMPixelSequencerEmptyTest, AGridWithoutCellsIsDoneAtOnce) {
  MMPixelSequencer sequencer;
  for (const GridSize size : {GridSize{0, 0}, GridSize{5, 0}, GridSize{0, 5}}) {
    sequencer.Init(size.width, size.height);
    EXPECT_TRUE(sequencer.IsDone());
  }
}

TEST(MMPixelSequencerBitsTest, CountsTheShiftsToZero) {
  EXPECT_EQ(MMPixelSequencer::Bits(0), 0);
  EXPECT_EQ(MMPixelSequencer::Bits(1), 1);
  EXPECT_EQ(MMPixelSequencer::Bits(480), 9);
  EXPECT_EQ(MMPixelSequencer::Bits(640), 10);
}

}  // namespace
