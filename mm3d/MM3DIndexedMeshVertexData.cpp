#include "mm3d/MM3DIndexedMeshVertexData.h"

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"
#include "mm3d/MM3DReadArray.h"

#include <algorithm>

namespace {

template <typename T>
const T* DataOrNull(const UUGrowableArray<T>& array) {
  return array.Count() == 0 ? nullptr : array.Begin();
}

template <typename T>
void Clear(UUGrowableArray<T>& array) {
  array.EraseRange(0, array.Count());
}

bool ReadCount(UUReader& reader, int32_t& count) { return reader.ReadInt32s(&count, 1); }

// A per-vertex array is empty or has one element per vertex.
bool IsPerVertexCount(int32_t count, int32_t vertexCount) {
  return count == 0 || count == vertexCount;
}

// The count, then the elements' floats in one call, as the reader takes
// them: each element is packed floats, the first one named.
template <typename T>
bool WriteFloatArray(UUWriter& writer, const UUGrowableArray<T>& array, float T::*first) {
  static_assert(sizeof(T) % sizeof(float) == 0);
  constexpr auto kFloatsEach = static_cast<uint32_t>(sizeof(T) / sizeof(float));
  const int32_t count = array.Count();
  if (!writer.WriteInt32s(&count, 1)) return false;
  return count == 0 ||
         writer.WriteFloats(&(array.Begin()->*first), kFloatsEach * static_cast<uint32_t>(count));
}

}  // namespace

bool MM3DIndexedMeshVertexData::Write(UUWriter& writer) const {
  int32_t indexCount = mIndices.Count();
  if (!writer.WriteInt32s(&indexCount, 1)) return false;
  if (indexCount > 0 && !writer.WriteInt16s(mIndices.Begin(), static_cast<uint32_t>(indexCount))) {
    return false;
  }

  if (!WriteFloatArray(writer, mPositions, &MM3DVector::mX) ||
      !WriteFloatArray(writer, mNormals, &MM3DVector::mX)) {
    return false;
  }
  int32_t colorCount = mColors.Count();
  if (!writer.WriteInt32s(&colorCount, 1)) return false;
  if (colorCount > 0 && !writer.Write(mColors.Begin(), 4 * static_cast<uint32_t>(colorCount))) {
    return false;
  }
  int32_t setCount = 0;
  while (setCount < kTextureCoordinateSetCount && mTextureCoordinates[setCount].Count() > 0) {
    ++setCount;
  }
  if (!writer.WriteInt32s(&setCount, 1)) return false;
  for (int32_t set = 0; set < setCount; ++set) {
    if (!WriteFloatArray(writer, mTextureCoordinates[set], &MM3DTextureCoordinate::mU)) {
      return false;
    }
  }
  return true;
}

bool MM3DIndexedMeshVertexData::Read(UUReader& reader) {
  int32_t indexCount = 0;
  if (!ReadCount(reader, indexCount) || indexCount < 0 || indexCount % 3 != 0) return false;
  UUGrowableArray<uint16_t> indices;
  if (!MM3DReadArray(indices, indexCount, [&reader](uint16_t* first, int32_t n) {
        return reader.ReadInt16s(first, static_cast<uint32_t>(n));
      })) {
    return false;
  }
  int32_t positionCount = 0;
  if (!ReadCount(reader, positionCount) || positionCount < 0 || positionCount > kMaxVertexCount) {
    return false;
  }
  for (uint16_t index : indices) {
    if (index >= positionCount) return false;
  }
  mIndices.Swap(indices);
  if (!MM3DReadVectors(reader, mPositions, positionCount)) return false;
  int32_t normalCount = 0;
  if (!ReadCount(reader, normalCount) || !IsPerVertexCount(normalCount, positionCount) ||
      !MM3DReadVectors(reader, mNormals, normalCount)) {
    return false;
  }
  int32_t colorCount = 0;
  if (!ReadCount(reader, colorCount) || !IsPerVertexCount(colorCount, positionCount) ||
      !MM3DReadArray(mColors, colorCount, [&reader](MM3DPackedColor* first, int32_t n) {
        return reader.Read(first, 4 * static_cast<uint32_t>(n));
      })) {
    return false;
  }
  int32_t setCount = 0;
  if (!ReadCount(reader, setCount) || setCount < 0 || setCount > kTextureCoordinateSetCount) {
    return false;
  }
  for (UUGrowableArray<MM3DTextureCoordinate>& coordinates : mTextureCoordinates) {
    Clear(coordinates);
    coordinates.Compact();
  }
  for (int32_t set = 0; set < setCount; ++set) {
    int32_t count = 0;
    if (!ReadCount(reader, count) || !IsPerVertexCount(count, positionCount) ||
        !MM3DReadArray(mTextureCoordinates[set], count,
                       [&reader](MM3DTextureCoordinate* first, int32_t n) {
                         return reader.ReadFloats(&first->mU, 2 * static_cast<uint32_t>(n));
                       })) {
      return false;
    }
  }
  return true;
}

