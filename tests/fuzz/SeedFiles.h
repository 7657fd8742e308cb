#pragma once
// Writing seed files for the fuzzers. The corpus directory may be given as
// a plain path or as the Windows path the system's programs take ("C:\"
// standing for the root, backslashes between the names).

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

inline std::string SeedDirectory(std::string directory) {
  if (directory.size() >= 2 && directory[1] == ':') directory.erase(0, 2);
  for (char& c : directory) {
    if (c == '\\') c = '/';
  }
  if (directory.empty() || directory.back() != '/') directory += '/';
  return directory;
}

inline bool WriteSeedFile(const std::string& directory, const std::string& name,
                          const std::vector<uint8_t>& bytes) {
  std::FILE* file = std::fopen((SeedDirectory(directory) + name).c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}
