#pragma once
// One block of a mesh's geometry: the triangle indices and the per-vertex
// arrays. Indices are 16 bits wide, so a block holds at most 65,536
// vertices; larger geometry is split over several blocks. Blocks are shared
// between meshes through UURefCount.

#include "foundation/uu/UUGrowableArray.h"
#include "mm3d/MM3DColor.h"
#include "mm3d/MM3DVector.h"

#include <cstdint>

class UUReader;
class UUWriter;

struct MM3DTextureCoordinate {
  float mU;
  float mV;
};

struct MM3DIndexedMeshVertexData {
  static constexpr int32_t kMaxVertexCount = 0x10000;
  static constexpr int32_t kTextureCoordinateSetCount = 2;

  // The counts and arrays one after another, colours as raw bytes; only the
  // non-empty texture-coordinate sets are written (set 1 only with set 0).
  bool Write(UUWriter& writer) const;
  // Replaces the arrays with the record's. A record whose counts or indices
  // break the block's invariants is refused: the read fails and the arrays
  // not yet read keep their contents.
  bool Read(UUReader& reader);

  int32_t GetVertexCount() const { return mPositions.Count(); }
  // The first vertex whose position, and the normal, colour and first
  // setCount coordinate pairs that are asked for, are exactly equal; -1 when
  // none is.
  int32_t FindVertex(const MM3DVector& position, bool compareNormal, const MM3DVector& normal,
                     bool compareColor, const MM3DPackedColor& color, int32_t setCount,
                     const MM3DTextureCoordinate* coordinates) const;
  // Appends a vertex and its index; false, changing nothing, when the block
  // is full.
  bool AddVertex(const MM3DVector& position, bool hasNormal, const MM3DVector& normal,
                 bool hasColor, const MM3DPackedColor& color, int32_t setCount,
                 const MM3DTextureCoordinate* coordinates);

  UUGrowableArray<uint16_t> mIndices;
  UUGrowableArray<MM3DVector> mPositions;
  UUGrowableArray<MM3DVector> mNormals;
  UUGrowableArray<MM3DPackedColor> mColors;
  UUGrowableArray<MM3DTextureCoordinate> mTextureCoordinates[kTextureCoordinateSetCount];
};

// The view of one block for one draw. It owns nothing: deformers, shaders
// and coordinate mappers replace pointers with their own scratch arrays
// without touching the block. An empty array of the block is null.
struct MM3DVertexArrays {
  MM3DVertexArrays() = default;
  explicit MM3DVertexArrays(const MM3DIndexedMeshVertexData& data);

  int32_t mVertexCount = 0;
  const MM3DVector* mPositions = nullptr;
  const MM3DVector* mNormals = nullptr;
  const MM3DPackedColor* mColors = nullptr;
  const MM3DTextureCoordinate* mTextureCoordinates0 = nullptr;
  const MM3DTextureCoordinate* mTextureCoordinates1 = nullptr;
  int32_t mIndexCount = 0;
  const uint16_t* mIndices = nullptr;
};
