#include "foundation/uu/UUList.h"

#include "foundation/uu/UUOwned.h"
#include "foundation/uu/UURefCount.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Item {
  int mKey;
  char mTag;
  bool operator==(const Item&) const = default;
};

int gCompares = 0;
bool KeyLess(const Item* a, const Item* b) {
  ++gCompares;
  return a->mKey < b->mKey;
}

std::string Tags(const UUList<Item>& list) {
  std::string tags;
  for (const Item& item : list) tags += item.mTag;
  return tags;
}

UUList<Item>& Fill(UUList<Item>& list, const std::vector<Item>& items) {
  for (const Item& item : items) list.PushBack(item);
  return list;
}

TEST(UUListTest, SortIsStableAndLeavesShortListsAlone) {
  const struct {
    std::vector<Item> items;
    std::string sorted;
  } cases[] = {
      {{{3, 'a'}, {1, 'x'}, {3, 'b'}, {2, 'y'}}, "xyab"},
      {{{2, 'b'}, {3, 'c'}, {1, 'a'}}, "abc"},
      {{{5, 'e'}, {4, 'd'}, {3, 'c'}, {2, 'b'}, {1, 'a'}}, "abcde"},
      {{{1, 'a'}, {1, 'b'}, {1, 'c'}, {0, 'z'}, {1, 'd'}}, "zabcd"},
  };
  for (const auto& c : cases) {
    UUList<Item> list;
    Fill(list, c.items).Sort(KeyLess);
    EXPECT_EQ(Tags(list), c.sorted);
    EXPECT_EQ(list.Count(), static_cast<int32_t>(c.items.size()));
    EXPECT_EQ(list.Back().mTag, c.sorted.back());
  }
  UUList<Item> empty;
  UUList<Item> one;
  one.PushBack(Item{1, 'a'});
  gCompares = 0;
  empty.Sort(KeyLess);
  one.Sort(KeyLess);
  EXPECT_EQ(gCompares, 0);
  EXPECT_EQ(empty.Begin(), empty.End());
}

TEST(UUListTest, SplicesMoveNodesAndCounts) {
  UUList<Item> a;
  UUList<Item> b;
  Fill(a, {{1, 'a'}, {2, 'b'}, {3, 'c'}});
  Fill(b, {{4, 'd'}, {5, 'e'}});
  UUUntypedListNode* second = a.Begin()->mNext;
  a.Anchor()->Splice(a.End(), a.Anchor(), a.Begin(), second);
  EXPECT_EQ(Tags(a), "bca");
  a.Anchor()->Splice(second, a.Anchor(), a.Begin(), second);
  EXPECT_EQ(Tags(a), "bca");

  a.Anchor()->Splice(second, b.Anchor(), b.Begin()->mNext, b.End());
  EXPECT_EQ(Tags(a), "ebca");
  EXPECT_EQ(a.Count(), 4);
  EXPECT_EQ(b.Count(), 1);
  a.SpliceAll(a.End(), b);
  EXPECT_EQ(Tags(a), "ebcad");
  EXPECT_EQ(a.Count(), 5);
  EXPECT_TRUE(b.IsEmpty());
  a.SpliceAll(a.Begin(), b);
  EXPECT_EQ(a.Count(), 5);

  a.Reverse();
  EXPECT_EQ(Tags(a), "dacbe");
  b.Reverse();
  EXPECT_EQ(b.Anchor()->mNext, b.Anchor());
  EXPECT_EQ(b.Anchor()->mPrevious, b.Anchor());
}

TEST(UUListTest, FindRemoveAndErase) {
  UUList<int> list;
  for (int i : {4, 7, 9, 7}) list.PushBack(i);
  EXPECT_TRUE(UUListContains(list.Begin(), list.End(), 9));
  EXPECT_EQ(UUListFind(list.Begin(), list.End(), 5), list.End());
  list.Remove(7);
  list.Remove(5);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(UUList<int>::ValueOf(list.Begin()->mNext), 9);
  list.EraseRange(list.Begin(), list.Begin());
  EXPECT_EQ(list.Count(), 3);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Begin(), list.End());
}

// Records the order of Detach and destruction.
std::string gEvents;
struct Tracked {
  explicit Tracked(char name) : mName(name) {}
  virtual ~Tracked() { gEvents += std::string("~") + mName; }
  void Detach() { gEvents += std::string("D") + mName; }
  void Touch() { gEvents += std::string("T") + mName; }
  char mName;
};

TEST(UUListTest, DestroyingAListReleasesOwnedAndSharedValuesInOrder) {
  gEvents.clear();
  {
    UUList<UUOwned<Tracked>> owned;
    owned.PushBack(UUOwned<Tracked>(new Tracked('a')));
    owned.PushBack(UUOwned<Tracked>(new Tracked('b')));
  }
  EXPECT_EQ(gEvents, "Da~aDb~b");

  gEvents.clear();
  UURefCount<Tracked> kept(new Tracked('k'));
  {
    UUList<UURefCount<Tracked>> shared;
    shared.PushBack(kept);
    shared.PushBack(UURefCount<Tracked>(new Tracked('s')));
  }
  EXPECT_EQ(gEvents, "~s");
}

TEST(UUListTest, ForEachCallsTheMemberInOrder) {
  Tracked a('a');
  Tracked b('b');
  UUList<Tracked*> list;
  list.PushBack(&a);
  list.PushBack(&b);
  gEvents.clear();
  UUListForEach<Tracked>(list.Begin(), list.End(), &Tracked::Touch);
  EXPECT_EQ(gEvents, "TaTb");
}

}  // namespace
