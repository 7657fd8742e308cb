#include "tests/app/creation/CreationSupport.h"

#include "app/creation/VPLObjCreationGroup.h"
#include "foundation/uu/UUOwned.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DDisplayTreeNodeWithVisibility.h"
#include "mm3d/MM3DMaterialLambert.h"
#include "tests/mm3d/MM3DMeshBuilders.h"

namespace creation_support {

app_fixtures::ExtraTables CreationTables() {
  return {
      {VPLCreation::kSettingsScript,
       {{VPLCreation::kGroundTag, 1},
        {VPLCreation::kBackgroundTag, static_cast<uint32_t>(kDefaultBackground)}}},
      {VPLObjCreation::kSoundScript,
       {{0, static_cast<uint32_t>(kSpinSound)},
        {1, static_cast<uint32_t>(kJiggleSound)},
        {2, static_cast<uint32_t>(kPathSound)}}},
  };
}

UURefCount<MM3DModel> LitMeshModel(int32_t vertices) {
  std::vector<MM3DVector> positions;
  std::vector<MM3DVector> normals;
  for (int32_t i = 0; i < vertices; ++i) {
    positions.emplace_back(static_cast<float>(i) * 0.001f, static_cast<float>(i % 5), 0.0f, 1.0f);
    normals.emplace_back(0.0f, 0.0f, -1.0f, 0.0f);
  }
  MM3DIndexedMeshPart part;
  part.mMaterial = UURefCount<MM3DMaterial>(new MM3DMaterialLambert);
  part.mBlocks.Append(MakeBlock(positions, normals));
  auto* mesh = new MM3DDisplayTreeNodeIndexedMesh;
  mesh->AddPart(part);
  auto* root = new MM3DDisplayTreeNodeRoot;
  root->AddChild(UUOwned<MM3DDisplayTreeNode>(mesh));
  return UURefCount<MM3DModel>(
      new MM3DModel(UUOwned<MM3DDisplayTreeNode>(root), UUOwned<MM3DAnimationClip>()));
}

UURefCount<MM3DModel> ModelNeedingMoreScratch() {
  constexpr int32_t kVertices = 7500;
  return LitMeshModel(kVertices);
}

VPLObjCreationGroup* GroupOf(const std::vector<VPLObjCreation*>& members, VPLCreation* creation) {
  VPLObjCreation* first = members.front();
  // Its turn goes into its mesh like the others', so that the group reads
  // back exactly as written.
  first->BakeScale();
  auto* group = new VPLObjCreationGroup(first->GetScene(), first->GetModel(), creation);
  group->AppendChild(first);
  for (size_t i = 1; i < members.size(); ++i) group->AddChild(members[i], false);
  group->RefreshBounds();
  return group;
}

}  // namespace creation_support
