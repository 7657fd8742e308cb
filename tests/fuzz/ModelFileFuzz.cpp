// Opens the input as a model resource file and reads every model in it,
// applies each clip at a few times and walks each tree with the ordinal
// visitors, which must agree with each other.
#include "foundation/af/AFError.h"
#include "foundation/uu/UUFile.h"
#include "foundation/uu/UUFileSystem.h"
#include "mm3d/MM3DDriverTextureMap.h"
#include "mm3d/MM3DModel.h"
#include "mm3d/MM3DModelLoader.h"
#include "mm3d/MM3DNodeOrdinalVisitors.h"
#include "tests/fuzz/FuzzInputFile.h"

#include <cstdint>
#include <cstdlib>

namespace {

const char* kFileName = "vplmodel-fuzz-input.mmm";
// The largest tree walked node by node: the walk is quadratic.
constexpr int32_t kMaxWalkedNodes = 4096;

void ApplyClip(MM3DAnimationClip& clip) {
  const float start = clip.GetStartTime();
  const float end = clip.GetEndTime();
  for (float time : {start, (start + end) * 0.5f, end, clip.GetEarliestStart()}) clip.Apply(time);
  clip.ApplyBlended(start, 0.25f, end, 0.75f);
}

void WalkTree(MM3DModel& model) {
  MM3DDisplayTreeNode* top = model.GetDisplayTree();
  for (int32_t ordinal = 1; ordinal <= kMaxWalkedNodes; ++ordinal) {
    MM3DDisplayTreeNode* node = MM3DFindNodeByOrdinal(top, ordinal);
    if (node == nullptr) break;
    if (MM3DGetNodeOrdinal(top, node) != ordinal) std::abort();
  }
  for (int32_t i = 0; i < model.GetNamedNodeCount(); ++i) {
    const MM3DNamedNode& entry = model.GetNamedNode(i);
    if (entry.mNode != nullptr && MM3DGetNodeOrdinal(top, entry.mNode) == 0) std::abort();
    model.FindNamedNode(entry.mName.get());
  }
}

void ReadEveryModel(MM3DModelLoader& loader) {
  MM3DDriverTextureMap map;
  for (int16_t i = 0; i < loader.GetSubfileCount(); ++i) {
    UURefCount<MM3DModel> model = loader.GetModel(i, &map);
    if (model.IsEmpty()) continue;
    if (MM3DAnimationClip* clip = model->GetAnimationClip()) ApplyClip(*clip);
    WalkTree(*model);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const UUDirectory directory = WriteFuzzInputFile(kFileName, data, size);
  // The first byte's low bit chooses whether the extension is read too.
  const bool keepNames = size > 0 && (data[0] & 1) != 0;
  if (MM3DModelLoader* loader = MM3DOpenModelResourceFile(directory, kFileName, keepNames)) {
    ReadEveryModel(*loader);
    MM3DDestroyModelCollections();
  }
  return 0;
}
