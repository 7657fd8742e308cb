// Reads the input as a JPEG file, whole and reduced to fit, and through the
// picture importer. The program's memory pool refuses blocks it cannot
// hold; the fuzzer's allocator does the same above the pool's size, so a
// header that claims a huge picture costs a refusal, not the machine.

#include "app/shell/VPLPictureFiles.h"
#include "app/shell/VPLPictureImport.h"
#include "foundation/al/ALAllocator.h"
#include "foundation/uu/UUOwned.h"
#include "tests/fuzz/FuzzInputFile.h"
#include "tests/fuzz/StringListScript.h"

#include <cstdint>
#include <string>

namespace {

const char* kFileName = "vpljpeg-fuzz-input.jpg";
constexpr size_t kPoolSize = 16 * 1024 * 1024;
constexpr int32_t kTargetSide = 32;

class PoolSizedAllocator : public ALAllocator {
 public:
  void* Allocate(size_t size, ALMemToolsRecord* record) override {
    return size > kPoolSize ? nullptr : ALAllocator::Allocate(size, record);
  }
};

void SetUp() {
  static PoolSizedAllocator allocator;
  ALGlobalAllocator = &allocator;
  RegisterPictureExtensions();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = (SetUp(), true);
  (void)ready;
  const UUDirectory directory = WriteFuzzInputFile(kFileName, data, size);
  const std::string path = std::string(directory.Text()) + kFileName;
  UUOwned<MMBitmapWithPixels> whole(VPLReadJpegFile(path.c_str()));
  UUOwned<MMBitmapWithPixels> reduced(
      VPLReadJpegFileToFit(path.c_str(), UUPoint{kTargetSide, kTargetSide}));
  VPLLoadPictureToFit(directory, kFileName, UURect(0, 0, kTargetSide, kTargetSide));
  return 0;
}
