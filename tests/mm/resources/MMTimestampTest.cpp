#include "mm/resources/MMTimestamp.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::tm Fields(int year, int month, int day, int hour, int minute, int second, int saving) {
  std::tm fields{};
  fields.tm_year = year - 1900;
  fields.tm_mon = month - 1;
  fields.tm_mday = day;
  fields.tm_hour = hour;
  fields.tm_min = minute;
  fields.tm_sec = second;
  fields.tm_isdst = saving;
  return fields;
}

TEST(MMTimestampTest, PacksTheTableStamps) {
  EXPECT_EQ(MMPackTimestamp(Fields(2000, 9, 1, 14, 11, 27, 1)), 0xAA02E2DBu);
  EXPECT_EQ(MMPackTimestamp(Fields(2000, 8, 10, 11, 51, 1, -1)), 0x29D4BCC1u);
  EXPECT_EQ(MMPackTimestamp(Fields(2000, 8, 10, 11, 51, 1, 0)), 0x69D4BCC1u);
  // The year field wraps every 16 years.
  EXPECT_EQ(MMPackTimestamp(Fields(2006, 1, 1, 0, 0, 0, -1)),
            MMPackTimestamp(Fields(1990, 1, 1, 0, 0, 0, -1)));
}

TEST(MMTimestampTest, UnpacksCalendarFields) {
  std::tm fields{};
  MMUnpackTimestamp(&fields, 0x29D4BCC1);
  EXPECT_EQ(fields.tm_year, 100);
  EXPECT_EQ(fields.tm_mon, 7);
  EXPECT_EQ(fields.tm_mday, 10);
  EXPECT_EQ(fields.tm_hour, 11);
  EXPECT_EQ(fields.tm_min, 51);
  EXPECT_EQ(fields.tm_sec, 1);
  EXPECT_EQ(fields.tm_wday, 4);  // a Thursday
  EXPECT_EQ(MMPackTimestamp(Fields(1990, 1, 1, 0, 0, 0, -1)) >> 26 & 0xF, 0u);
}

TEST(MMTimestampTest, KeysAndTheCheck) {
  char key[kMMTimestampKeySize];
  MMFormatTimestampKey(key, "MMS", 0);
  EXPECT_STREQ(key, "MM_TIMESTAMP_MMS_0000");
  MMFormatTimestampKey(key, "MMP", 26);
  EXPECT_STREQ(key, "MM_TIMESTAMP_MMP_001A");
  MMFormatTimestampKey(key, "MMA", 0x12345);
  EXPECT_STREQ(key, "MM_TIMESTAMP_MMA_2345");
  EXPECT_TRUE(MMIsTimestampKey(key));
  EXPECT_FALSE(MMIsTimestampKey("MM_TIMESTAM"));
  EXPECT_STREQ(MMRegisterTimestampName(), "MM_REGISTER_TIMESTAMP");
  MMCheckTimestamp("XYZ", 7, 1, 2);  // not in the table: no effect
}

}  // namespace
