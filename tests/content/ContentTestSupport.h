#pragma once
// Where the content tests find the built data files (VPL_DATA_DIR, else
// the build's own output folder) and the sources (the project's data/),
// and a temporary folder of the running test's own.

#include "tools/databuilder/Manifest.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace content_fixtures {

inline std::filesystem::path DataDirectory() {
  const char* fromEnvironment = std::getenv("VPL_DATA_DIR");
  return fromEnvironment != nullptr && *fromEnvironment != '\0' ? fromEnvironment
                                                                : VPL_DEFAULT_DATA_DIR;
}

inline std::filesystem::path SourceDirectory() { return VPL_SOURCE_DATA_DIR; }

inline const databuilder::Manifest& SourceManifest() {
  static const databuilder::Manifest manifest =
      databuilder::Manifest::Read(SourceDirectory() / "manifest.toml");
  return manifest;
}

// A folder named after the running test, emptied first and removed at the
// end; it lies in the test program's own temporary folder, so that two runs
// at once never share it.
class TestFolder {
 public:
  TestFolder() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("vplcontent-") + test->test_suite_name() + "-" + test->name();
    for (char& c : name) {
      if (c == '/') c = '-';
    }
    mPath = std::filesystem::temp_directory_path() / name;
    std::error_code ignored;
    std::filesystem::remove_all(mPath, ignored);
    std::filesystem::create_directories(mPath);
  }
  ~TestFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(mPath, ignored);
  }
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  const std::filesystem::path& Get() const { return mPath; }

 private:
  std::filesystem::path mPath;
};

}  // namespace content_fixtures
