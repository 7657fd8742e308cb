// The creation record of sketch files and undo: what the creation holds,
// object by object, with the models staged in the work buffer.
#include "app/creation/VPLCreation.h"

#include "app/creation/VPLObjCreation.h"
#include "app/creation/VPLObjCreationGroup.h"
#include "app/creation/VPLObjCreationUser.h"
#include "app/objects/VPLMaterializer.h"
#include "app/objects/VPLSceneBase.h"
#include "app/objects/VPLScript.h"
#include "app/objects/VPLServices.h"
#include "foundation/uu/UUMemory.h"
#include "foundation/uu/UURandomAccessStream.h"
#include "mm/stage/MMStage.h"
#include "mm3d/MM3DCompiledTextureModDatabase.h"
#include "mm3d/MM3DModel.h"
#include "mm3d/MM3DModelCollection.h"

#include <cmath>
#include <cstring>
#include <string>

namespace {

const MM3DVector kOrigin(0.0f, 0.0f, 0.0f, 1.0f);
const VPLObj::Placement kOriginPlacement = VPLObj::PlacementAt(kOrigin);
constexpr int16_t kNoGroup = -1;

// Puts an object at the origin while it is written and back exactly where
// it was whatever the write does. A plain object only takes the placement
// for the moment, without measuring its bounds at either move; a group
// moves the whole way, as its members follow the first.
class AtOrigin {
 public:
  explicit AtOrigin(VPLObjCreation& object)
      : mObject(object),
        mWhole(object.GetType() == kVPLObjCreationGroup),
        mPosition(object.GetWorldPosition()),
        mPlacement(object.GetPlacement()) {
    if (mWhole) {
      mObject.SetLocation(kOrigin);
    } else {
      mObject.SetPlacement(kOriginPlacement);
    }
  }
  ~AtOrigin() {
    if (mWhole) {
      mObject.SetLocation(mPosition);
    } else {
      mObject.SetPlacement(mPlacement);
    }
  }
  AtOrigin(const AtOrigin&) = delete;
  AtOrigin& operator=(const AtOrigin&) = delete;

 private:
  VPLObjCreation& mObject;
  bool mWhole;
  MM3DVector mPosition;
  VPLObj::Placement mPlacement;
};

// Shows an object's rest shape for the time of its write and its jiggle's
// shape again after.
class AtRest {
 public:
  explicit AtRest(VPLObjCreation& object) : mObject(object) { mObject.ShowRestShape(); }
  ~AtRest() { mObject.ShowMotionShape(); }
  AtRest(const AtRest&) = delete;
  AtRest& operator=(const AtRest&) = delete;

 private:
  VPLObjCreation& mObject;
};

// Switches a highlight off for the time of a write and on again after.
class WithoutHighlight {
 public:
  explicit WithoutHighlight(VPLObjCreation* object)
      : mObject(object != nullptr && object->IsHighlighted() ? object : nullptr) {
    if (mObject != nullptr) mObject->SetHighlight(false, VPLCreation::kGroupTint);
  }
  ~WithoutHighlight() {
    if (mObject != nullptr) mObject->SetHighlight(true, VPLCreation::kGroupTint);
  }
  WithoutHighlight(const WithoutHighlight&) = delete;
  WithoutHighlight& operator=(const WithoutHighlight&) = delete;

 private:
  VPLObjCreation* mObject;
};

// Empties the database's sections before a write and again after it,
// whatever the write does: each record starts from none, and none of its
// objects stays held until the next.
class SectionsEmptied {
 public:
  explicit SectionsEmptied(MM3DModDatabase& database) : mDatabase(database) {
    mDatabase.EmptySections();
  }
  ~SectionsEmptied() { mDatabase.EmptySections(); }
  SectionsEmptied(const SectionsEmptied&) = delete;
  SectionsEmptied& operator=(const SectionsEmptied&) = delete;

 private:
  MM3DModDatabase& mDatabase;
};

bool WriteVector(UUWriter& writer, const MM3DVector& v) {
  const float values[4] = {v.mX, v.mY, v.mZ, v.mW};
  return writer.WriteFloats(values, 4);
}

bool ReadVector(UUReader& reader, MM3DVector& v) {
  float values[4];
  if (!reader.ReadFloats(values, 4)) return false;
  for (float value : values) {
    if (!std::isfinite(value)) return false;
  }
  v = MM3DVector(values[0], values[1], values[2], values[3]);
  return true;
}

bool WriteInt16(UUWriter& writer, int16_t value) { return writer.WriteInt16s(&value, 1); }

// A count that cannot be negative.
bool ReadCount(UUReader& reader, int16_t& count) {
  return reader.ReadInt16s(&count, 1) && count >= 0;
}

MM3DDriverTextureMap* TextureMapOf(const VPLSceneBase* scene) {
  MMStage* stage = scene != nullptr ? scene->GetStage() : nullptr;
  return stage != nullptr ? stage->GetTextureMap() : VPLGetServices().mTextureMap;
}

}  // namespace

