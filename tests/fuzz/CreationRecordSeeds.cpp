// Writes the creation-record fuzzer's seed corpus with the creation's own
// writer: an empty creation, one with a pulsing character model, a still
// model and a moved camera, one with Pomble posed, two parts off and its
// ghost, and one with a group nested in a group.
#include "app/creation/VPLObjCreationChar.h"
#include "app/creation/VPLObjCreationGroup.h"
#include "app/creation/VPLObjCreationUser.h"
#include "app/creation/VPLPombleVisual.h"
#include "foundation/uu/UUMemory.h"
#include "mm/stage/MMStage.h"
#include "mm3d/MM3DModelCollection.h"
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

// Pomble as the creation area adds it, then posed and dressed.
bool WritePomble(CreationFuzzStage& stage, const std::string& directory) {
  const std::unique_ptr<VPLCreation> creation = stage.NewCreation();
  const UURefCount<MM3DModel> model =
      MM3DGetModel(MMMakeResourceId(0, 174), stage.mRun.mStage->GetTextureMap());
  if (!model) return false;
  auto* pomble = new VPLObjCreationChar(&stage.mScene, model, creation.get());
  pomble->CreatePartHighlight();
  creation->AddObjectAt(pomble, MM3DVector(3, 0, -2, 1));
  VPLPombleVisual& visual = *pomble->GetPoseVisual();
  visual.AllPartsOn();
  visual.SetLeftArmOn(false);
  visual.SetRightFootOn(false);
  visual.SetPartPose(kVPLHead, 0.7578125f, false);
  visual.SetPartPose(kVPLTorso, 0.25f, false);
  pomble->SetRepeat(true);
  pomble->SetAnimationChoice(1);
  pomble->SetColors(MM3DColor{0.2f, 0.4f, 1, 0}, MM3DColor{1, 0.8f, 0.1f, 0});
  return WriteCreation(*creation, directory, "pomble.bin");
}

VPLObjCreation* Showcase(CreationFuzzStage& stage, VPLCreation& creation, const MM3DVector& at) {
  auto* object = new VPLObjCreationUser(&stage.mScene, model_fixtures::MakeShowcase(), &creation);
  object->SetLocation(at);
  return object;
}

// A group on its first member's model, the others added after it.
VPLObjCreationGroup* GroupOf(VPLCreation& creation, VPLObjCreation* first, VPLObjCreation* second) {
  auto* group = new VPLObjCreationGroup(first->GetScene(), first->GetModel(), &creation);
  group->AppendChild(first);
  group->AddChild(second, false);
  return group;
}

bool WriteNestedGroups(CreationFuzzStage& stage, const std::string& directory) {
  const std::unique_ptr<VPLCreation> creation = stage.NewCreation();
  VPLObjCreationGroup* inner =
      GroupOf(*creation, Showcase(stage, *creation, MM3DVector(4, 0, 0, 1)),
              Showcase(stage, *creation, MM3DVector(6, 1, 0, 1)));
  creation->AddObject(
      GroupOf(*creation, Showcase(stage, *creation, MM3DVector(0, 0, 0, 1)), inner));
  return WriteCreation(*creation, directory, "nested-groups.bin");
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
  written = written && WritePomble(stage, arguments[1]);
  written = written && WriteNestedGroups(stage, arguments[1]);
  return written ? 0 : 1;
}
