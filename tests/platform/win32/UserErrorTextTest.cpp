#include "platform/win32/user.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string TextOf(DWORD code) {
  char buffer[256] = {};
  const DWORD length =
      FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code, 0, buffer, sizeof buffer, nullptr);
  return std::string(buffer, length);
}

// Every code the layer itself answers reaches the error box as a text.
TEST(UserErrorTextTest, EveryCodeTheLayerAnswersHasAText) {
  constexpr DWORD kCodes[] = {ERROR_TOO_MANY_OPEN_FILES,
                              ERROR_BAD_FORMAT,
                              ERROR_WRITE_PROTECT,
                              ERROR_NOT_READY,
                              ERROR_CRC,
                              ERROR_SEEK,
                              ERROR_WRITE_FAULT,
                              ERROR_READ_FAULT,
                              ERROR_GEN_FAILURE,
                              ERROR_SHARING_VIOLATION,
                              ERROR_WRONG_DISK,
                              ERROR_HANDLE_EOF,
                              ERROR_FILE_EXISTS,
                              ERROR_DISK_FULL,
                              ERROR_NEGATIVE_SEEK,
                              ERROR_FILENAME_EXCED_RANGE,
                              ERROR_MEDIA_CHANGED,
                              ERROR_NO_MEDIA_IN_DRIVE,
                              ERROR_IO_DEVICE};
  for (const DWORD code : kCodes) EXPECT_FALSE(TextOf(code).empty()) << code;
  EXPECT_EQ(TextOf(ERROR_DISK_FULL), "There is not enough space on the disk.");
}

}  // namespace
