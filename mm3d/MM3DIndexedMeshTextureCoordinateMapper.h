#pragma once
// Something that rewrites a vertex block's texture coordinates while a mesh
// part draws; materials put their layers' mappers in the render context.
// A mesh part begins every mapper before its first block and ends it after
// its last.

struct MM3DVertexArrays;

class MM3DIndexedMeshTextureCoordinateMapper {
 public:
  virtual ~MM3DIndexedMeshTextureCoordinateMapper() = default;
  // A mapper that keeps nothing between a part's blocks needs neither.
  virtual void Begin() {}
  // Points the view at the rewritten coordinates, leaving the block alone.
  virtual void Generate(MM3DVertexArrays& arrays) const = 0;
  virtual void End() {}
};
