#pragma once
// A directory of the running test's own under the temporary directory, in
// which the tests put data files under the names the program looks for,
// and which goes with everything in it at the end; small good data files
// of every kind, made with the system's writers.

#include "foundation/uu/UUDirectory.h"
#include "foundation/uu/UUFileSystem.h"
#include "platform/win32/PathMapping.h"
#include "platform/win32/kernel.h"
#include "tests/support/ResourceFileFixtures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

namespace startup_fixtures {

// Each writes a small good file of its kind, of the given collection
// number, in the temporary directory under the given name.
using Writer = std::function<void(const std::string& tempName, int16_t collection)>;
void WriteScriptFile(const std::string& tempName, int16_t collection);
void WritePictureFile(const std::string& tempName, int16_t collection);
void WriteSoundFile(const std::string& tempName, int16_t collection);
void WriteFilmFile(const std::string& tempName, int16_t collection);
void WriteTextureFile(const std::string& tempName, int16_t collection);
void WriteModelFile(const std::string& tempName, int16_t collection);

class TestDirectory {
 public:
  // A directory a crashed run left behind is emptied first.
  explicit TestDirectory(const char* what) {
    const UUDirectory temp = resource_fixtures::TempDirectory();
    const std::string name = resource_fixtures::UniqueName(what);
    if (UUGetSubdirectory(temp, name.c_str(), mDirectory)) Remove();
    EXPECT_TRUE(UUCreateDirectory(temp, name.c_str(), mDirectory));
  }
  ~TestDirectory() { Remove(); }
  TestDirectory(const TestDirectory&) = delete;
  TestDirectory& operator=(const TestDirectory&) = delete;

  UUDirectory& Get() { return mDirectory; }

  // Moves a file the writers made in the temporary directory in here under
  // the name given, in place of a file of that name.
  void Adopt(const std::string& tempName, const char* name) {
    ASSERT_TRUE(UUDeleteFile(mDirectory, name));
    char from[kUUPathCapacity];
    char to[kUUPathCapacity];
    ASSERT_TRUE(UUMakeFilePath(from, resource_fixtures::TempDirectory(), tempName.c_str()));
    ASSERT_TRUE(UUMakeFilePath(to, mDirectory, name));
    ASSERT_TRUE(MoveFileA(from, to));
  }

  void WriteBytes(const char* name, const std::vector<uint8_t>& bytes) {
    const std::string tempName = resource_fixtures::UniqueName(name);
    resource_fixtures::WriteBytes(tempName, bytes);
    Adopt(tempName, name);
  }

 private:
  void Remove() {
    std::error_code ignored;
    if (mDirectory.IsSet()) {
      std::filesystem::remove_all(vpl::platform::ToHostPath(mDirectory.Text()), ignored);
    }
  }

  UUDirectory mDirectory;
};

}  // namespace startup_fixtures
