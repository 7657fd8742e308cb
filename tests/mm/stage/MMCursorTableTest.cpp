#include <gtest/gtest.h>

#include <vector>

#include "mm/stage/MMCursor.h"
#include "mm/stage/MMCursorTable.h"

namespace {

// Records its tear-down in the order the table destroys cursors.
class TrackedCursor : public MMCursor {
 public:
  TrackedCursor(int id, std::vector<int>& log) : MMCursor(nullptr, nullptr), mId(id), mLog(log) {}
  void Detach() override { mLog.push_back(mId); }

 private:
  int mId;
  std::vector<int>& mLog;
};

TEST(MMCursorTableTest, SetKeepsTheFirstCursorAndReplaceDestroysTheOld) {
  std::vector<int> destroyed;
  MMCursorTable table;
  auto* first = new TrackedCursor(1, destroyed);
  table.Set(5, first);
  table.Set(5, new TrackedCursor(2, destroyed));
  EXPECT_EQ(table.Get(5), first);
  EXPECT_EQ(destroyed, std::vector<int>{2});

  auto* third = new TrackedCursor(3, destroyed);
  table.Replace(5, third);
  EXPECT_EQ(table.Get(5), third);
  EXPECT_EQ(destroyed, (std::vector<int>{2, 1}));
  EXPECT_EQ(table.Get(6), nullptr);
}

TEST(MMCursorTableTest, EraseAndClearDestroyEveryCursorOnce) {
  std::vector<int> destroyed;
  {
    MMCursorTable table;
    for (int id = 0; id < 4; ++id) table.Set(id, new TrackedCursor(id, destroyed));
    table.Erase(2);
    table.Erase(9);
    EXPECT_EQ(table.Count(), 3u);
    EXPECT_EQ(destroyed, std::vector<int>{2});
  }
  EXPECT_EQ(destroyed, (std::vector<int>{2, 0, 1, 3}));
}

}  // namespace
