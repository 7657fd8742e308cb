#include "mm/tasks/MMTaskCallback.h"

#include "mm/tasks/MMTaskClient.h"
#include "tests/mm/tasks/TaskTestSupport.h"

#include <gtest/gtest.h>

namespace {

class MMTaskCallbackTest : public ::testing::Test, public TaskLog {
 protected:
  // A binding that owns a new logging callback.
  MMTaskCallback Bind(const std::string& name, MMTaskClient* client) {
    return MMTaskCallback(
        client, new (ALGlobalAllocator) LogCallback(&mLog, &mManager, name, {}, &mDeletions));
  }

  MMTaskClient mClient{&mManager};
  int mDeletions = 0;
};

TEST_F(MMTaskCallbackTest, PostingQueuesForTheNextRunInPostingOrder) {
  const MMTaskCallback a = Bind("a", &mClient);
  const MMTaskCallback b = Bind("b", &mClient);
  a.Post();
  b.Post();
  a.Post();
  EXPECT_EQ(Take(), Log{});
  mManager.RunUntil(0);
  EXPECT_EQ(Take(), (Log{"a@0", "b@0", "a@0"}));

  MMTaskCallback().Post();
  Bind("unbound", nullptr).Post();
  mManager.RunUntil(10);
  EXPECT_EQ(Take(), Log{});
}

TEST_F(MMTaskCallbackTest, CopiesShareTheCallbackAndAQueuedTaskKeepsItAlive) {
  {
    MMTaskCallback first = Bind("shared", &mClient);
    MMTaskCallback copy(first);
    MMTaskCallback assigned;
    assigned = copy;
    first = MMTaskCallback();
    EXPECT_EQ(mDeletions, 0);
    EXPECT_EQ(assigned.GetCallback().Get(), copy.GetCallback().Get());
    assigned.Post();
  }
  EXPECT_EQ(mDeletions, 0);
  mManager.RunUntil(0);
  EXPECT_EQ(Take(), Log{"shared@0"});
  EXPECT_EQ(mDeletions, 1);
}

TEST_F(MMTaskCallbackTest, MapKeepsTheFirstBindingOfEachKey) {
  MMTaskCallbackMap map;
  map.Insert(-5, Bind("minus", &mClient));
  map.Insert(7, Bind("seven", &mClient));
  map.Insert(7, Bind("replacement", &mClient));
  map.Insert(9, Bind("unbound", nullptr));
  EXPECT_EQ(mDeletions, 1);  // the dropped replacement

  EXPECT_TRUE(map.Contains(-5));
  EXPECT_FALSE(map.Contains(8));
  EXPECT_EQ(map.Find(8), map.End());
  EXPECT_EQ(MMTaskCallbackMap::EntryAt(map.Find(7)).mKey, 7);
  EXPECT_EQ(map.Get(8).GetClient(), nullptr);
  EXPECT_TRUE(map.Get(8).GetCallback().IsEmpty());

  EXPECT_TRUE(map.Post(7));
  EXPECT_TRUE(map.Post(-5));
  EXPECT_FALSE(map.Post(8));
  EXPECT_FALSE(map.Post(9));
  map.Get(7).Post();
  mManager.RunUntil(0);
  EXPECT_EQ(Take(), (Log{"seven@0", "minus@0", "seven@0"}));

  map.Erase(7);
  map.Erase(8);
  EXPECT_FALSE(map.Contains(7));
  EXPECT_EQ(mDeletions, 2);
  map.Clear();
  EXPECT_FALSE(map.Contains(-5));
  EXPECT_EQ(mDeletions, 4);
}

}  // namespace