void VPLCreation::NewWorkBuffer(int32_t size) {
  mWorkBufferSize = size;
  mWorkStream.reset();
  mWorkBuffer.reset(new uint8_t[static_cast<size_t>(size)]);
  mWorkStream = std::make_unique<UUMemory>(mWorkBuffer.get(), size);
}

void VPLCreation::GrowWorkBuffer() {
  if (mWorkBufferSize <= kWorkBufferLimit) NewWorkBuffer(mWorkBufferSize + kWorkBufferGrowth);
}

bool VPLCreation::Write(UURandomAccessStream& stream) {
  if (!mWorkStream) return false;
  MM3DModDatabase& database = *mWriteDatabase;
  const SectionsEmptied emptied(database);
  const auto userCount = static_cast<int16_t>(mUserObjects.size());
  const bool written = WriteVector(stream, mCamera->GetEye()) &&
                       stream.WriteBooleans(&mGround, 1) && WriteInt16(stream, mBackground) &&
                       WriteInt16(stream, userCount) && WriteObjects(stream, database) &&
                       WriteGroups(stream, database);
  if (!written) return false;
  const bool hasCharacter = mCharacter != nullptr;
  if (!stream.WriteBooleans(&hasCharacter, 1)) return false;
  if (hasCharacter && !mCharacter->WriteRecord(stream, &database)) return false;
  mModified = false;
  return true;
}

bool VPLCreation::WriteObjects(UURandomAccessStream& stream, MM3DModDatabase& database) {
  for (VPLObjCreation* object : mUserObjects) {
    if (!WriteEntry(stream, database, *object, true, false)) return false;
  }
  return true;
}

bool VPLCreation::WriteGroups(UURandomAccessStream& stream, MM3DModDatabase& database) {
  if (!WriteInt16(stream, static_cast<int16_t>(mGroups.size()))) return false;
  int16_t current = kNoGroup;
  for (size_t k = 0; k < mGroups.size(); ++k) {
    VPLObjCreation* group = mGroups[k];
    if (group == mCurrentGroup) current = static_cast<int16_t>(k);
    const WithoutHighlight plain(group == mCurrentGroup ? group : nullptr);
    const bool withModel = group->GetFirstChildType() != kVPLObjCreationChar;
    if (!WriteEntry(stream, database, *group, withModel, true)) return false;
  }
  return WriteInt16(stream, current);
}

bool VPLCreation::WriteEntry(UURandomAccessStream& stream, MM3DModDatabase& database,
                             VPLObjCreation& object, bool withModel, bool isGroup) {
  if (!WriteVector(stream, object.GetWorldPosition())) return false;
  const AtRest rest(object);
  const AtOrigin placed(object);
  const auto childType = static_cast<int16_t>(object.GetFirstChildType());
  return (!isGroup || WriteInt16(stream, childType)) &&
         (!withModel || WriteModel(stream, database, object)) &&
         object.WriteRecord(stream, nullptr) && WritePictureName(stream, object);
}

// A model that does not fit the work buffer is written again from the same
// place with a larger buffer.
bool VPLCreation::WriteModel(UURandomAccessStream& stream, MM3DModDatabase& database,
                             const VPLObjCreation& object) {
  int32_t start = -1;
  if (!stream.Tell(&start) || start < 0) return false;
  for (;;) {
    if (MM3DWriteModel(stream, object.GetModel(), database, *mWorkStream)) return true;
    if (mWorkBufferSize > kWorkBufferLimit) return false;
    GrowWorkBuffer();
    if (!stream.Seek(start, kUUSeekFromStart, nullptr)) return false;
    if (mWorkBufferSize >= kWorkBufferLimit) return false;
  }
}

bool VPLCreation::WritePictureName(UUWriter& writer, const VPLObjCreation& object) {
  const VPLUserTextureList* pictures = VPLGetServices().mUserTextures;
  const int32_t texture = object.GetPartTexture(0);
  const char* name =
      pictures != nullptr && texture >= 0 ? pictures->GetTextureFileName(texture) : nullptr;
  const size_t length = name != nullptr ? std::strlen(name) : 0;
  const bool hasName = name != nullptr && length <= static_cast<size_t>(kMaxPictureName);
  if (!writer.WriteBooleans(&hasName, 1)) return false;
  if (!hasName) return true;
  const auto size = static_cast<int32_t>(length);
  return writer.WriteInt32s(&size, 1) && writer.Write(name, static_cast<uint32_t>(size));
}

