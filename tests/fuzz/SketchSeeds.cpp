// Writes the sketch fuzzer's seed corpus with the program's own writer: a
// blank sketch, a sketch with a creation record, a small thumbnail and a
// sketchbook index.

#include "app/shell/VPLSketch.h"
#include "foundation/uu/UUFile.h"
#include "foundation/uu/UUFileSystem.h"
#include "tests/fuzz/SeedFiles.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

class SmallCreation : public VPLSketchCreation {
 public:
  bool Write(UURandomAccessStream& stream) override {
    const int32_t size = 3;
    const uint8_t bytes[] = {1, 2, 3};
    return stream.WriteInt32s(&size, 1) && stream.Write(bytes, 3);
  }
  bool Read(UURandomAccessStream&) override { return false; }
};

bool WriteSketchSeed(const std::string& directory, const std::string& name, int32_t side,
                     VPLSketchCreation* creation) {
  std::unique_ptr<MMBitmapWithPixels> thumbnail(
      MMBitmapWithPixels::Create(UURect(0, 0, side, side), kMMFormat32, nullptr));
  for (int32_t y = 0; y < side; ++y) {
    for (int32_t x = 0; x < side * 4; ++x)
      thumbnail->GetPixelAddress(0, y)[x] = static_cast<uint8_t>(x + y);
  }
  UUDirectory corpus;
  corpus.Set(directory.c_str());
  UUFile file(corpus, name.c_str(), kUUFileCreate, UUFileOptions{});
  return VPLWriteSketch(file, 0x5F000000, creation, *thumbnail) && file.Close();
}

}  // namespace

int main(int argumentCount, char** arguments) {
  if (argumentCount != 2) {
    std::fprintf(stderr, "usage: %s <corpus directory>\n", arguments[0]);
    return 2;
  }
  std::string windows = arguments[1];
  if (windows.size() < 2 || windows[1] != ':') windows = "C:" + windows;
  SmallCreation creation;
  const bool written = WriteSketchSeed(windows, "blank", kVPLSketchThumbnailSize, nullptr) &&
                       WriteSketchSeed(windows, "creation", kVPLSketchThumbnailSize, &creation) &&
                       WriteSketchSeed(windows, "small", 4, &creation) &&
                       WriteSeedFile(arguments[1], "index", {0, 0, 0, 0x5F, 2, 0, 3, 0});
  return written ? 0 : 1;
}
