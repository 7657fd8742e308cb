// Reads a database of display trees and delayed references from the
// input, then walks every tree, computes every world matrix, finds joints
// up and down, renders through culling, light and deforming nodes, with
// every mesh block deformed once, and checks that each resolved reference
// names a node of the trees. A file that reads
// must write, read back and write again to the same bytes.

#include "mm3d/MM3DDeformerScratch.h"
#include "mm3d/MM3DMatrix.h"
#include "mm3d/MM3DRenderContext.h"
#include "mm3d/MM3DStandardPipeline.h"
#include "mm3d/MM3DStandardRenderer.h"
#include "tests/fuzz/DisplayTreeFile.h"
#include "tests/mm3d/MM3DStreams.h"

#include <cstdint>
#include <cstdlib>
#include <set>
#include <vector>

namespace {

// Computes the world matrix of every node it visits and keeps the nodes.
class WorldVisitor : public MM3DDisplayTreeVisitor {
 public:
  MM3DVisitResult Visit(MM3DDisplayTreeNode& node) override {
    MM3DMatrix world;
    node.GetWorldMatrix(world);
    mNodes.insert(&node);
    mLast = &node;
    return kMM3DVisitContinue;
  }

  std::set<MM3DDisplayTreeNode*> mNodes;
  MM3DDisplayTreeNode* mLast = nullptr;
};

void Require(bool condition) {
  if (!condition) std::abort();
}

void Exercise(DisplayTreeFile& file) {
  WorldVisitor visitor;
  MM3DStandardPipeline pipeline;
  // Without a driver it keeps its state and draws nothing.
  MM3DStandardRenderer renderer{UURefCount<MM3DDriver>()};
  MM3DRenderContext context(true);
  for (UUOwned<MM3DDisplayTreeNode>& tree : file.mTrees) {
    if (tree.IsEmpty()) continue;
    Require(tree->Accept(visitor, kMM3DVisitDown));
    tree->FindNodeOfKind(kMM3DNodeJoint, kMM3DVisitDown);
    visitor.mLast->FindNodeOfKind(kMM3DNodeJoint, kMM3DVisitUp);
    tree->Render(context, pipeline, renderer);
    Require(context.GetLights().Count() == 0 && context.GetAmbientLights().Count() == 0 &&
            context.GetDeformers().Count() == 0 && context.GetShaders().Count() == 0 &&
            !context.IsAllInside());
  }
  for (auto& reference : file.mNodeReferences) {
    Require(reference->Get() == nullptr || visitor.mNodes.count(reference->Get()) == 1);
  }
  for (auto& reference : file.mJointReferences) {
    Require(reference->Get() == nullptr || reference->Get()->GetKind() == kMM3DNodeJoint);
  }
}

std::vector<uint8_t> Write(DisplayTreeFile& file) {
  ByteWriter writer;
  Require(file.Write(writer));
  return writer.mBytes;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  MM3DCreateDeformerScratchArrays();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DisplayTreeFile file;
  ByteReader reader(std::vector<uint8_t>(data, data + size));
  const bool read = file.Read(reader);
  Exercise(file);
  if (!read) return 0;
  const std::vector<uint8_t> bytes = Write(file);
  DisplayTreeFile copy;
  ByteReader copyReader(bytes);
  Require(copy.Read(copyReader) && copyReader.Remaining() == 0);
  Exercise(copy);
  Require(Write(copy) == bytes);
  return 0;
}
