#pragma once
// Makes the registry store of the test's own unwritable from now on, as a
// full or removed disc would: its folder becomes a plain file.

#include <cstdlib>
#include <filesystem>
#include <fstream>

inline void MakeRegistryUnwritable() {
  const std::filesystem::path folder =
      std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "vpl3d";
  std::filesystem::remove_all(folder);
  std::ofstream(folder) << "not a folder";
}
