#pragma once
// A fresh host directory for one test, removed with its files afterwards,
// and its name as the system sees it.

#include "foundation/uu/UUDirectory.h"

#include <cstdlib>
#include <filesystem>
#include <string>

class ScratchDirectory {
 public:
  ScratchDirectory() {
    char pattern[] = "/tmp/vpl-scratch-XXXXXX";
    mHostPath = mkdtemp(pattern);
    std::string windows = "C:" + mHostPath + "/";
    for (char& c : windows) c = c == '/' ? '\\' : c;
    mDirectory.Set(windows.c_str());
  }
  ~ScratchDirectory() { std::filesystem::remove_all(mHostPath); }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const UUDirectory& Directory() const { return mDirectory; }
  std::string HostPath(const std::string& name) const { return mHostPath + "/" + name; }

 private:
  std::string mHostPath;
  UUDirectory mDirectory;
};
