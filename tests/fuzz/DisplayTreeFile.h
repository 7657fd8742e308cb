#pragma once
// The file the display-tree fuzzer reads and its seed writer writes: a
// "mod " database header, tagged records up to the end tag (delayed
// references to any node, which are written ahead of their targets, display
// trees, and delayed references to joints), then the delayed-reference
// table. The database comes with two lights, a spline and two materials,
// one unlit and one lit, for light, spline and mesh nodes to name.

#include "foundation/uu/UUOwned.h"
#include "mm3d/MM3DColor.h"
#include "mm3d/MM3DDelayedReference.h"
#include "mm3d/MM3DDisplayTreeNodeJoint.h"
#include "mm3d/MM3DLightSources.h"
#include "mm3d/MM3DLinearSpline.h"
#include "mm3d/MM3DMaterialLambert.h"
#include "mm3d/MM3DModDatabase.h"

#include <memory>
#include <vector>

class DisplayTreeFile : public MM3DModDatabase {
 public:
  enum Tag : int32_t { kTreeTag = 1, kNodeReferenceTag = 2, kJointReferenceTag = 3 };

  DisplayTreeFile() {
    GetLights().Append(UURefCount<MM3DLight>(
        new MM3DPointLightSource(MM3DVector(1, 2, 3, 1), {1.0f, 1.0f, 1.0f, 1.0f}, 1.0f)));
    GetLights().Append(
        UURefCount<MM3DLight>(new MM3DAmbientLightSource({0.25f, 0.5f, 0.75f, 1.0f}, 1.0f)));
    UUGrowableArray<MM3DVector> points;
    points.Append(MM3DVector(0, 0, 0, 1));
    points.Append(MM3DVector(1, 2, 3, 1));
    GetSplines().Append(UURefCount<MM3DSpline>(new MM3DLinearSpline(points, false)));
    GetMaterials().Append(UURefCount<MM3DMaterial>(new MM3DMaterialConstant));
    GetMaterials().Append(UURefCount<MM3DMaterial>(new MM3DMaterialLambert));
  }

  bool ReadRecord(UUReader& reader, int32_t tag) override {
    switch (tag) {
      case kTreeTag: {
        mTrees.emplace_back();
        return MM3DReadDisplayTreeNode(reader, *this, mTrees.back());
      }
      case kNodeReferenceTag:
        mNodeReferences.push_back(std::make_unique<MM3DDelayedReference<MM3DDisplayTreeNode>>());
        return mNodeReferences.back()->Read(reader);
      case kJointReferenceTag:
        mJointReferences.push_back(
            std::make_unique<MM3DDelayedReference<MM3DDisplayTreeNodeJoint>>());
        return mJointReferences.back()->Read(reader);
      default:
        return RejectRecord(reader);
    }
  }

  bool Read(UUReader& reader) {
    MM3DDatabase::ResetReferenceTables();
    const bool read = ReadHeader(reader) && ReadRecords(reader);
    // The table is always read, so that the tables end empty.
    return ResolveDelayedReferences(reader) && read;
  }

  bool Write(UUWriter& writer) {
    MM3DDatabase::ResetReferenceTables();
    bool good = WriteHeader(writer);
    for (auto& reference : mNodeReferences) {
      good = good && WriteTag(writer, kNodeReferenceTag) && reference->Write(writer);
    }
    for (UUOwned<MM3DDisplayTreeNode>& tree : mTrees) {
      good = good && WriteTag(writer, kTreeTag) && tree->WriteNode(writer, *this);
    }
    for (auto& reference : mJointReferences) {
      good = good && WriteTag(writer, kJointReferenceTag) && reference->Write(writer);
    }
    good = good && WriteEndTag(writer);
    return MM3DDatabase::WriteDelayedReferenceTable(writer) && good;
  }

  std::vector<UUOwned<MM3DDisplayTreeNode>> mTrees;
  std::vector<std::unique_ptr<MM3DDelayedReference<MM3DDisplayTreeNode>>> mNodeReferences;
  std::vector<std::unique_ptr<MM3DDelayedReference<MM3DDisplayTreeNodeJoint>>> mJointReferences;

 private:
  static bool WriteTag(UUWriter& writer, int32_t tag) { return writer.WriteInt32s(&tag, 1); }
};
