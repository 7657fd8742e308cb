#include "platform/win32/version.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::string ProgramPath() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

std::vector<uint8_t> ProgramBlock() {
  DWORD handle = 7;
  const DWORD size = GetFileVersionInfoSizeA(ProgramPath().c_str(), &handle);
  EXPECT_GT(size, 0u);
  EXPECT_EQ(handle, 0u);
  std::vector<uint8_t> block(size);
  EXPECT_TRUE(GetFileVersionInfoA(ProgramPath().c_str(), handle, size, block.data()));
  return block;
}

std::string QueryText(const std::vector<uint8_t>& block, const char* path) {
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), path, &value, &length)) return "<none>";
  return std::string(static_cast<const char*>(value), length);
}

TEST(VersionInfoTest, TheProgramsBlockAnswersItsValues) {
  const std::vector<uint8_t> block = ProgramBlock();

  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", &value, &length));
  ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
  VS_FIXEDFILEINFO fixed;
  std::memcpy(&fixed, value, sizeof fixed);
  EXPECT_EQ(fixed.dwSignature, VS_FFI_SIGNATURE);
  EXPECT_EQ(fixed.dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed.dwProductVersionMS, 0x00010000u);

  ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &value, &length));
  ASSERT_EQ(length, 4u);
  const auto* bytes = static_cast<const uint8_t*>(value);
  const std::vector<uint8_t> translation(bytes, bytes + 4);
  EXPECT_EQ(translation, (std::vector<uint8_t>{0x09, 0x04, 0xE4, 0x04}));

  const struct {
    const char* path;
    std::string text;
  } cases[] = {
      {"\\StringFileInfo\\040904E4\\ProductName", std::string("Vantry's Plorvia 3D", 20)},
      {"\\StringFileInfo\\040904E4\\FileVersion", std::string("1.0", 4)},
      {"\\StringFileInfo\\040904E4\\VersionDescription", std::string("Vantry's Plorvia 3D", 20)},
      {"\\stringfileinfo\\040904e4\\fileversion", std::string("1.0", 4)},
      {"\\StringFileInfo\\040904E4\\Comments", "<none>"},
      {"\\StringFileInfo\\040904B0\\FileVersion", "<none>"},
      {"\\StringFileInfo\\040904E4\\FileVersion\\More", "<none>"},
      {"\\StringFileInfo", "<none>"},
      {"\\Nothing", "<none>"},
  };
  for (const auto& c : cases) EXPECT_EQ(QueryText(block, c.path), c.text) << c.path;
}

TEST(VersionInfoTest, OtherFilesHaveNoVersionResource) {
  char pattern[] = "/tmp/vplversionXXXXXX";
  const int file = mkstemp(pattern);
  ASSERT_GE(file, 0);
  close(file);
  const std::string other = std::string("C:") + pattern;
  uint8_t buffer[4096];
  DWORD handle = 7;

  EXPECT_EQ(GetFileVersionInfoSizeA(other.c_str(), &handle), 0u);
  EXPECT_EQ(GetLastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);
  EXPECT_FALSE(GetFileVersionInfoA(other.c_str(), 0, sizeof buffer, buffer));
  EXPECT_EQ(GetLastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);
  unlink(pattern);

  EXPECT_EQ(GetFileVersionInfoSizeA(other.c_str(), &handle), 0u);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(GetFileVersionInfoA(other.c_str(), 0, sizeof buffer, buffer));

  const DWORD size = GetFileVersionInfoSizeA(ProgramPath().c_str(), &handle);
  EXPECT_FALSE(GetFileVersionInfoA(ProgramPath().c_str(), 0, size - 1, buffer));
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

// Every byte after the root's length replaced by a few values: queries
// stay inside the block (the sanitizers watch) and answer or refuse.
// The root's own length is the only bound a query has, so it stays sound.
TEST(VersionInfoTest, DamagedBlocksAreNeverReadOutside) {
  const std::vector<uint8_t> sound = ProgramBlock();
  const char* paths[] = {"\\", "\\VarFileInfo\\Translation",
                         "\\StringFileInfo\\040904E4\\ProductName",
                         "\\StringFileInfo\\040904E4\\Comments"};
  for (size_t at = 2; at < sound.size(); ++at) {
    for (uint8_t damage : {uint8_t{0x00}, uint8_t{0x03}, uint8_t{0x7F}, uint8_t{0xFF}}) {
      std::vector<uint8_t> block = sound;
      block[at] = damage;
      for (const char* path : paths) {
        void* value = nullptr;
        UINT length = 0;
        if (VerQueryValueA(block.data(), path, &value, &length)) {
          const auto* first = static_cast<const uint8_t*>(value);
          ASSERT_GE(first, block.data());
          ASSERT_LE(first + length, block.data() + block.size());
        } else {
          EXPECT_EQ(value, nullptr);
          EXPECT_EQ(length, 0u);
        }
      }
    }
  }
}

}  // namespace
