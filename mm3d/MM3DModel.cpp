#include "mm3d/MM3DModel.h"

#include "foundation/uu/UUFile.h"
#include "foundation/uu/UUMemory.h"
#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUString.h"
#include "foundation/uu/UUWriter.h"
#include "mm3d/MM3DDatabase.h"
#include "mm3d/MM3DModDatabase.h"
#include "mm3d/MM3DNodeOrdinalVisitors.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace {

// The buffer through which the parts written aside reach the file.
constexpr int32_t kCopyChunk = 4096;

bool WriteFlag(UUWriter& writer, bool flag) { return writer.WriteBooleans(&flag, 1); }

// The count, then each object's index in the section, found by identity
// or appended. Empty handles are left out, since the reader refuses them.
template <typename T>
bool WriteSharedList(UUWriter& writer, UUGrowableArray<UURefCount<T>>& section,
                     const UUList<UURefCount<T>>& list) {
  int32_t count = 0;
  for (const UURefCount<T>& object : list) count += object.IsEmpty() ? 0 : 1;
  if (!writer.WriteInt32s(&count, 1)) return false;
  for (const UURefCount<T>& object : list) {
    if (!object.IsEmpty() && !MM3DModDatabase::WriteShared(writer, section, object)) return false;
  }
  return true;
}

// Empties the list and reads a count and that many indices, each naming
// an object of the section.
template <typename T>
bool ReadSharedList(UUReader& reader, UUGrowableArray<UURefCount<T>>& section,
                    UUList<UURefCount<T>>& list) {
  list.Clear();
  int32_t count = 0;
  if (!MM3DDatabase::ReadInt32(reader, count) || !MM3DCheckCount(reader, count)) return false;
  for (int32_t i = 0; i < count; ++i) {
    UURefCount<T> object;
    if (!MM3DModDatabase::ReadShared(reader, section, object)) return false;
    if (object.IsEmpty()) return MM3DDatabase::RejectRecord(reader);
    list.PushBack(object);
  }
  return true;
}

int32_t Position(UUSeeker& stream) {
  int32_t position = -1;
  stream.Tell(&position);
  return position;
}

// Copies the bytes [from, to) of the memory stream to the writer: from a
// memory block at once, else through a buffer.
bool CopyRange(UURandomAccessStream& memory, int32_t from, int32_t to, UUWriter& writer) {
  if (const auto* block = dynamic_cast<const UUMemory*>(&memory)) {
    return block->WriteRange(from, to, writer);
  }
  if (!memory.Seek(from, kUUSeekFromStart, nullptr)) return false;
  char buffer[kCopyChunk];
  for (int32_t left = to - from; left > 0;) {
    const int32_t chunk = std::min(left, kCopyChunk);
    if (!memory.Read(buffer, static_cast<uint32_t>(chunk)) ||
        !writer.Write(buffer, static_cast<uint32_t>(chunk))) {
      return false;
    }
    left -= chunk;
  }
  return true;
}

// The model record and the sections go to memory first, since writing the
// model fills the sections the file carries in front of it.
bool WriteModelFile(UUWriter& writer, MM3DModel& model, MM3DModDatabase& database,
                    UURandomAccessStream& memory) {
  if (!database.WriteHeader(writer) || !memory.Seek(0, kUUSeekFromStart, nullptr)) return false;
  const int32_t modelStart = Position(memory);
  if (!model.Write(memory, database)) return false;
  const int32_t sectionsStart = Position(memory);
  if (!database.WriteSections(memory)) return false;
  const int32_t sectionsEnd = Position(memory);
  return database.WriteTextureTable(writer) &&
         CopyRange(memory, sectionsStart, sectionsEnd, writer) &&
         CopyRange(memory, modelStart, sectionsStart, writer) &&
         MM3DDatabase::WriteDelayedReferenceTable(writer);
}

UURefCount<MM3DModel> ReadModelFile(UUReader& reader, MM3DModDatabase& database,
                                    MM3DDriverTextureMap* map) {
  if (!database.ReadHeader(reader)) return {};
  database.SetTextureMap(map);
  if (!database.ReadTextureTable(reader) || !database.ReadRecords(reader)) return {};
  UURefCount<MM3DModel> model(new MM3DModel);
  if (!model->Read(reader, database) || !MM3DDatabase::ResolveDelayedReferences(reader)) return {};
  return model;
}

}  // namespace

MM3DModel::MM3DModel(UUOwned<MM3DDisplayTreeNode> root, UUOwned<MM3DAnimationClip> clip)
    : mRoot(std::move(root)), mClip(std::move(clip)) {}

MM3DModel::~MM3DModel() = default;

void MM3DModel::AddNamedNode(const char* name, MM3DDisplayTreeNode* node) {
  const size_t length = std::strlen(name);
  MM3DNamedNode entry{std::make_unique<char[]>(length + 1), node};
  std::memcpy(entry.mName.get(), name, length + 1);
  mNamedNodes.Append(std::move(entry));
}

MM3DDisplayTreeNode* MM3DModel::FindNamedNode(const char* name) const {
  for (const MM3DNamedNode& entry : mNamedNodes) {
    if (UUCompareText(entry.mName.get(), name) == 0) return entry.mNode;
  }
  return nullptr;
}

bool MM3DModel::Write(UUWriter& writer, MM3DModDatabase& database) {
  if (!WriteFlag(writer, HasDisplayTree())) return false;
  if (HasDisplayTree() && !mRoot->WriteNode(writer, database)) return false;
  if (!WriteFlag(writer, HasAnimationClip())) return false;
  if (HasAnimationClip() && !mClip->Write(writer, database)) return false;
  return WriteSharedList(writer, database.GetLights(), mLights) &&
         WriteSharedList(writer, database.GetCameras(), mCameras) && WriteNamedNodes(writer);
}

