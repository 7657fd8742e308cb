#pragma once
// A folder of a benchmark's own under /tmp, known to the program by its
// Windows name (drive C: is the root), removed with everything in it when
// the benchmark ends.

#include "foundation/uu/UUDirectory.h"

#include <cstdlib>
#include <filesystem>
#include <string>

class BenchScratch {
 public:
  explicit BenchScratch(const char* what) {
    std::string pattern = std::string("/tmp/vpl-bench-") + what + "-XXXXXX";
    mHost = mkdtemp(pattern.data());
    std::string windows = "C:" + mHost + "/";
    for (char& c : windows) c = c == '/' ? '\\' : c;
    mDirectory.Set(windows.c_str());
  }
  ~BenchScratch() { std::filesystem::remove_all(mHost); }
  BenchScratch(const BenchScratch&) = delete;
  BenchScratch& operator=(const BenchScratch&) = delete;

  const UUDirectory& Directory() const { return mDirectory; }
  std::string Host(const std::string& name) const { return mHost + "/" + name; }
  std::string Windows(const std::string& name) const {
    return std::string(mDirectory.Text()) + name;
  }

 private:
  std::string mHost;
  UUDirectory mDirectory;
};
