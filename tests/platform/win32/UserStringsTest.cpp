#include "platform/win32/testhooks.h"
#include "platform/win32/user.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr UINT kCaptionId = 101;
constexpr UINT kUnusedId = 30000;
constexpr int kBufferSize = 64;

std::string Load(UINT id) {
  char buffer[kBufferSize] = "stale";
  return LoadStringA(nullptr, id, buffer, kBufferSize) > 0 ? buffer : "<missing>";
}

TEST(UserStringsTest, TestsCanChangeAddAndRemoveEntriesUntilReset) {
  const std::string caption = Load(kCaptionId);
  vpl::platform::SetStringTableEntry(kCaptionId, nullptr);
  vpl::platform::SetStringTableEntry(kUnusedId + 65536, "added");
  EXPECT_EQ(Load(kCaptionId), "<missing>");
  EXPECT_EQ(Load(kUnusedId), "added");
  vpl::platform::ResetStringTable();
  EXPECT_EQ(Load(kCaptionId), caption);
  EXPECT_EQ(Load(kUnusedId), "<missing>");
}

}  // namespace
