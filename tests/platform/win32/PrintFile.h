#pragma once
// A print file for one test: VPL3D_PRINT_FILE points into a fresh scratch
// directory while it lives, and what a job wrote there is read back with
// poppler's pdfinfo and pdftoppm: the pages, their size and their pixels.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace vpl::test {

// One page rasterised, top row first.
struct PrintedPage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> rgb;

  // 0x00RRGGBB.
  uint32_t At(int32_t x, int32_t y) const {
    const uint8_t* p = &rgb[static_cast<size_t>((ptrdiff_t{y} * width + x) * 3)];
    return static_cast<uint32_t>(p[0]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[2];
  }
  // Whether the pixel has the colour (0x00RRGGBB), give or take what the
  // rasteriser's colour handling changes.
  bool Shows(int32_t x, int32_t y, uint32_t colour) const {
    const uint32_t pixel = At(x, y);
    for (int shift = 0; shift <= 16; shift += 8) {
      const int difference =
          static_cast<int>((pixel >> shift) & 0xFF) - static_cast<int>((colour >> shift) & 0xFF);
      if (difference < -kTolerance || difference > kTolerance) return false;
    }
    return true;
  }

  static constexpr int kTolerance = 8;
};

class PrintFile {
 public:
  PrintFile() {
    char pattern[] = "/tmp/vpl-print-XXXXXX";
    mDirectory = mkdtemp(pattern);
    mPath = mDirectory + "/printed.pdf";
    setenv("VPL3D_PRINT_FILE", mPath.c_str(), 1);
  }
  ~PrintFile() {
    unsetenv("VPL3D_PRINT_FILE");
    std::filesystem::remove_all(mDirectory);
  }
  PrintFile(const PrintFile&) = delete;
  PrintFile& operator=(const PrintFile&) = delete;

  const std::string& Path() const { return mPath; }
  bool Exists() const { return std::filesystem::exists(mPath); }
  // Files in the directory: only the print file once a job is over.
  size_t FileCount() const {
    auto entries = std::filesystem::directory_iterator(mDirectory);
    return static_cast<size_t>(std::distance(begin(entries), end(entries)));
  }
  // Points the print file into a directory that does not exist.
  void MoveIntoMissingDirectory() {
    setenv("VPL3D_PRINT_FILE", (mDirectory + "/missing/printed.pdf").c_str(), 1);
  }

  // What pdfinfo tells of the file: its pages and the first one's size.
  struct Info {
    int pages = 0;
    double widthInPoints = 0;
    double heightInPoints = 0;
  };
  Info ReadInfo() const {
    Info info;
    std::string output;
    if (std::FILE* pipe = popen(("pdfinfo '" + mPath + "' 2>/dev/null").c_str(), "r")) {
      char buffer[256];
      while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
      pclose(pipe);
    }
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
      std::istringstream fields(line.substr(line.find(':') + 1));
      std::string by;
      if (line.rfind("Pages:", 0) == 0) fields >> info.pages;
      if (line.rfind("Page size:", 0) == 0)
        fields >> info.widthInPoints >> by >> info.heightInPoints;
    }
    return info;
  }

  // The page (from 1) rasterised at the resolution.
  PrintedPage Rasterise(int page, int dotsPerInch) const {
    const std::string prefix = mDirectory + "/page";
    const std::string command = "pdftoppm -r " + std::to_string(dotsPerInch) + " -f " +
                                std::to_string(page) + " -l " + std::to_string(page) +
                                " -singlefile '" + mPath + "' '" + prefix + "'";
    PrintedPage result;
    if (std::system(command.c_str()) != 0) return result;
    std::ifstream in(prefix + ".ppm", std::ios::binary);
    std::string magic;
    int maximum = 0;
    in >> magic >> result.width >> result.height >> maximum;
    in.get();
    result.rgb.resize(static_cast<size_t>(result.width) * static_cast<size_t>(result.height) * 3);
    in.read(reinterpret_cast<char*>(result.rgb.data()),
            static_cast<std::streamsize>(result.rgb.size()));
    std::filesystem::remove(prefix + ".ppm");
    return result;
  }

 private:
  std::string mDirectory;
  std::string mPath;
};

}  // namespace vpl::test
