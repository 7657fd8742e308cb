#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"

#include "mm3d/MM3DDeformerRecords.h"
#include "mm3d/MM3DIndexedMeshDeformer.h"
#include "mm3d/MM3DIndexedMeshTextureCoordinateMapper.h"
#include "mm3d/MM3DModDatabase.h"
#include "mm3d/MM3DPipeline.h"
#include "mm3d/MM3DRenderContext.h"
#include "mm3d/MM3DSceneChanges.h"

#include <utility>

namespace {

// The viewer's position in the mesh's model space: the origin of camera
// space brought back through world x camera.
MM3DVector EyeInModelSpace(const MM3DMatrix& world, const MM3DMatrix& camera) {
  MM3DMatrix inverseModelView;
  MM3DMatrixMultiply(inverseModelView, world, camera);
  inverseModelView.InvertAffine();
  MM3DVector eye;
  inverseModelView.TransformPoint(eye, MM3DVector(0.0f, 0.0f, 0.0f, 1.0f));
  return eye;
}

bool WriteBlock(UUWriter& writer, const UURefCount<MM3DIndexedMeshVertexData>& block) {
  if (!block.IsEmpty()) return block->Write(writer);
  return MM3DIndexedMeshVertexData().Write(writer);
}

bool ReadBlock(UUReader& reader, UURefCount<MM3DIndexedMeshVertexData>& block) {
  block.Reset(new MM3DIndexedMeshVertexData);
  return block->Read(reader);
}

}  // namespace

void MM3DDisplayTreeNodeIndexedMesh::Rasterize(MM3DRenderContext& context, MM3DPipeline& pipeline,
                                               MM3DRenderer& renderer, const MM3DMatrix& world) {
  context.SetModelMatrix(world);
  context.TransformLights();
  const MM3DVector eye = EyeInModelSpace(world, pipeline.GetCameraMatrix());
  for (MM3DIndexedMeshDeformer* deformer : context.GetDeformers()) deformer->BeginFrame();
  for (int32_t p = 0; p < mParts.Count(); ++p) RasterizePart(p, context, pipeline, renderer, eye);
  for (MM3DIndexedMeshDeformer* deformer : context.GetDeformers()) deformer->EndFrame();
}

void MM3DDisplayTreeNodeIndexedMesh::RasterizePart(int32_t partIndex, MM3DRenderContext& context,
                                                   MM3DPipeline& pipeline, MM3DRenderer& renderer,
                                                   const MM3DVector& eye) {
  const MM3DIndexedMeshPart& part = mParts[partIndex];
  if (part.mMaterial.IsEmpty()) return;
  part.mMaterial->Apply(context);
  for (MM3DIndexedMeshShader* shader : context.GetShaders()) shader->Begin(context, eye);
  for (MM3DIndexedMeshTextureCoordinateMapper* mapper : context.GetMappers()) mapper->Begin();
  for (int32_t b = 0; b < part.mBlocks.Count(); ++b) {
    for (MM3DIndexedMeshDeformer* deformer : context.GetDeformers()) {
      deformer->SelectPart(partIndex, b);
    }
    if (!part.mBlocks[b].IsEmpty()) pipeline.RenderPart(*part.mBlocks[b], context, renderer);
  }
  for (MM3DIndexedMeshTextureCoordinateMapper* mapper : context.GetMappers()) mapper->End();
  for (MM3DIndexedMeshShader* shader : context.GetShaders()) shader->End();
  part.mMaterial->Unapply(context);
}

bool MM3DDisplayTreeNodeIndexedMesh::Write(UUWriter& writer, MM3DModDatabase& database) {
  return MM3DWriteCountedArray(
      writer, mParts, [&database](UUWriter& out, const MM3DIndexedMeshPart& part) {
        return MM3DModDatabase::WriteShared(out, database.GetMaterials(), part.mMaterial) &&
               MM3DWriteCountedArray(out, part.mBlocks, WriteBlock);
      });
}

bool MM3DDisplayTreeNodeIndexedMesh::Read(UUReader& reader, MM3DModDatabase& database) {
  return MM3DReadCountedArray(reader, mParts, [&database](UUReader& in, MM3DIndexedMeshPart& part) {
    return MM3DModDatabase::ReadShared(in, database.GetMaterials(), part.mMaterial) &&
           MM3DReadCountedArray(in, part.mBlocks, ReadBlock);
  });
}

void MM3DDisplayTreeNodeIndexedMesh::SetPartShader(int32_t partIndex,
                                                   const UURefCount<MM3DMaterial>& material) {
  mParts[partIndex].mMaterial = material;
  MM3DSceneChanges::Note();
}

void MM3DDisplayTreeNodeIndexedMesh::SetPart(int32_t partIndex, MM3DIndexedMeshPart& part) {
  mParts[partIndex].mMaterial = part.mMaterial;
  mParts[partIndex].mBlocks.Swap(part.mBlocks);
  MM3DSceneChanges::Note();
}

void MM3DDisplayTreeNodeIndexedMesh::AddPart(MM3DIndexedMeshPart& part) {
  mParts.Append(MM3DIndexedMeshPart());
  SetPart(mParts.Count() - 1, part);
}

void MM3DDisplayTreeNodeIndexedMesh::SetPartBlocks(int32_t partIndex,
                                                   MM3DVertexDataBlocks&& blocks) {
  mParts[partIndex].mBlocks = std::move(blocks);
  MM3DSceneChanges::Note();
}
