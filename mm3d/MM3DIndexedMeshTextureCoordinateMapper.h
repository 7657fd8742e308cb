#pragma once
// Something that rewrites a vertex block's texture coordinates while a mesh
// part draws; materials put their layers' mappers in the render context.

struct MM3DVertexArrays;

class MM3DIndexedMeshTextureCoordinateMapper {
 public:
  virtual ~MM3DIndexedMeshTextureCoordinateMapper() = default;
  // Points the view at the rewritten coordinates, leaving the block alone.
  virtual void Generate(MM3DVertexArrays& arrays) const = 0;
};
