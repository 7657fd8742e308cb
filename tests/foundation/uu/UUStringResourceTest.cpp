#include "foundation/uu/UUStringResource.h"

#include "foundation/uu/UUString.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(UUStringResourceTest, LoadsTextsByIdModulo65536) {
  char buffer[kUUStringCapacity] = "junk";
  EXPECT_TRUE(UULoadString(425, buffer));
  EXPECT_STREQ(buffer, "Application Error");
  EXPECT_TRUE(UULoadStringItem(475, 0, buffer));
  EXPECT_STREQ(buffer, "Hd.mms");
  EXPECT_TRUE(UULoadString(16248, buffer));
  EXPECT_STREQ(buffer, "Hd.mms");
  EXPECT_TRUE(UULoadStringItem(483, 0, buffer));
  EXPECT_STREQ(buffer, "vpl3d.MMM");
  EXPECT_FALSE(UULoadStringItem(475, 1, buffer));
  EXPECT_STREQ(buffer, "");
}

TEST(UUStringResourceTest, MissingTextsGiveTheDefault) {
  char buffer[kUUStringCapacity];
  EXPECT_FALSE(UULoadStringWithDefault(375001, buffer, "fallback"));
  EXPECT_STREQ(buffer, "fallback");
  EXPECT_FALSE(UULoadStringItemWithDefault(375, 1, buffer, std::string(300, 'd').c_str()));
  EXPECT_EQ(std::string(buffer), std::string(255, 'd'));
  EXPECT_TRUE(UULoadStringWithDefault(428, buffer, "fallback"));
  EXPECT_STREQ(buffer, "Unknown system error.");
}

}  // namespace
