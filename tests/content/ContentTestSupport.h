#pragma once
// Where the content tests find the built data files (VPL_DATA_DIR, else
// the build's own output folder) and the sources (the project's data/),
// a temporary folder of the running test's own, and how a rule test reads
// a check's findings.

#include "tools/databuilder/Manifest.h"
#include "tools/databuilder/check/ContentCheck.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <numbers>
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

// A quarter turn, to stand a fixture's flat shape in the plane a rule wants.
inline constexpr float kQuarterTurn = std::numbers::pi_v<float> / 2;

// The built data keep every rule of the check: each finding is a failure
// of its own.
using BuiltDataCheck = content_check::Findings (*)(const std::filesystem::path& folder,
                                                   const databuilder::Manifest& manifest);
inline void ExpectBuiltDataKeep(BuiltDataCheck check) {
  for (const std::string& finding : check(DataDirectory(), SourceManifest())) {
    ADD_FAILURE() << finding;
  }
}

// A fixture that breaks one rule is named for it first.
inline void ExpectFirstFindingSays(const content_check::Findings& findings, const char* says) {
  ASSERT_FALSE(findings.empty());
  EXPECT_NE(findings[0].find(says), std::string::npos) << findings[0];
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
