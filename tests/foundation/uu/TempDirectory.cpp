#include "TempDirectory.h"

#include <filesystem>
#include <fstream>
#include <random>

TempDirectory::TempDirectory() {
  std::random_device random;
  const std::filesystem::path host =
      std::filesystem::path("/tmp") /
      ("vpluu" + std::to_string(random()) + std::to_string(random()));
  std::filesystem::create_directory(host);
  mHost = host.string();
  std::string windows = "C:" + mHost + "\\";
  for (char& c : windows) {
    if (c == '/') c = '\\';
  }
  mDirectory.Set(windows.c_str());
}

TempDirectory::~TempDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(mHost, ignored);
}

void TempDirectory::MakeFile(const std::string& name, const std::string& bytes) const {
  std::ofstream(mHost + "/" + name, std::ios::binary) << bytes;
}

void TempDirectory::MakeDirectory(const std::string& name) const {
  std::filesystem::create_directory(mHost + "/" + name);
}