int32_t MM3DIndexedMeshVertexData::FindVertex(const MM3DVector& position, bool compareNormal,
                                              const MM3DVector& normal, bool compareColor,
                                              const MM3DPackedColor& color, int32_t setCount,
                                              const MM3DTextureCoordinate* coordinates) const {
  auto sameVector = [](const MM3DVector& a, const MM3DVector& b) {
    return a.mX == b.mX && a.mY == b.mY && a.mZ == b.mZ && a.mW == b.mW;
  };
  auto matches = [&](int32_t i) {
    if (!sameVector(mPositions[i], position)) return false;
    if (compareNormal && (i >= mNormals.Count() || !sameVector(mNormals[i], normal))) return false;
    if (compareColor) {
      if (i >= mColors.Count()) return false;
      const MM3DPackedColor& c = mColors[i];
      if (c.mR != color.mR || c.mG != color.mG || c.mB != color.mB || c.mA != color.mA) {
        return false;
      }
    }
    for (int32_t set = 0; set < std::min(setCount, kTextureCoordinateSetCount); ++set) {
      const UUGrowableArray<MM3DTextureCoordinate>& stored = mTextureCoordinates[set];
      if (i >= stored.Count() || stored[i].mU != coordinates[set].mU ||
          stored[i].mV != coordinates[set].mV) {
        return false;
      }
    }
    return true;
  };
  for (int32_t i = 0; i < GetVertexCount(); ++i) {
    if (matches(i)) return i;
  }
  return -1;
}

bool MM3DIndexedMeshVertexData::AddVertex(const MM3DVector& position, bool hasNormal,
                                          const MM3DVector& normal, bool hasColor,
                                          const MM3DPackedColor& color, int32_t setCount,
                                          const MM3DTextureCoordinate* coordinates) {
  if (GetVertexCount() >= kMaxVertexCount) return false;
  mIndices.Append(static_cast<uint16_t>(GetVertexCount()));
  mPositions.Append(position);
  if (hasColor) mColors.Append(color);
  if (hasNormal) mNormals.Append(normal);
  for (int32_t set = 0; set < std::min(setCount, kTextureCoordinateSetCount); ++set) {
    mTextureCoordinates[set].Append(coordinates[set]);
  }
  return true;
}

MM3DVertexArrays::MM3DVertexArrays(const MM3DIndexedMeshVertexData& data)
    : mVertexCount(data.mPositions.Count()),
      mPositions(DataOrNull(data.mPositions)),
      mNormals(DataOrNull(data.mNormals)),
      mColors(DataOrNull(data.mColors)),
      mTextureCoordinates0(DataOrNull(data.mTextureCoordinates[0])),
      mTextureCoordinates1(DataOrNull(data.mTextureCoordinates[1])),
      mIndexCount(data.mIndices.Count()),
      mIndices(DataOrNull(data.mIndices)) {}
