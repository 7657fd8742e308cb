// Writes the JPEG fuzzer's seed corpus with the JPEG library: colour and
// grey pictures, baseline and progressive, and one of two components.

#include "tests/fuzz/SeedFiles.h"

#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

struct Seed {
  const char* name;
  int components;
  J_COLOR_SPACE space;
  bool progressive;
};

bool WriteSeed(const std::string& directory, const Seed& seed) {
  constexpr int kWidth = 19;
  constexpr int kHeight = 11;
  std::FILE* file = std::fopen((SeedDirectory(directory) + seed.name).c_str(), "wb");
  if (file == nullptr) return false;
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = kWidth;
  info.image_height = kHeight;
  info.input_components = seed.components;
  info.in_color_space = seed.space;
  jpeg_set_defaults(&info);
  if (seed.progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<size_t>(kWidth * seed.components));
  while (info.next_scanline < info.image_height) {
    for (size_t i = 0; i < row.size(); ++i) {
      row[i] = static_cast<JSAMPLE>(i * 13 + info.next_scanline * 29);
    }
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return std::fclose(file) == 0;
}

}  // namespace

int main(int argumentCount, char** arguments) {
  if (argumentCount != 2) {
    std::fprintf(stderr, "usage: %s <corpus directory>\n", arguments[0]);
    return 2;
  }
  const Seed seeds[] = {{"colour.jpg", 3, JCS_RGB, false},
                        {"grey.jpg", 1, JCS_GRAYSCALE, false},
                        {"progressive.jpg", 3, JCS_RGB, true},
                        {"two.jpg", 2, JCS_UNKNOWN, false}};
  for (const Seed& seed : seeds) {
    if (!WriteSeed(arguments[1], seed)) return 1;
  }
  return 0;
}
