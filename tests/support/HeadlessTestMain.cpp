// The main of every test program. A test program runs headless and alone
// however it is started (by ctest, by hand, beside other runs): the
// drivers not chosen by the caller are the headless ones, and every file a
// test writes in the temporary directory or the user's configuration lands
// in a folder of this process, removed at the end.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

void SetIfUnset(const char* name, const char* value) { setenv(name, value, 0); }

// A fresh folder under the caller's temporary directory, which both the
// platform layer (TMPDIR) and GoogleTest (TEST_TMPDIR) answer from now on.
std::string MakeOwnTempFolder() {
  const char* parent = std::getenv("TMPDIR");
  std::string pattern = parent != nullptr && parent[0] == '/' ? parent : "/tmp";
  pattern += "/vpl-tests-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) return {};
  setenv("TMPDIR", pattern.c_str(), 1);
  setenv("TEST_TMPDIR", pattern.c_str(), 1);
  // The registry and the preferences live in the configuration folder.
  const std::string config = pattern + "/config";
  std::error_code ignored;
  std::filesystem::create_directory(config, ignored);
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  return pattern;
}

}  // namespace

int main(int argc, char** argv) {
  SetIfUnset("SDL_VIDEODRIVER", "offscreen");
  SetIfUnset("SDL_AUDIODRIVER", "dummy");
  SetIfUnset("VPL3D_TEST", "1");
  const std::string folder = MakeOwnTempFolder();
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  std::error_code ignored;
  if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
  return result;
}
