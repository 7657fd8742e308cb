#include "tests/app/support/AppFixtures.h"

#include "mm/resources/MMScriptCollection.h"
#include "mm3d/MM3DDisplayTreeDataNodes.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DDisplayTreeNodeWithVisibility.h"
#include "mm3d/MM3DLinearSpline.h"
#include "mm3d/MM3DMaterialLambert.h"
#include "mm3d/MM3DModelLoader.h"
#include "tests/mm3d/MM3DMeshBuilders.h"
#include "tests/mm3d/MM3DModelSupport.h"
#include "tests/support/ResourceFileFixtures.h"

#include <vector>

namespace app_fixtures {

namespace {

using resource_fixtures::Bytes;
using resource_fixtures::ScriptEntry;

// Row sizes of the two layouts: tagged rows (and the camera script, whose
// model id lies at byte 8), and vector rows of five int32.
constexpr int16_t kTaggedRows = 0;
constexpr int16_t kVectorRows = 1;
constexpr int16_t kTaggedRowSize = 12;
constexpr int16_t kVectorRowSize = 20;

const MM3DVector kTowardCamera(0.0f, 0.0f, -1.0f, 0.0f);

// A tagged row: the tag, then the value's bytes from byte 2.
std::vector<uint8_t> Row(int16_t tag, const Bytes& value) {
  Bytes row;
  row.U16(static_cast<uint16_t>(tag));
  for (uint8_t b : value.Get()) row.U8(b);
  row.Zeros(kTaggedRowSize - row.Size());
  return row.Get();
}

std::vector<uint8_t> Number(int16_t tag, uint32_t value) { return Row(tag, Bytes().U32(value)); }
std::vector<uint8_t> Reference(int16_t tag, int16_t n) {
  return Row(tag, Bytes().U16(static_cast<uint16_t>(n)));
}

ScriptEntry Tagged(const std::vector<std::vector<uint8_t>>& rows) {
  std::vector<uint8_t> bytes;
  for (const std::vector<uint8_t>& row : rows) bytes.insert(bytes.end(), row.begin(), row.end());
  return ScriptEntry{kTaggedRows, static_cast<int16_t>(rows.size()), bytes, std::string()};
}

ScriptEntry Vector(int32_t x, int32_t y, int32_t z, int32_t w, int32_t d) {
  Bytes row;
  for (int32_t v : {x, y, z, w, d}) row.U32(static_cast<uint32_t>(v));
  return ScriptEntry{kVectorRows, 1, row.Get(), std::string()};
}

// The camera script's rows: the model id at byte 8.
ScriptEntry CameraRows(const std::vector<MMResourceId>& models) {
  std::vector<std::vector<uint8_t>> rows;
  for (MMResourceId id : models) {
    rows.push_back(Bytes().Zeros(8).U32(static_cast<uint32_t>(id)).Get());
  }
  return Tagged(rows);
}

resource_fixtures::ScriptFileContents Scripts(const ExtraTables& extra, const RawTables& raw) {
  resource_fixtures::ScriptFileContents contents;
  contents.rowSizes = {kTaggedRowSize, kVectorRowSize};
  contents.entries.assign(kScriptCount, Tagged({}));
  const auto quad = static_cast<uint32_t>(ModelId(kQuadItem));
  // References are 1-based: entry e is e + 1.
  contents.entries[kPlacedButton] =
      Tagged({Number(0, quad), Reference(2, kPlacementVector + 1), Reference(3, kScaleVector + 1),
              Reference(4, kRotationVector + 1)});
  contents.entries[kPlacementVector] = Vector(3, 6, 9, 1, 3);
  contents.entries[kScaleVector] = Vector(4, 4, 4, 0, 2);
  contents.entries[kRotationVector] = Vector(0, 0, 1, 0, 2);
  contents.entries[kTaggedLayout] = Tagged({Number(9, 1), Number(5, kLayoutNumber), Number(9, 2),
                                            Reference(6, 1), Reference(7, -1), Reference(8, 0)});
  contents.entries[kPlainButton] = Tagged({Number(0, quad)});
  contents.entries[kSoundList] =
      Tagged({Bytes().U32(UINT32_MAX).Zeros(8).Get(),
              Bytes().U32(static_cast<uint32_t>(kListSound)).Zeros(8).Get()});
  contents.entries[kZeroDivisorVector] = Vector(1, 2, 3, 4, 0);
  contents.entries[kCameraScript] = CameraRows({ModelId(kCameraItem), ModelId(kQuadItem)});
  contents.entries[kBackdropTable] = Tagged({Number(0, quad)});
  contents.entries[kCursorTable] =
      Tagged({Bytes().U32(quad).Zeros(8).Get(),
              Bytes().U32(static_cast<uint32_t>(ModelId(kTwoMeshItem))).Zeros(8).Get(),
              Bytes().U32(UINT32_MAX).Zeros(8).Get()});
  for (const auto& [entry, rows] : extra) {
    std::vector<std::vector<uint8_t>> tagged;
    for (const TaggedRow& row : rows) tagged.push_back(Number(row.mTag, row.mValue));
    const auto index = static_cast<size_t>(entry);
    if (index >= contents.entries.size()) contents.entries.resize(index + 1, Tagged({}));
    contents.entries[index] = Tagged(tagged);
  }
  for (const auto& [entry, table] : raw) {
    const auto index = static_cast<size_t>(entry);
    if (index >= contents.entries.size()) contents.entries.resize(index + 1, Tagged({}));
    std::vector<std::vector<uint8_t>> rows;
    for (const std::vector<uint8_t>& row : table.mRows) {
      rows.push_back(row);
      rows.back().resize(kTaggedRowSize);
    }
    ScriptEntry written = Tagged(rows);
    written.texts = table.mTexts;
    contents.entries[index] = written;
  }
  return contents;
}

// A square in the x-y plane around the centre, facing the camera, as one
// block of two triangles.
UURefCount<MM3DIndexedMeshVertexData> Square(float centreX, float half) {
  const float l = centreX - half;
  const float r = centreX + half;
  return MakeBlock({{l, -half, 0, 1},
                    {r, -half, 0, 1},
                    {r, half, 0, 1},
                    {l, -half, 0, 1},
                    {r, half, 0, 1},
                    {l, half, 0, 1}},
                   std::vector<MM3DVector>(6, kTowardCamera));
}

MM3DDisplayTreeNodeIndexedMesh* Mesh(UURefCount<MM3DMaterial> material,
                                     UURefCount<MM3DIndexedMeshVertexData> block) {
  auto* mesh = new MM3DDisplayTreeNodeIndexedMesh;
  MM3DIndexedMeshPart part;
  part.mMaterial = std::move(material);
  part.mBlocks.Append(std::move(block));
  mesh->AddPart(part);
  return mesh;
}

UURefCount<MM3DModel> ModelOf(MM3DDisplayTreeNodeRoot* root) {
  return UURefCount<MM3DModel>(
      new MM3DModel(UUOwned<MM3DDisplayTreeNode>(root), UUOwned<MM3DAnimationClip>()));
}

}  // namespace

UURefCount<MM3DModel> MakeQuad() {
  auto* root = new MM3DDisplayTreeNodeRoot;
  root->AddChild(UUOwned<MM3DDisplayTreeNode>(
      Mesh(UURefCount<MM3DMaterial>(new MM3DMaterialLambert), Square(0.0f, kQuadHalfSide))));
  return ModelOf(root);
}

MM3DDisplayTreeNodeIndexedMesh* MakeSquareMesh(float centreX) {
  return Mesh(UURefCount<MM3DMaterial>(new MM3DMaterialLambert), Square(centreX, kQuadHalfSide));
}

UURefCount<MM3DModel> MakeIndexedModel(const std::vector<MM3DVector>& positions,
                                       const std::vector<uint16_t>& indices,
                                       const MM3DVector& normal) {
  UURefCount<MM3DIndexedMeshVertexData> block(new MM3DIndexedMeshVertexData);
  for (const MM3DVector& position : positions) {
    block->mPositions.Append(position);
    block->mNormals.Append(normal);
  }
  for (uint16_t index : indices) block->mIndices.Append(index);
  auto* root = new MM3DDisplayTreeNodeRoot;
  root->AddChild(UUOwned<MM3DDisplayTreeNode>(
      Mesh(UURefCount<MM3DMaterial>(new MM3DMaterialLambert), std::move(block))));
  return ModelOf(root);
}

MM3DIndexedMeshVertexData& FirstMeshBlock(MM3DDisplayTreeNode* root) {
  auto* mesh = static_cast<MM3DDisplayTreeNodeIndexedMesh*>(
      root->FindNodeOfKind(kMM3DNodeIndexedMesh, kMM3DVisitDown));
  return *mesh->GetPart(0).mBlocks[0];
}

UURefCount<MM3DModel> MakeTexturedQuad() {
  UURefCount<MM3DIndexedMeshVertexData> block = Square(0.0f, kQuadHalfSide);
  // The square's corners as Square lays them out; v grows downwards.
  const MM3DTextureCoordinate corners[] = {{0, 1}, {1, 1}, {1, 0}, {0, 1}, {1, 0}, {0, 0}};
  for (const MM3DTextureCoordinate& corner : corners) block->mTextureCoordinates[0].Append(corner);
  auto* root = new MM3DDisplayTreeNodeRoot;
  root->AddChild(UUOwned<MM3DDisplayTreeNode>(
      Mesh(UURefCount<MM3DMaterial>(new MM3DMaterialLambert), std::move(block))));
  return ModelOf(root);
}

UURefCount<MM3DModel> MakeMeshesModel(const std::vector<std::vector<MM3DVector>>& meshes,
                                      const std::vector<std::vector<MM3DPackedColor>>& colours) {
  auto* root = new MM3DDisplayTreeNodeRoot;
  for (size_t m = 0; m < meshes.size(); ++m) {
    UURefCount<MM3DIndexedMeshVertexData> block =
        MakeBlock(meshes[m], std::vector<MM3DVector>(meshes[m].size(), kTowardCamera));
    if (m < colours.size()) {
      for (const MM3DPackedColor& colour : colours[m]) block->mColors.Append(colour);
    }
    root->AddChild(UUOwned<MM3DDisplayTreeNode>(
        Mesh(UURefCount<MM3DMaterial>(new MM3DMaterialConstant), std::move(block))));
  }
  return ModelOf(root);
}

UURefCount<MM3DModel> MakeTwoMeshes() {
  auto* root = new MM3DDisplayTreeNodeRoot;
  root->AddChild(UUOwned<MM3DDisplayTreeNode>(
      Mesh(UURefCount<MM3DMaterial>(new MM3DMaterialLambert), Square(0.0f, kQuadHalfSide))));
  auto* toggle = new MM3DDisplayTreeNodeWithVisibility;
  toggle->AddChild(UUOwned<MM3DDisplayTreeNode>(Mesh(
      UURefCount<MM3DMaterial>(new MM3DMaterialConstant), Square(kSecondMeshX, kQuadHalfSide))));
  root->AddChild(UUOwned<MM3DDisplayTreeNode>(toggle));
  return ModelOf(root);
}

UURefCount<MM3DModel> MakeInterfaceCamera() {
  UURefCount<MM3DModel> model = ModelOf(new MM3DDisplayTreeNodeRoot);
  model->GetCameras().PushBack(UURefCount<MM3DCamera>(
      new MM3DCamera(kCameraEye, UUOwned<MM3DVector>(new MM3DVector(kCameraInterest)), 0.0f)));
  return model;
}

RawTable TaggedTexts(const std::vector<std::pair<int16_t, std::string>>& rows) {
  RawTable table;
  for (const auto& [tag, text] : rows) {
    table.mRows.push_back(Bytes()
                              .U16(static_cast<uint16_t>(tag))
                              .U32(static_cast<uint32_t>(table.mTexts.size()))
                              .Get());
    table.mTexts += text;
    table.mTexts.push_back('\0');
  }
  return table;
}

RawTable Int16Row(const std::vector<int16_t>& values) {
  Bytes row;
  for (int16_t value : values) row.U16(static_cast<uint16_t>(value));
  return RawTable{{row.Get()}, std::string()};
}

UURefCount<MM3DModel> MakePath() {
  UUGrowableArray<MM3DVector> points;
  points.Append(kPathStart);
  points.Append(kPathEnd);
  auto* root = new MM3DDisplayTreeNodeRoot;
  root->AddChild(UUOwned<MM3DDisplayTreeNode>(
      new MM3DDisplayTreeNodeSpline(UURefCount<MM3DSpline>(new MM3DLinearSpline(points, false)))));
  return ModelOf(root);
}

AppFiles::AppFiles(const ExtraTables& extra, const RawTables& raw)
    : mScriptName(resource_fixtures::UniqueName("appscripts")),
      mModelName(resource_fixtures::UniqueName("appmodels")) {
  resource_fixtures::WriteScripts(mScriptName, 0, Scripts(extra, raw));
  mScripts.reset(MMOpenScriptFile(resource_fixtures::TempDirectory(), mScriptName.c_str()));
  if (!model_fixtures::WriteModelFile(
          resource_fixtures::TempDirectory(), mModelName.c_str(),
          static_cast<int16_t>(kModelCollection),
          {MakeQuad(), MakeTwoMeshes(), MakeInterfaceCamera(), MakeTexturedQuad(), MakePath()})) {
    return;
  }
  mModels.reset(
      MM3DOpenModelResourceFile(resource_fixtures::TempDirectory(), mModelName.c_str(), false));
}

AppFiles::~AppFiles() {
  mModels.reset();
  mScripts.reset();
  resource_fixtures::Remove(mModelName);
  resource_fixtures::Remove(mScriptName);
}

}  // namespace app_fixtures
