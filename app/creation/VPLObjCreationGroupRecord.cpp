// The group record of the creation stream: every member with its place
// (an offset from the first member, which the writer puts at the origin),
// its model (the first member's is the group's own), its record and its
// picture name; nested groups write the same record inside.
#include "app/creation/VPLObjCreationGroup.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreationUser.h"
#include "app/objects/VPLServices.h"
#include "foundation/uu/UUMemory.h"
#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUSeeker.h"
#include "foundation/uu/UUWriter.h"
#include "mm/stage/MMStage.h"
#include "mm3d/MM3DCompiledTextureModDatabase.h"
#include "mm3d/MM3DModel.h"

#include <cmath>
#include <new>

namespace {

const MM3DVector kOrigin(0.0f, 0.0f, 0.0f, 1.0f);

bool WriteFloats(UUWriter& writer, float a, float b, float c, float d) {
  const float values[4] = {a, b, c, d};
  return writer.WriteFloats(values, 4);
}

bool ReadFinite(UUReader& reader, float (&values)[4]) {
  if (!reader.ReadFloats(values, 4)) return false;
  for (float value : values) {
    if (!std::isfinite(value)) return false;
  }
  return true;
}

bool IsKnownType(int16_t type) {
  return type == kVPLObjCreationUser || type == kVPLObjCreationGroup || type == kVPLObjCreationChar;
}

void DeleteChild(VPLObjCreation* child) {
  child->Detach();
  delete child;
}

}  // namespace

// Takes a member to the origin for its write and puts it back whatever the
// write does. A path it follows goes on: its record holds the path playing.
class VPLObjCreationGroup::ChildAtOrigin {
 public:
  explicit ChildAtOrigin(VPLObjCreation& child) : mChild(child), mPlace(child.GetWorldPosition()) {
    mChild.SetLocation(kOrigin);
  }
  ~ChildAtOrigin() { mChild.SetLocation(mPlace); }
  ChildAtOrigin(const ChildAtOrigin&) = delete;
  ChildAtOrigin& operator=(const ChildAtOrigin&) = delete;
  const MM3DVector& Place() const { return mPlace; }

 private:
  VPLObjCreation& mChild;
  MM3DVector mPlace;
};

bool VPLObjCreationGroup::NewGeometryBuffer(int32_t size) {
  mGeometryBufferSize = size;
  mGeometryStream.reset();
  mGeometryBuffer.reset(new (std::nothrow) uint8_t[static_cast<size_t>(size)]);
  if (mGeometryBuffer) mGeometryStream = std::make_unique<UUMemory>(mGeometryBuffer.get(), size);
  return mGeometryStream != nullptr;
}

void VPLObjCreationGroup::GrowGeometryBuffer() {
  NewGeometryBuffer(mGeometryBufferSize + kGeometryBufferGrowth);
}

bool VPLObjCreationGroup::WriteRecord(UUWriter& writer, void* /*context*/) {
  return WriteGroupRecord(writer, 1);
}

bool VPLObjCreationGroup::WriteGroupRecord(UUWriter& writer, int32_t depth) {
  if (depth > kMaxNesting || mChildren.empty() ||
      mChildren.size() > static_cast<size_t>(INT16_MAX)) {
    return false;
  }
  if (!mGeometryStream && !NewGeometryBuffer(mGeometryBufferSize)) return false;
  MM3DCompiledTextureModDatabase database;
  // The members' colours are written as they are without the highlight,
  // which comes back with the group's tint after.
  const bool highlighted = IsHighlighted();
  if (highlighted) SetHighlight(false, mTint);
  bool written = false;
  {
    const HeldSteps held(*this);
    const auto count = static_cast<int16_t>(mChildren.size());
    written = writer.WriteInt16s(&count, 1);
    for (size_t i = 0; written && i < mChildren.size(); ++i) {
      written = WriteChild(writer, database, i, depth);
    }
    written = written && WriteFloats(writer, mTint.mR, mTint.mG, mTint.mB, mTint.mA) &&
              VPLObjCreation::WriteRecord(writer, nullptr);
  }
  if (highlighted) SetHighlight(true, mTint);
  return written;
}

bool VPLObjCreationGroup::WriteChild(UUWriter& writer, MM3DModDatabase& database, size_t i,
                                     int32_t depth) {
  VPLObjCreation& child = *mChildren[i];
  const auto type = static_cast<int16_t>(child.GetType());
  if (!writer.WriteInt16s(&type, 1)) return false;
  const ChildAtOrigin placed(child);
  const MM3DVector& p = placed.Place();
  if (!WriteFloats(writer, p.mX, p.mY, p.mZ, p.mW)) return false;
  if (type == kVPLObjCreationChar) return child.WriteRecord(writer, &database);
  if (i > 0 && !WriteChildModel(writer, database, child)) return false;
  auto* group = dynamic_cast<VPLObjCreationGroup*>(&child);
  const bool record = group != nullptr ? group->WriteGroupRecord(writer, depth + 1)
                                       : child.WriteRecord(writer, nullptr);
  return record && VPLCreation::WritePictureName(writer, child);
}

