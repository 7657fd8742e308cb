// Reads the input as a sketch file (its thumbnail and a creation record
// behind it) and as a sketchbook's index file.

#include "app/shell/VPLSketch.h"
#include "app/shell/VPLSketchbook.h"
#include "tests/fuzz/FuzzInputFile.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace {

const char* kFileName = "vplsketch-fuzz-input";

// Reads a length and that many bytes, as a creation reads its record.
class LengthPrefixedCreation : public VPLSketchCreation {
 public:
  bool Write(UURandomAccessStream&) override { return false; }
  bool Read(UURandomAccessStream& stream) override {
    int32_t size = 0;
    if (!stream.ReadInt32s(&size, 1) || size < 0 || size > kMaxBytes) return false;
    mBytes.resize(static_cast<size_t>(size));
    return stream.Read(mBytes.data(), static_cast<uint32_t>(size));
  }

 private:
  static constexpr int32_t kMaxBytes = 1 << 20;
  std::vector<uint8_t> mBytes;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const UUDirectory directory = WriteFuzzInputFile(kFileName, data, size);
  VPLSketch sketch(directory, kFileName);
  std::unique_ptr<MMBitmapWithPixels> thumbnail(MMBitmapWithPixels::Create(
      UURect(0, 0, kVPLSketchThumbnailSize, kVPLSketchThumbnailSize), kMMFormat32, nullptr));
  sketch.ReadThumbnail(*thumbnail);
  LengthPrefixedCreation creation;
  sketch.ReadCreation(creation);
  VPLIsSketchFile(directory, kFileName);

  const UUDirectory book = WriteFuzzInputFile(kVPLSketchbookIndexName, data, size);
  const VPLSketchbook sketchbook(book);
  (void)sketchbook;
  return 0;
}
