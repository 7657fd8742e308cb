#include "foundation/uu/UUOrderedMap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <set>
#include <vector>

namespace {

struct Entry {
  int32_t mKey;
  int32_t mValue;
};

const void* KeyOf(const Entry* entry) { return &entry->mKey; }
bool Less(const void* a, const void* b) {
  return *static_cast<const int32_t*>(a) < *static_cast<const int32_t*>(b);
}

std::vector<int32_t> Keys(const UUOrderedMap<Entry>& map) {
  std::vector<int32_t> keys;
  for (auto* node = map.Begin(); node != map.End(); node = UUOrderedMapIterator::Increment(node)) {
    keys.push_back(UUOrderedMap<Entry>::ValueOf(node).mKey);
  }
  return keys;
}

// Every path from the root to a leaf passes the same number of black nodes,
// and no red node has a red child; answers the black height or -1.
int BlackHeight(const UUOrderedMapNodeBase* node) {
  if (node == nullptr) return 1;
  const int left = BlackHeight(node->mLeft);
  const int right = BlackHeight(node->mRight);
  const bool redClash = node->mColour == kUUOrderedMapRed &&
                        ((node->mLeft && node->mLeft->mColour == kUUOrderedMapRed) ||
                         (node->mRight && node->mRight->mColour == kUUOrderedMapRed));
  if (left < 0 || left != right || redClash) return -1;
  return left + (node->mColour == kUUOrderedMapBlack ? 1 : 0);
}

TEST(UUOrderedMapTest, InsertsUniqueKeysInOrder) {
  UUOrderedMap<Entry> map(KeyOf, Less);
  int32_t five = 5;
  int32_t nine = 9;
  EXPECT_EQ(map.Find(&five), map.End());
  for (int32_t key : {5, 1, 3}) EXPECT_TRUE(map.InsertUnique(Entry{key, key * 10}).second);
  auto again = map.InsertUnique(Entry{5, 99});
  EXPECT_FALSE(again.second);
  EXPECT_EQ(UUOrderedMap<Entry>::ValueOf(again.first).mValue, 50);
  EXPECT_EQ(map.Count(), 3u);
  EXPECT_EQ(Keys(map), (std::vector<int32_t>{1, 3, 5}));
  EXPECT_EQ(UUOrderedMap<Entry>::ValueOf(UUOrderedMapIterator::Decrement(map.End())).mKey, 5);
  EXPECT_EQ(map.Find(&nine), map.End());
  int32_t two = 2;
  EXPECT_EQ(UUOrderedMap<Entry>::ValueOf(map.LowerBound(&two)).mKey, 3);
  EXPECT_EQ(map.Find(&two), map.End());
}

TEST(UUOrderedMapTest, StaysBalancedThroughInsertsAndErases) {
  UUOrderedMap<Entry> map(KeyOf, Less);
  std::set<int32_t> reference;
  std::mt19937 random(7);
  for (int step = 0; step < 3000; ++step) {
    const int32_t key = static_cast<int32_t>(random() % 200);
    if (random() % 3 != 0) {
      EXPECT_EQ(map.InsertUnique(Entry{key, 0}).second, reference.insert(key).second);
    } else if (auto* node = map.Find(&key); node != map.End()) {
      map.Erase(node);
      reference.erase(key);
    }
    ASSERT_GE(BlackHeight(map.End()->mParent), 0) << step;
  }
  EXPECT_EQ(Keys(map), std::vector<int32_t>(reference.begin(), reference.end()));
  EXPECT_EQ(map.Count(), reference.size());
  map.Clear();
  EXPECT_EQ(map.Begin(), map.End());
}

}  // namespace