bool VPLCreation::Read(UUReader& reader) {
  MM3DVector eye;
  if (!ReadVector(reader, eye)) return false;
  mCamera->SetEye(eye);
  MM3DCompiledTextureModDatabase database;
  database.SetTextureMap(TextureMapOf(mScene));
  int16_t current = kNoGroup;
  bool hasCharacter = false;
  if (!reader.ReadBooleans(&mGround, 1) || !reader.ReadInt16s(&mBackground, 1) ||
      !ReadEntries(reader, database, false) || !ReadEntries(reader, database, true) ||
      !reader.ReadInt16s(&current, 1) || !reader.ReadBooleans(&hasCharacter, 1)) {
    return false;
  }
  const bool result = !hasCharacter || ReadCharacter(reader, database);
  if (!mGroups.empty() && current >= 0 && static_cast<size_t>(current) < mGroups.size()) {
    mCurrentGroup = mGroups[static_cast<size_t>(current)];
  }
  mModified = false;
  return result;
}

bool VPLCreation::ReadEntries(UUReader& reader, MM3DModDatabase& database, bool groups) {
  int16_t count = 0;
  if (!ReadCount(reader, count)) return false;
  for (int16_t i = 0; i < count; ++i) {
    if (!ReadEntry(reader, database, groups)) return false;
  }
  return true;
}

bool VPLCreation::ReadEntry(UUReader& reader, MM3DModDatabase& database, bool group) {
  MM3DVector position;
  int16_t childType = kVPLObjCreationUser;
  if (!ReadVector(reader, position) || (group && !reader.ReadInt16s(&childType, 1))) return false;
  UURefCount<MM3DModel> model;
  if (!group || childType != kVPLObjCreationChar) {
    model = MM3DReadModel(reader, database, TextureMapOf(mScene));
    if (!model) return false;
  }
  VPLObjCreation* object = group ? MakeGroup(model) : new VPLObjCreationUser(mScene, model, this);
  if (object == nullptr) return false;
  object->TakeWrittenTransforms();
  // An object whose record fails is never filed half-built.
  if (!object->ReadRecord(reader, nullptr) || !ReadPictureName(reader, *object)) {
    Delete(object);
    return false;
  }
  // The record placed it already where the creation wrote it.
  if (!object->GetWorldPosition().Equals(position)) object->SetLocation(position);
  return AddObject(object);
}

bool VPLCreation::ReadPictureName(UUReader& reader, VPLObjCreation& object) const {
  bool hasName = false;
  if (!reader.ReadBooleans(&hasName, 1)) return false;
  if (!hasName) return true;
  int32_t length = 0;
  if (!reader.ReadInt32s(&length, 1) || length < 0 || length > kMaxPictureName) return false;
  std::string name(static_cast<size_t>(length), '\0');
  if (!reader.Read(name.data(), static_cast<uint32_t>(length))) return false;
  const VPLUserTextureList* pictures = VPLGetServices().mUserTextures;
  const int32_t texture = pictures != nullptr ? pictures->FindTextureId(name.c_str()) : -1;
  if (texture >= 0) {
    object.SetPartTexture(0, texture);
    return true;
  }
  // The picture is gone: the preset's colours without a texture.
  VPLMaterializer fallback(TextureMapOf(mScene));
  fallback.LoadPreset(kMissingPicturePreset);
  fallback.TakeTextureFrom(object, nullptr, true, false);
  fallback.ClearLayers();
  fallback.Apply(&object);
  return true;
}

bool VPLCreation::ReadCharacter(UUReader& reader, MM3DModDatabase& database) {
  if (mCharacter != nullptr) {
    mCharacter->Reset();
    return mCharacter->ReadRecord(reader, &database);
  }
  const UURefCount<MM3DModel> model = LoadCharacterModel();
  if (!model) return false;
  mCharacter = MakeCharacter(model);
  return mCharacter != nullptr && mCharacter->ReadRecord(reader, &database);
}

UURefCount<MM3DModel> VPLCreation::LoadCharacterModel() const {
  const VPLScript list(kCharacterList, kVPLScriptList);
  if (list.FindTag(0) < 0) return UURefCount<MM3DModel>();
  const auto modelId = static_cast<MMResourceId>(list.GetTagUInt32(0));
  return MM3DGetModel(modelId, TextureMapOf(mScene));
}

VPLObjCreation* VPLCreation::MakeGroup(const UURefCount<MM3DModel>& model) {
  return new VPLObjCreationGroup(mScene, model, this);
}
