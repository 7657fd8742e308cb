#include "mm/resources/MMResourceCollection.h"

#include "foundation/af/AFMemoryPool.h"
#include "mm/resources/MMCollectionRegistry.h"
#include "mm/resources/MMReferenceManager.h"
#include "mm/resources/MMResourceReference.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Records the passes it receives; its LoadReferenced answers as told.
class Recorder : public MMResourceCollection {
 public:
  Recorder(std::string* log, char name, bool loads) : mLog(log), mName(name), mLoads(loads) {}
  bool LoadReferenced() override {
    *mLog += std::string("L") + mName;
    return mLoads;
  }
  void EndLoadReferenced(bool success) override {
    *mLog += std::string(success ? "E" : "e") + mName;
  }
  void PurgeUnreferenced() override { *mLog += std::string("P") + mName; }

 private:
  std::string* mLog;
  char mName;
  bool mLoads;
};

TEST(MMResourceCollectionTest, ActSwitchPassesRunInConstructionOrder) {
  std::string log;
  {
    Recorder a(&log, 'a', true);
    Recorder b(&log, 'b', false);
    Recorder c(&log, 'c', true);
    MMResourceCollection::PurgeAllUnreferenced();
    EXPECT_FALSE(MMResourceCollection::ReloadAllReferenced());
  }
  EXPECT_EQ(log, "PaPbPcLaLbea");
  EXPECT_TRUE(MMResourceCollection::AllCollections().IsEmpty());
}

TEST(MMResourceCollectionTest, RegistryResolvesDirectSlotsAndTheOverflowMap) {
  MMCollectionRegistry<int> registry;
  int first = 1;
  int* second = new int(2);  // the registry deletes it when it is replaced
  int third = 3;
  registry.Set(&first, 7);
  registry.Set(second, 8);
  EXPECT_EQ(registry.Get(MMCollectionOf(0x00070003)), &first);
  EXPECT_EQ(registry.Get(MMCollectionOf(0x00080003)), second);
  EXPECT_EQ(MMItemOf(0x00080003), 3);
  EXPECT_EQ(registry.Get(9), nullptr);
  registry.Set(&third, 8);
  registry.Set(&first, 300);
  EXPECT_EQ(registry.Count(), 3);
  EXPECT_EQ(registry.GetNth(1), &third);
  EXPECT_EQ(registry.GetNth(2), &first);
  registry.Remove(8);
  registry.Remove(7);
  EXPECT_EQ(registry.Count(), 1);
  EXPECT_TRUE(registry.Contains(&first));
}

// The list of every collection and the registries live until the process
// ends: collections made and registered while an application's pool is
// current leave nothing of the pool in use, and both still work once the
// pool is gone.
TEST(MMResourceCollectionTest, ListAndRegistryOutliveAnApplicationsPool) {
  std::string log;
  MMCollectionRegistry<MMResourceCollection> registry;
  ALAllocator* const saved = ALGlobalAllocator;
  {
    AFMemoryPool pool(1024 * 1024);
    ALGlobalAllocator = &pool;
    {
      Recorder inPool(&log, 'p', true);
      registry.Set(&inPool, 9);
      registry.Remove(9);
    }
    ALGlobalAllocator = saved;
    EXPECT_EQ(pool.GetBytesInUse(), 0u);
  }
  Recorder after(&log, 'a', true);
  registry.Set(&after, 10);
  MMResourceCollection::PurgeAllUnreferenced();
  EXPECT_EQ(log, "Pa");
  EXPECT_EQ(registry.Get(10), &after);
  registry.Remove(10);
}

TEST(MMResourceCollectionTest, ReferencesCountThroughTheirManager) {
  MMResourceCache cache("c", 4);
  MMStandardReferenceManager manager(4, cache);
  {
    MMResourceReference a(&manager, 2);
    EXPECT_TRUE(cache.IsReferenced(2));
    MMResourceReference b = a;
    EXPECT_EQ(manager.ReferenceCount(2), 2);
    b.Set(&manager, 2);  // the same item: never drops to 0 in between
    EXPECT_EQ(manager.ReferenceCount(2), 2);
    b.Set(&manager, 3);
    EXPECT_EQ(manager.ReferenceCount(2), 1);
    b.Release();
    EXPECT_TRUE(b.IsEmpty());
    EXPECT_FALSE(cache.IsReferenced(3));
  }
  EXPECT_FALSE(cache.IsReferenced(2));

  MMDummyReferenceManager dummy(10);
  dummy.AddReference(4);
  dummy.AddReference(9);
  EXPECT_EQ(dummy.ReferenceCount(0), 2);
  dummy.ReleaseReference(0);
  dummy.ReleaseReference(0);
  dummy.ReleaseReference(0);
  EXPECT_EQ(dummy.ReferenceCount(0), 32767);  // a total of -1
}

}  // namespace