// A model that does not fit the geometry buffer is written again from the
// same place with a larger buffer; a writer that cannot go back cannot try
// again.
bool VPLObjCreationGroup::WriteChildModel(UUWriter& writer, MM3DModDatabase& database,
                                          const VPLObjCreation& child) {
  auto* seeker = dynamic_cast<UUSeeker*>(&writer);
  int32_t start = -1;
  if (seeker == nullptr || !seeker->Tell(&start)) start = -1;
  for (;;) {
    if (mGeometryStream && MM3DWriteModel(writer, child.GetModel(), database, *mGeometryStream)) {
      return true;
    }
    GrowGeometryBuffer();
    if (start < 0 || !seeker->Seek(start, kUUSeekFromStart, nullptr)) return false;
    if (mGeometryBufferSize >= kGeometryBufferLimit) return false;
  }
}

bool VPLObjCreationGroup::ReadRecord(UUReader& reader, void* /*context*/) {
  return ReadGroupRecord(reader, 1);
}

bool VPLObjCreationGroup::ReadGroupRecord(UUReader& reader, int32_t depth) {
  if (depth > kMaxNesting) return false;
  MM3DCompiledTextureModDatabase database;
  MMStage* stage = GetStage();
  database.SetTextureMap(stage != nullptr ? stage->GetTextureMap() : VPLGetServices().mTextureMap);
  const HeldSteps held(*this);
  int16_t count = 0;
  if (!reader.ReadInt16s(&count, 1) || count < 1) return false;
  for (int32_t i = 0; i < count; ++i) {
    if (ReadChild(reader, database, i, depth) == nullptr) return false;
  }
  float tint[4];
  if (!ReadFinite(reader, tint)) return false;
  mTint = MM3DColor{tint[0], tint[1], tint[2], tint[3]};
  return VPLObjCreation::ReadRecord(reader, nullptr);
}

VPLObjCreation* VPLObjCreationGroup::ReadChild(UUReader& reader, MM3DModDatabase& database,
                                               int32_t i, int32_t depth) {
  int16_t type = kVPLObjCreationBase;
  float place[4];
  if (!reader.ReadInt16s(&type, 1) || !ReadFinite(reader, place) || !IsKnownType(type)) {
    return nullptr;
  }
  VPLObjCreation* child = MakeChild(reader, database, type, i);
  if (child == nullptr) return nullptr;
  if (!ReadChildBody(reader, *child, type, depth)) {
    DeleteChild(child);
    return nullptr;
  }
  child->SetLocation(MM3DVector(place[0], place[1], place[2], place[3]));
  AddChild(child, false);
  return child;
}

VPLObjCreation* VPLObjCreationGroup::MakeChild(UUReader& reader, MM3DModDatabase& database,
                                               int16_t type, int32_t i) {
  VPLCreation* creation = GetCreation();
  if (type == kVPLObjCreationChar) {
    if (creation == nullptr) return nullptr;
    const UURefCount<MM3DModel> model = creation->LoadCharacterModel();
    return model ? creation->MakeCharacter(model) : nullptr;
  }
  UURefCount<MM3DModel> model;
  if (i == 0) {
    // The first member shows the group's own model, which a group of an
    // object always has.
    if (!GetModel()->HasDisplayTree()) return nullptr;
    model = GetModel();
  } else {
    model = MM3DReadModel(reader, database, database.GetTextureMap());
    if (!model) return nullptr;
  }
  VPLObjCreation* child =
      type == kVPLObjCreationGroup
          ? static_cast<VPLObjCreation*>(new VPLObjCreationGroup(GetScene(), model, creation))
          : new VPLObjCreationUser(GetScene(), model, creation);
  child->TakeWrittenTransforms();
  return child;
}

bool VPLObjCreationGroup::ReadChildBody(UUReader& reader, VPLObjCreation& child, int16_t type,
                                        int32_t depth) {
  if (type == kVPLObjCreationChar) return child.ReadRecord(reader, nullptr);
  auto* group = dynamic_cast<VPLObjCreationGroup*>(&child);
  const bool record = group != nullptr ? group->ReadGroupRecord(reader, depth + 1)
                                       : child.ReadRecord(reader, nullptr);
  VPLCreation* creation = GetCreation();
  return record && creation != nullptr && creation->ReadPictureName(reader, child);
}
