// Writes the creation-record fuzzer's seed corpus with the creation's own
// writer: an empty creation, and one with a pulsing character model, a
// still model and a moved camera.
#include "app/creation/VPLObjCreationUser.h"
#include "foundation/uu/UUMemory.h"
#include "tests/fuzz/CreationFuzzScene.h"
#include "tests/fuzz/SeedFiles.h"
#include "tests/mm3d/MM3DModelSupport.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int32_t kBlockSize = 1 << 20;

bool WriteCreation(VPLCreation& creation, const std::string& directory, const char* name) {
  std::vector<uint8_t> block(kBlockSize);
  UUMemory stream(block.data(), kBlockSize);
  int32_t length = 0;
  if (!creation.Write(stream) || !stream.Tell(&length)) return false;
  return WriteSeedFile(directory, name,
                       std::vector<uint8_t>(block.begin(), block.begin() + length));
}

}  // namespace

int main(int argumentCount, char** arguments) {
  if (argumentCount != 2) {
    std::fprintf(stderr, "usage: %s <corpus directory>\n", arguments[0]);
    return 2;
  }
  CreationFuzzStage stage;
  const std::unique_ptr<VPLCreation> creation = stage.NewCreation();
  bool written = WriteCreation(*creation, arguments[1], "empty.bin");
  auto* pulsing =
      new VPLObjCreationUser(&stage.mScene, model_fixtures::MakeCharacter(), creation.get());
  pulsing->SetColors(MM3DColor{1, 1, 1, 1}, MM3DColor{0.5f, 0.2f, 0.2f, 1});
  creation->AddObjectAt(pulsing, MM3DVector(1, 2, 3, 1));
  creation->AddObjectAt(
      new VPLObjCreationUser(&stage.mScene, model_fixtures::MakeShowcase(), creation.get()),
      MM3DVector(-5, 0, 2, 1));
  creation->OrbitCameraNegative(0.4f);
  written = written && WriteCreation(*creation, arguments[1], "two-objects.bin");
  return written ? 0 : 1;
}
