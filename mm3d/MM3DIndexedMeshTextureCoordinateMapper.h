#pragma once
// Something that rewrites a vertex block's texture coordinates while a mesh
// part draws; materials put their layers' mappers in the render context.

class MM3DIndexedMeshTextureCoordinateMapper {
 public:
  virtual ~MM3DIndexedMeshTextureCoordinateMapper() = default;
};
