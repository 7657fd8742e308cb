#pragma once
// A folder of the test's own for the program's named semaphore and its
// user data, so that tests and a running program never meet.

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

class ShellTestFolder {
 public:
  explicit ShellTestFolder(const char* what)
      : mPath(std::filesystem::temp_directory_path() /
              (std::string("vpl3d-shell-") + what + "-" + std::to_string(getpid()))) {
    std::error_code ignored;
    std::filesystem::remove_all(mPath, ignored);
    std::filesystem::create_directories(mPath / "data", ignored);
    setenv("XDG_RUNTIME_DIR", mPath.c_str(), 1);
    setenv("XDG_DATA_HOME", (mPath / "data").c_str(), 1);
  }
  ~ShellTestFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(mPath, ignored);
  }
  ShellTestFolder(const ShellTestFolder&) = delete;
  ShellTestFolder& operator=(const ShellTestFolder&) = delete;

  const std::filesystem::path& Path() const { return mPath; }

 private:
  std::filesystem::path mPath;
};
