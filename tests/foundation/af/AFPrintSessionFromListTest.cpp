#include "foundation/af/AFPrintSessionFromList.h"

#include "platform/win32/testhooks.h"
#include "tests/platform/win32/PrintFile.h"

#include <gtest/gtest.h>

#include <vector>

using vpl::test::PrintFile;

namespace {

constexpr LONG kTestDpi = 75;

// Counts its drawings and deletions and answers as it was told.
class CountingItem : public AFPrintable {
 public:
  CountingItem(bool answer, int& draws, int& deletions)
      : mAnswer(answer), mDraws(draws), mDeletions(deletions) {}
  ~CountingItem() override { ++mDeletions; }
  bool Draw(AFPrintSessionBase&) override {
    ++mDraws;
    return mAnswer;
  }

 private:
  bool mAnswer;
  int& mDraws;
  int& mDeletions;
};

class ListSession : public AFPrintSessionFromList {
 public:
  ListSession() : AFPrintSessionFromList(AFPalette()) {}
  bool BuildPage(int32_t, UUList<AFPrintable*>& items) override {
    for (bool answer : mItemAnswers) items.PushBack(new CountingItem(answer, mDraws, mDeletions));
    return mBuilt;
  }

  std::vector<bool> mItemAnswers;
  bool mBuilt = true;
  int mDraws = 0;
  int mDeletions = 0;
};

class AFPrintSessionFromListTest : public testing::Test {
 protected:
  void SetUp() override { vpl::platform::SetPrinterResolutions({POINT{kTestDpi, kTestDpi}}); }
  void TearDown() override { vpl::platform::ResetPrinterResolutions(); }

  PrintFile mFile;
};

TEST_F(AFPrintSessionFromListTest, PrintsEveryItemOfThePageAndDeletesThem) {
  ListSession session;
  session.mItemAnswers = {true, true, true};
  EXPECT_EQ(session.Print("Items"), AFPrintSessionBase::kPrintDone);
  EXPECT_EQ(session.mDraws, 3);
  EXPECT_EQ(session.mDeletions, 3);
  EXPECT_TRUE(mFile.Exists());
}

TEST_F(AFPrintSessionFromListTest, AFailingItemFailsThePageButTheOthersStillPrint) {
  ListSession session;
  session.mItemAnswers = {true, false, true};
  EXPECT_EQ(session.Print("Items"), AFPrintSessionBase::kPrintPageFailed);
  EXPECT_EQ(session.mDraws, 3);
  EXPECT_EQ(session.mDeletions, 3);
  EXPECT_FALSE(mFile.Exists());
}

TEST_F(AFPrintSessionFromListTest, APageThatCannotBeBuiltPrintsNothingAndDeletesItsItems) {
  ListSession session;
  session.mItemAnswers = {true, true};
  session.mBuilt = false;
  EXPECT_EQ(session.Print("Items"), AFPrintSessionBase::kPrintPageFailed);
  EXPECT_EQ(session.mDraws, 0);
  EXPECT_EQ(session.mDeletions, 2);
}

}  // namespace
