#pragma once
// The database of a model file or creation record: the objects that
// several records share, kept in sections and named by their index there.
// A record's writer finds its object in the section by identity, appending
// it when absent, and writes the index; the record's reader takes the
// object at the index it reads, which must lie inside the section.
//
// In a file the sections follow the texture table, each present only when
// not empty: an int32 section code, an int32 count and that many records,
// then the end tag. Textures are named through the texture table, whose
// form the derived database decides; this one knows none.

#include "foundation/uu/UUGrowableArray.h"
#include "foundation/uu/UUReader.h"
#include "foundation/uu/UURefCount.h"
#include "foundation/uu/UUWriter.h"
#include "mm3d/MM3DCamera.h"
#include "mm3d/MM3DDatabase.h"
#include "mm3d/MM3DFunctionCurve.h"
#include "mm3d/MM3DLight.h"
#include "mm3d/MM3DMaterial.h"
#include "mm3d/MM3DSpline.h"

#include <cstdint>

class MM3DDriverTextureMap;

// The code in front of each section of a file.
enum MM3DModSection : int32_t {
  kMM3DMaterialSection = 1,
  kMM3DCurveSection = 2,
  kMM3DLightSection = 3,
  kMM3DSplineSection = 4,
  kMM3DCameraSection = 5
};

class MM3DModDatabase : public MM3DDatabase {
 public:
  // An index that names no object: an empty handle.
  static constexpr int32_t kNone = -1;

  MM3DModDatabase();

  // Reads one section, replacing what the section held; a tag that names
  // no section fails. Records read before a failed one stay.
  bool ReadRecord(UUReader& reader, int32_t tag) override;
  // The sections that are not empty, then the end tag.
  bool WriteSections(UUWriter& writer);

  // Empties every section (and the texture table), keeping their blocks,
  // so that one database writes record after record without new ones.
  virtual void EmptySections();

  // The texture table. This database has none: reading and writing it
  // fail, and every reference and id names no texture.
  virtual bool ReadTextureTable(UUReader& reader);
  virtual bool WriteTextureTable(UUWriter& writer);
  virtual int32_t GetTextureId(int32_t reference);
  virtual int32_t GetTextureReference(int32_t textureId);

  // Where the material records being read take their texture handles;
  // not owned, null when none was given.
  MM3DDriverTextureMap* GetTextureMap() const { return mTextureMap; }
  void SetTextureMap(MM3DDriverTextureMap* map) { mTextureMap = map; }

  UUGrowableArray<UURefCount<MM3DMaterial>>& GetMaterials() { return mMaterials; }
  UUGrowableArray<UURefCount<MM3DLight>>& GetLights() { return mLights; }
  UUGrowableArray<UURefCount<MM3DSpline>>& GetSplines() { return mSplines; }
  UUGrowableArray<UURefCount<MM3DFunctionCurve>>& GetCurves() { return mCurves; }
  UUGrowableArray<UURefCount<MM3DCamera>>& GetCameras() { return mCameras; }

  // The index of a shared object in its section, appended when absent;
  // kNone for an empty handle.
  template <typename T>
  static int32_t FindOrAppend(UUGrowableArray<UURefCount<T>>& section, const UURefCount<T>& object);
  // Reads an index and shares the object there into out, releasing what
  // out held; kNone gives an empty handle, an index outside the section
  // fails the read.
  template <typename T>
  static bool ReadShared(UUReader& reader, UUGrowableArray<UURefCount<T>>& section,
                         UURefCount<T>& out);
  // Writes the index of the object, appending it to the section as needed.
  template <typename T>
  static bool WriteShared(UUWriter& writer, UUGrowableArray<UURefCount<T>>& section,
                          const UURefCount<T>& object);

 private:
  // Declared in section order, so that they are released in reverse.
  UUGrowableArray<UURefCount<MM3DMaterial>> mMaterials;
  UUGrowableArray<UURefCount<MM3DFunctionCurve>> mCurves;
  UUGrowableArray<UURefCount<MM3DLight>> mLights;
  UUGrowableArray<UURefCount<MM3DSpline>> mSplines;
  UUGrowableArray<UURefCount<MM3DCamera>> mCameras;
  MM3DDriverTextureMap* mTextureMap = nullptr;
};

// The body of the camera section. Reading empties the cameras first and
// keeps those read before a failed one; writing gives the code, the count
// and each camera's record, even for no cameras.
bool MM3DReadCameraList(UUReader& reader, UUGrowableArray<UURefCount<MM3DCamera>>& cameras);
bool MM3DWriteCameraList(UUWriter& writer, int32_t code,
                         UUGrowableArray<UURefCount<MM3DCamera>>& cameras);

template <typename T>
int32_t MM3DModDatabase::FindOrAppend(UUGrowableArray<UURefCount<T>>& section,
                                      const UURefCount<T>& object) {
  if (object.IsEmpty()) return kNone;
  for (int32_t i = 0; i < section.Count(); ++i) {
    if (section[i] == object) return i;
  }
  section.Append(object);
  return section.Count() - 1;
}

template <typename T>
bool MM3DModDatabase::ReadShared(UUReader& reader, UUGrowableArray<UURefCount<T>>& section,
                                 UURefCount<T>& out) {
  int32_t index = kNone;
  if (!ReadInt32(reader, index)) return false;
  if (index == kNone) {
    out.Reset();
    return true;
  }
  if (index < 0 || index >= section.Count()) return RejectRecord(reader);
  out = section[index];
  return true;
}

template <typename T>
bool MM3DModDatabase::WriteShared(UUWriter& writer, UUGrowableArray<UURefCount<T>>& section,
                                  const UURefCount<T>& object) {
  const int32_t index = FindOrAppend(section, object);
  return writer.WriteInt32s(&index, 1);
}