bool MM3DModel::WriteNamedNodes(UUWriter& writer) {
  const int32_t count = mNamedNodes.Count();
  if (!writer.WriteInt32s(&count, 1)) return false;
  for (const MM3DNamedNode& entry : mNamedNodes) {
    const auto length = static_cast<int32_t>(std::strlen(entry.mName.get()));
    const int32_t ordinal = MM3DGetNodeOrdinal(mRoot.Get(), entry.mNode);
    if (!writer.WriteInt32s(&length, 1) ||
        !writer.Write(entry.mName.get(), static_cast<uint32_t>(length)) ||
        !writer.WriteInt32s(&ordinal, 1)) {
      return false;
    }
  }
  return true;
}

bool MM3DModel::Read(UUReader& reader, MM3DModDatabase& database) {
  Clear();
  bool hasClip = false;
  if (!ReadRoot(reader, database) || !reader.ReadBooleans(&hasClip, 1)) return false;
  if (hasClip && !MM3DReadAnimationClip(reader, database, mClip)) return false;
  return ReadSharedList(reader, database.GetLights(), mLights) &&
         ReadSharedList(reader, database.GetCameras(), mCameras) && ReadNamedNodes(reader);
}

// Everything that points into the tree goes with it, the clip first, so
// that a record failing half-way leaves nothing pointing at freed nodes.
void MM3DModel::Clear() {
  ClearNamedNodes();
  mClip.Reset();
  mLights.Clear();
  mCameras.Clear();
  mRoot.Reset();
}

bool MM3DModel::ReadRoot(UUReader& reader, MM3DModDatabase& database) {
  bool hasRoot = false;
  if (!reader.ReadBooleans(&hasRoot, 1)) return false;
  if (!hasRoot) return true;
  UUOwned<MM3DDisplayTreeNode> node;
  if (!MM3DReadDisplayTreeNode(reader, database, node)) return false;
  if (node->GetKind() == kMM3DNodeRoot) mRoot = std::move(node);
  return true;
}

bool MM3DModel::ReadNamedNodes(UUReader& reader) {
  ClearNamedNodes();
  int32_t count = 0;
  if (!MM3DDatabase::ReadInt32(reader, count) || !MM3DCheckCount(reader, count)) return false;
  for (int32_t i = 0; i < count; ++i) {
    int32_t length = 0;
    if (!MM3DDatabase::ReadInt32(reader, length)) return false;
    if (length < 0 || length > kMaxNameLength) return MM3DDatabase::RejectRecord(reader);
    MM3DNamedNode entry{std::make_unique<char[]>(static_cast<size_t>(length) + 1), nullptr};
    int32_t ordinal = 0;
    if (!reader.Read(entry.mName.get(), static_cast<uint32_t>(length)) ||
        !MM3DDatabase::ReadInt32(reader, ordinal)) {
      return false;
    }
    entry.mName[static_cast<size_t>(length)] = '\0';
    entry.mNode = MM3DFindNodeByOrdinal(mRoot.Get(), ordinal);
    mNamedNodes.Append(std::move(entry));
  }
  return true;
}

void MM3DModel::ClearNamedNodes() { mNamedNodes.EraseRange(0, mNamedNodes.Count()); }

UURefCount<MM3DModel> MM3DReadModel(UUReader& reader, MM3DModDatabase& database,
                                    MM3DDriverTextureMap* map) {
  const UUByteOrder order = reader.GetByteOrder();
  MM3DDatabase::EmptyReferenceTables();
  UURefCount<MM3DModel> model = ReadModelFile(reader, database, map);
  MM3DDatabase::EmptyReferenceTables();
  reader.SetByteOrder(order);
  return model;
}

bool MM3DWriteModel(UUWriter& writer, const UURefCount<MM3DModel>& model, MM3DModDatabase& database,
                    UURandomAccessStream& memory) {
  if (model.IsEmpty()) return false;
  const UUByteOrder memoryOrder = memory.GetByteOrder();
  // The parts written aside are copied byte for byte, so they take the
  // file's order.
  memory.SetByteOrder(writer.GetWriteByteOrder());
  MM3DDatabase::EmptyReferenceTables();
  const bool written = WriteModelFile(writer, *model, database, memory);
  MM3DDatabase::EmptyReferenceTables();
  memory.SetByteOrder(memoryOrder);
  return written;
}

UURefCount<MM3DModel> MM3DReadModelBlock(UUReader& source, int32_t length,
                                         MM3DModDatabase& database, MM3DDriverTextureMap* map) {
  if (length <= 0) return {};
  std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[static_cast<size_t>(length)]);
  if (!bytes || !source.Read(bytes.get(), static_cast<uint32_t>(length))) return {};
  UUMemory memory(bytes.get(), length);
  memory.SetByteOrder(source.GetByteOrder());
  return MM3DReadModel(memory, database, map);
}

UURefCount<MM3DModel> MM3DReadModelFile(const UUDirectory& directory, const char* name,
                                        MM3DModDatabase& database, MM3DDriverTextureMap* map) {
  UUFile file(directory, name, kUUFileRead, UUFileOptions());
  int32_t length = 0;
  if (!file.IsOpen() || !file.GetLength(&length)) return {};
  UURefCount<MM3DModel> model = MM3DReadModelBlock(file, length, database, map);
  file.Close();
  return model;
}

bool MM3DWriteModelFile(const UUDirectory& directory, const char* name,
                        const UURefCount<MM3DModel>& model, MM3DModDatabase& database,
                        UURandomAccessStream& memory) {
  UUFile file(directory, name, kUUFileCreate, UUFileOptions());
  if (!file.IsOpen()) return false;
  const bool written = MM3DWriteModel(file, model, database, memory);
  return file.Close() && written;
}
