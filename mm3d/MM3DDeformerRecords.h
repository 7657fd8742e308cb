#pragma once
// The nested arrays that deforming nodes keep per block of the mesh drawn
// below them, and their records. A node's data is indexed by the mesh's
// part, then by the part's block; the blend shapes and stored shapes hold
// one array per target (or shape) in each block. Every count read from a
// file is checked before use and arrays are filled element by element, or
// vectors block by block, as the record delivers them, so a damaged count
// never allocates more than the record really holds. A failed read leaves the target array as it
// was.

#include "foundation/uu/UUGrowableArray.h"
#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"
#include "mm3d/MM3DDatabase.h"
#include "mm3d/MM3DReadArray.h"

#include <cstdint>
#include <limits>
#include <type_traits>
#include <utility>

// data[part][block]: one Block per block of the mesh.
template <typename Block>
using MM3DPerMeshBlock = UUGrowableArray<UUGrowableArray<Block>>;
// One array of elements per target (or stored shape) of a block.
template <typename T>
using MM3DTargetArrays = UUGrowableArray<UUGrowableArray<T>>;
// targets[part][block][target][element].
template <typename T>
using MM3DMeshTargets = MM3DPerMeshBlock<MM3DTargetArrays<T>>;

constexpr int32_t kMM3DNoCountLimit = std::numeric_limits<int32_t>::max();

// The block's data, or null when the part or block lies outside the arrays.
template <typename Block>
const Block* MM3DFindMeshBlock(const MM3DPerMeshBlock<Block>& data, int32_t part, int32_t block) {
  if (part < 0 || part >= data.Count()) return nullptr;
  const UUGrowableArray<Block>& blocks = data[part];
  if (block < 0 || block >= blocks.Count()) return nullptr;
  return &blocks[block];
}

// Reads a count; a negative one or one above the limit fails the record.
inline bool MM3DReadRecordCount(UUReader& reader, int32_t& count,
                                int32_t limit = kMM3DNoCountLimit) {
  if (!MM3DDatabase::ReadInt32(reader, count)) return false;
  return (count >= 0 && count <= limit) || MM3DDatabase::RejectRecord(reader);
}

// Elements read through their own Read and Write.
template <typename T>
bool MM3DReadElement(UUReader& reader, T& element) {
  return element.Read(reader);
}
template <typename T>
bool MM3DWriteElement(UUWriter& writer, const T& element) {
  return element.Write(writer);
}

// count elements read with readElement(reader, element), into an array of
// exactly that capacity.
template <typename T, typename ReadElement>
bool MM3DReadArrayElements(UUReader& reader, UUGrowableArray<T>& array, int32_t count,
                           ReadElement readElement) {
  UUGrowableArray<T> read;
  for (int32_t i = 0; i < count; ++i) {
    T element{};
    if (!readElement(reader, element)) return false;
    read.Append(std::move(element));
  }
  read.Compact();
  array = std::move(read);
  return true;
}

// The count (int32), then the elements.
template <typename T, typename ReadElement>
bool MM3DReadCountedArray(UUReader& reader, UUGrowableArray<T>& array, ReadElement readElement,
                          int32_t limit = kMM3DNoCountLimit) {
  int32_t count = 0;
  return MM3DReadRecordCount(reader, count, limit) &&
         MM3DReadArrayElements(reader, array, count, readElement);
}

template <typename T, typename WriteElement>
bool MM3DWriteCountedArray(UUWriter& writer, const UUGrowableArray<T>& array,
                           WriteElement writeElement) {
  const int32_t count = array.Count();
  if (!writer.WriteInt32s(&count, 1)) return false;
  for (const T& element : array) {
    if (!writeElement(writer, element)) return false;
  }
  return true;
}
template <typename T>
bool MM3DWriteCountedArray(UUWriter& writer, const UUGrowableArray<T>& array) {
  return MM3DWriteCountedArray(writer, array, MM3DWriteElement<T>);
}

// The part count, per part the block count, per block readBlock's record.
template <typename Block, typename ReadBlock>
bool MM3DReadPerMeshBlock(UUReader& reader, MM3DPerMeshBlock<Block>& data, ReadBlock readBlock) {
  return MM3DReadCountedArray(reader, data,
                              [&readBlock](UUReader& in, UUGrowableArray<Block>& part) {
                                return MM3DReadCountedArray(in, part, readBlock);
                              });
}
template <typename Block, typename WriteBlock>
bool MM3DWritePerMeshBlock(UUWriter& writer, const MM3DPerMeshBlock<Block>& data,
                           WriteBlock writeBlock) {
  return MM3DWriteCountedArray(writer, data,
                               [&writeBlock](UUWriter& out, const UUGrowableArray<Block>& part) {
                                 return MM3DWriteCountedArray(out, part, writeBlock);
                               });
}

// Per block exactly targetCount targets, each a counted array of at most
// elementLimit elements. Without targets a block's record is empty, so only
// the counts are read and nothing is kept: a count alone must not make
// blocks that no byte of the record stands for.
template <typename T>
bool MM3DReadMeshTargets(UUReader& reader, MM3DMeshTargets<T>& targets, int32_t targetCount,
                         int32_t elementLimit) {
  if (targetCount == 0) {
    int32_t partCount = 0;
    if (!MM3DReadRecordCount(reader, partCount)) return false;
    for (int32_t part = 0, blockCount = 0; part < partCount; ++part) {
      if (!MM3DReadRecordCount(reader, blockCount)) return false;
    }
    targets = MM3DMeshTargets<T>();
    return true;
  }
  return MM3DReadPerMeshBlock(
      reader, targets, [targetCount, elementLimit](UUReader& in, MM3DTargetArrays<T>& block) {
        return MM3DReadArrayElements(
            in, block, targetCount, [elementLimit](UUReader& inner, UUGrowableArray<T>& target) {
              if constexpr (std::is_same_v<T, MM3DVector>) {
                int32_t count = 0;
                return MM3DReadRecordCount(inner, count, elementLimit) &&
                       MM3DReadVectors(inner, target, count);
              } else {
                return MM3DReadCountedArray(inner, target, MM3DReadElement<T>, elementLimit);
              }
            });
      });
}

// Per block exactly targetCount targets: those beyond the block's own are
// written empty. Without targets no part is written, since the reader keeps
// none: what is written reads back to the same bytes.
template <typename T>
bool MM3DWriteMeshTargets(UUWriter& writer, const MM3DMeshTargets<T>& targets,
                          int32_t targetCount) {
  static constexpr int32_t kNoParts = 0;
  if (targetCount == 0) return writer.WriteInt32s(&kNoParts, 1);
  return MM3DWritePerMeshBlock(
      writer, targets, [targetCount](UUWriter& out, const MM3DTargetArrays<T>& block) {
        static constexpr int32_t kEmpty = 0;
        for (int32_t t = 0; t < targetCount; ++t) {
          const bool written = t < block.Count() ? MM3DWriteCountedArray(out, block[t])
                                                 : out.WriteInt32s(&kEmpty, 1);
          if (!written) return false;
        }
        return true;
      });
}
