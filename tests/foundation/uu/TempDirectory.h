#pragma once
// A fresh host directory under /tmp for one test, removed with everything
// in it afterwards, named for the system as a Windows path.

#include "foundation/uu/UUDirectory.h"

#include <string>

class TempDirectory {
 public:
  TempDirectory();
  ~TempDirectory();
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;

  // The directory itself, as the system names it (ending in a backslash).
  const UUDirectory& Directory() const { return mDirectory; }
  // The Windows path of a name inside the directory.
  std::string Path(const std::string& name) const { return mDirectory.Text() + name; }
  // Host-relative names use slashes.
  void MakeFile(const std::string& name, const std::string& bytes) const;
  void MakeDirectory(const std::string& name) const;

 private:
  std::string mHost;
  UUDirectory mDirectory;
};
