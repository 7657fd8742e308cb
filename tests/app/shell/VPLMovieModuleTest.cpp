// The movie module's start when the module cannot be had: one message, no
// movies, and nothing to stop.

#include "app/shell/VPLMovieModule.h"
#include "platform/win32/testhooks.h"
#include "platform/win32/user.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

constexpr UINT kNoMoviesMessage = 112;

std::string StringOf(UINT id) {
  char text[512];
  return LoadStringA(nullptr, id, text, sizeof text) > 0 ? text : "";
}

TEST(VPLMovieModuleTest, AMissingModuleShowsItsMessageOnceAndStartsNothing) {
  setenv("VPL3D_MISSING_MODULES", "qtmlClient.dll", 1);
  VPLMovieModule movies;
  const int boxesBefore = vpl::platform::MessageBoxCount();
  EXPECT_FALSE(movies.Start());
  EXPECT_EQ(vpl::platform::MessageBoxCount(), boxesBefore + 1);
  EXPECT_EQ(vpl::platform::LastMessageBoxText(), StringOf(kNoMoviesMessage));
  movies.Stop();
  movies.Stop();
  EXPECT_EQ(vpl::platform::MessageBoxCount(), boxesBefore + 1);
  unsetenv("VPL3D_MISSING_MODULES");
}

}  // namespace
