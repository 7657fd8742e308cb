// Reads the input as a creation record into a fresh creation, writes what
// was read and reads that again, and deletes the creation.
#include "foundation/uu/UUMemory.h"
#include "tests/fuzz/CreationFuzzScene.h"
#include "tests/mm3d/MM3DStreams.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

constexpr int32_t kOutputSize = 1 << 22;

CreationFuzzStage& Stage() {
  static CreationFuzzStage* stage = new CreationFuzzStage;
  return *stage;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CreationFuzzStage& stage = Stage();
  std::unique_ptr<VPLCreation> creation = stage.NewCreation();
  ByteReader reader(std::vector<uint8_t>(data, data + size));
  if (!creation->Read(reader)) return 0;
  // What was read whole writes again, and that reads back.
  std::vector<uint8_t> block(kOutputSize);
  UUMemory output(block.data(), kOutputSize);
  if (!creation->Write(output)) std::abort();
  int32_t length = 0;
  output.Tell(&length);
  std::unique_ptr<VPLCreation> copy = stage.NewCreation();
  ByteReader again(std::vector<uint8_t>(block.begin(), block.begin() + length));
  if (!copy->Read(again)) std::abort();
  return 0;
}
