#include "foundation/uu/UURandomDeck.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(UURandomDeckTest, EachPassDealsTheWholeRangeAndNeverRepeatsAcrossTheSeam) {
  UURandomDeck deck(0, 3);
  for (int pass = 0; pass < 20; ++pass) {
    std::set<int32_t> seen;
    int32_t last = -1;
    for (int i = 0; i < 3; ++i) {
      deck.Next();
      seen.insert(deck.GetCurrent());
      last = deck.GetCurrent();
    }
    EXPECT_EQ(seen, (std::set<int32_t>{0, 1, 2}));
    deck.Next();
    EXPECT_NE(deck.GetCurrent(), last) << pass;
    for (int i = 0; i < 2; ++i) deck.Next();  // finish that pass
  }
}

TEST(UURandomDeckTest, SmallAndChangedRanges) {
  UURandomDeck one(5, 6);
  for (int i = 0; i < 4; ++i) {
    one.Next();
    EXPECT_EQ(one.GetCurrent(), 5);
  }
  UURandomDeck deck(4);
  deck.Next();
  deck.SetRange(10, 12);
  std::set<int32_t> seen;
  for (int i = 0; i < 2; ++i) {
    deck.Next();
    seen.insert(deck.GetCurrent());
  }
  EXPECT_EQ(seen, (std::set<int32_t>{10, 11}));
  UURandomDeck empty(3, 3);
  empty.Next();
  EXPECT_EQ(empty.GetCurrent(), 3);
}

TEST(UURandomDeckTest, CopiesCompareEqualAndSwapExchangesEverything) {
  UURandomDeck a(0, 8);
  UURandomDeck b(0, 8);
  EXPECT_TRUE(a == b);  // neither has dealt: the ranges decide
  a.Next();
  EXPECT_FALSE(a == b);
  UURandomDeck copy(a);
  EXPECT_TRUE(copy == a);
  copy.Next();
  EXPECT_FALSE(copy == a);
  b = a;
  EXPECT_TRUE(b == a);
  UURandomDeck other(20, 22);
  UUSwapRandomDecks(other, b);
  EXPECT_TRUE(other == a);
  EXPECT_TRUE(b == UURandomDeck(20, 22));
  const int32_t words[] = {1, 2, 3};
  const int32_t same[] = {1, 2, 3};
  const int32_t differ[] = {1, 2, 4};
  EXPECT_TRUE(UUEqualWords(words, words + 3, same));
  EXPECT_FALSE(UUEqualWords(words, words + 3, differ));
}

}  // namespace
