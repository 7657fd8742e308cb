#include "mm/stage/MMSharedStuff.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Counts its own deletion.
class CountedStuff : public MMSharedStuffBase {
 public:
  explicit CountedStuff(int* deleted) : mDeleted(deleted) {}
  ~CountedStuff() override { ++*mDeleted; }

 private:
  int* mDeleted;
};

class Holder {
 public:
  Holder(std::vector<std::string>* log, std::string name) : mLog(log), mName(std::move(name)) {}
  void Changed() { mLog->push_back(mName); }

 private:
  std::vector<std::string>* mLog;
  std::string mName;
};

// Logs and detaches its link.
class LetGo : public UUCallback {
 public:
  LetGo(MMSharedStuffLink* link, std::vector<std::string>* log) : mLink(link), mLog(log) {}
  void Invoke() override {
    mLog->push_back("leaving");
    mLink->Detach();
  }

 private:
  MMSharedStuffLink* mLink;
  std::vector<std::string>* mLog;
};

UUCallback* Notify(Holder* holder) {
  return new UUClassCallback<Holder, void (Holder::*)()>(holder, &Holder::Changed);
}

TEST(MMSharedStuffTest, TheLastLinkToLetGoDeletesTheObject) {
  int deleted = 0;
  auto* stuff = new CountedStuff(&deleted);
  {
    MMSharedStuffLink first(stuff);
    {
      MMSharedStuffLink second(stuff);
      EXPECT_EQ(stuff->GetLinkCount(), 2);
    }
    EXPECT_EQ(deleted, 0);
    EXPECT_EQ(stuff->GetLinkCount(), 1);
    // Attaching the only link again to its own object keeps the object.
    first.Attach(stuff);
    EXPECT_EQ(deleted, 0);
    EXPECT_EQ(stuff->GetLinkCount(), 1);
  }
  EXPECT_EQ(deleted, 1);
}

TEST(MMSharedStuffTest, ChangesAreAnnouncedToEveryHolderNewestFirst) {
  int deleted = 0;
  auto* stuff = new CountedStuff(&deleted);
  std::vector<std::string> log;
  Holder older(&log, "older");
  Holder newer(&log, "newer");
  MMSharedStuffLink first(stuff);
  first.SetCallback(Notify(&older));
  MMSharedStuffLink second(stuff);
  second.SetCallback(Notify(&newer));
  first.MarkChanged();
  EXPECT_TRUE(stuff->IsChanged());
  first.ClearChangedAndNotify();
  EXPECT_FALSE(stuff->IsChanged());
  EXPECT_EQ(log, (std::vector<std::string>{"newer", "older"}));

  // A holder that lets go of the object when told still lets the older
  // holders hear of the change.
  MMSharedStuffLink leaving(stuff);
  leaving.SetCallback(new LetGo(&leaving, &log));
  log.clear();
  first.ClearChangedAndNotify();
  EXPECT_EQ(log, (std::vector<std::string>{"leaving", "newer", "older"}));
  EXPECT_EQ(stuff->GetLinkCount(), 2);
}

TEST(MMSharedStuffTest, RebindingMovesTheLinkAndTellsItsHolder) {
  int deleted = 0;
  auto* oldStuff = new CountedStuff(&deleted);
  auto* newStuff = new CountedStuff(&deleted);
  std::vector<std::string> log;
  Holder holder(&log, "holder");
  MMSharedStuffLink keeper(newStuff);
  MMSharedStuffLink link(oldStuff);
  link.SetCallback(Notify(&holder));
  link.Rebind(oldStuff);
  EXPECT_TRUE(log.empty());
  link.Rebind(newStuff);
  EXPECT_EQ(deleted, 1);  // the old object lost its only link
  EXPECT_EQ(link.GetObject(), newStuff);
  EXPECT_EQ(newStuff->GetLinkCount(), 2);
  EXPECT_EQ(log, (std::vector<std::string>{"holder"}));
  link.Detach();
  link.Detach();
  EXPECT_EQ(newStuff->GetLinkCount(), 1);
}

}  // namespace
