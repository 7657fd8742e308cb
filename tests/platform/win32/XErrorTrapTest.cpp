#include "platform/win32/XErrorTrap.h"

#include <gtest/gtest.h>

#include <cstdlib>

// Last: Xlib's macros would rename what the others declare.
#include <X11/Xlib.h>

using vpl::platform::XErrorTrap;

namespace {

// No window has this id: a request on it fails with BadWindow.
constexpr ::Window kNoWindow = 0x1;

int gOutsideErrors = 0;

int CountOutside(Display*, XErrorEvent*) {
  ++gOutsideErrors;
  return 0;
}

class XErrorTrapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::getenv("VPL3D_XVFB") == nullptr) GTEST_SKIP() << "needs the X display (VPL3D_XVFB)";
    mDisplay = XOpenDisplay(nullptr);
    ASSERT_NE(mDisplay, nullptr);
    gOutsideErrors = 0;
    mPrevious = XSetErrorHandler(CountOutside);
  }
  void TearDown() override {
    if (mDisplay == nullptr) return;
    XSetErrorHandler(mPrevious);
    XCloseDisplay(mDisplay);
  }

  // A request the server refuses, sent without waiting for its answer.
  void FailARequest() { XUnmapWindow(mDisplay, kNoWindow); }

  Display* mDisplay = nullptr;
  XErrorHandler mPrevious = nullptr;
};

TEST_F(XErrorTrapTest, CatchesARefusedRequestAndGivesTheHandlerBackOnXDisplay) {
  {
    XErrorTrap trap(mDisplay);
    FailARequest();
    EXPECT_TRUE(trap.Caught());
  }
  EXPECT_EQ(gOutsideErrors, 0);
  FailARequest();
  XSync(mDisplay, False);
  EXPECT_EQ(gOutsideErrors, 1);
  EXPECT_EQ(XSetErrorHandler(CountOutside), &CountOutside);
}

TEST_F(XErrorTrapTest, AnErrorLeftUnaskedIsStillTheTrapsOnXDisplay) {
  {
    XErrorTrap trap(mDisplay);
    FailARequest();
  }
  EXPECT_EQ(gOutsideErrors, 0);
}

TEST_F(XErrorTrapTest, GoodRequestsAndEarlierErrorsAreNotCaughtOnXDisplay) {
  FailARequest();
  XErrorTrap trap(mDisplay);
  XMapWindow(mDisplay, DefaultRootWindow(mDisplay));
  EXPECT_FALSE(trap.Caught());
  EXPECT_EQ(gOutsideErrors, 1);
}

TEST_F(XErrorTrapTest, NestedTrapsBothSeeTheErrorAndTheOuterHandlerComesBackOnXDisplay) {
  {
    XErrorTrap outer(mDisplay);
    {
      XErrorTrap inner(nullptr);
      FailARequest();
      XSync(mDisplay, False);
      EXPECT_TRUE(inner.Caught());
    }
    EXPECT_TRUE(outer.Caught());
  }
  EXPECT_EQ(XSetErrorHandler(CountOutside), &CountOutside);
}

}  // namespace
