#include "foundation/uu/UUCallback.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

struct Base {
  int mPadding = 0;
};

struct Target : Base {
  virtual ~Target() = default;
  void Plain() { mLog += "p"; }
  bool WithFlag(bool flag) {
    mLog += flag ? "T" : "F";
    return flag;
  }
  void One(int value) { mLog += std::to_string(value); }
  void Two(char a, int b) { mLog += a + std::to_string(b); }
  std::string mLog;
};

TEST(UUCallbackTest, InvokesTheMemberWithItsStoredArguments) {
  Target target;
  std::unique_ptr<UUCallback> callbacks[] = {
      std::make_unique<UUClassCallback<Target, void (Target::*)()>>(&target, &Target::Plain),
      std::make_unique<UUClassCallback<Target, bool (Target::*)(bool)>>(&target, &Target::WithFlag),
      std::make_unique<UUClassCallback1Parameter<Target, void (Target::*)(int), int>>(
          &target, &Target::One, 7),
      std::make_unique<UUClassCallback2Parameters<Target, void (Target::*)(char, int), char, int>>(
          &target, &Target::Two, 'x', 3),
  };
  for (auto& callback : callbacks) callback->Invoke();
  callbacks[2]->Invoke();
  EXPECT_EQ(target.mLog, "pF7x37");
}

}  // namespace
