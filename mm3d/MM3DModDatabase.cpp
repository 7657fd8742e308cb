#include "mm3d/MM3DModDatabase.h"

#include "mm/resources/MMCollectionRegistry.h"

namespace {

constexpr char kSignature[] = "mod ";
constexpr int16_t kFormatCode = 16;
constexpr int16_t kVersion = 0;
constexpr int32_t kEndTag = 0;

// Empties the section, then reads a count and that many records with
// readOne, appending each; a failed record ends the read and leaves the
// records before it.
template <typename T, typename ReadOne>
bool ReadSection(UUReader& reader, UUGrowableArray<UURefCount<T>>& section, ReadOne readOne) {
  section.EraseRange(0, section.Count());
  int32_t count = 0;
  if (!MM3DDatabase::ReadInt32(reader, count) || !MM3DCheckCount(reader, count)) return false;
  // The section grows as records arrive, so a damaged count reserves
  // nothing.
  for (int32_t i = 0; i < count; ++i) {
    UURefCount<T> object;
    if (!readOne(object)) return false;
    section.Append(object);
  }
  section.Compact();
  return true;
}

// Reads a record into an owned object and shares it when it was read
// whole.
template <typename T, typename ReadOwned>
bool ReadOwnedRecord(UURefCount<T>& out, ReadOwned readOwned) {
  UUOwned<T> object;
  if (!readOwned(object)) return false;
  out = UURefCount<T>(object.Release());
  return true;
}

// The code, the count and each record.
template <typename T, typename WriteOne>
bool WriteList(UUWriter& writer, int32_t code, UUGrowableArray<UURefCount<T>>& section,
               WriteOne writeOne) {
  const int32_t header[2] = {code, section.Count()};
  if (!writer.WriteInt32s(header, 2)) return false;
  for (int32_t i = 0; i < section.Count(); ++i) {
    // A copy of the handle, so that a record that adds to its own section
    // cannot pull the element from under it.
    const UURefCount<T> object = section[i];
    if (!writeOne(*object)) return false;
  }
  return true;
}

// A section in a file: its list, or nothing when it is empty.
template <typename T, typename WriteOne>
bool WriteSection(UUWriter& writer, int32_t code, UUGrowableArray<UURefCount<T>>& section,
                  WriteOne writeOne) {
  return section.Count() == 0 || WriteList(writer, code, section, writeOne);
}

}  // namespace

MM3DModDatabase::MM3DModDatabase() : MM3DDatabase(kSignature, kFormatCode, kVersion, kEndTag) {}

bool MM3DModDatabase::ReadRecord(UUReader& reader, int32_t tag) {
  switch (tag) {
    case kMM3DMaterialSection:
      return ReadSection(reader, mMaterials, [&](UURefCount<MM3DMaterial>& material) {
        return MM3DMaterial::ReadRecord(reader, *this, material);
      });
    case kMM3DCurveSection:
      return ReadSection(reader, mCurves, [&](UURefCount<MM3DFunctionCurve>& curve) {
        return ReadOwnedRecord(curve, [&](UUOwned<MM3DFunctionCurve>& owned) {
          return MM3DReadFunctionCurve(reader, owned);
        });
      });
    case kMM3DLightSection:
      return ReadSection(reader, mLights, [&](UURefCount<MM3DLight>& light) {
        return ReadOwnedRecord(
            light, [&](UUOwned<MM3DLight>& owned) { return MM3DLight::ReadRecord(reader, owned); });
      });
    case kMM3DSplineSection:
      return ReadSection(reader, mSplines, [&](UURefCount<MM3DSpline>& spline) {
        return ReadOwnedRecord(spline, [&](UUOwned<MM3DSpline>& owned) {
          return MM3DSpline::ReadRecord(reader, owned);
        });
      });
    case kMM3DCameraSection:
      return MM3DReadCameraList(reader, mCameras);
    default:
      return RejectRecord(reader);
  }
}

bool MM3DModDatabase::WriteSections(UUWriter& writer) {
  const bool written =
      WriteSection(
          writer, kMM3DMaterialSection, mMaterials,
          [&](const MM3DMaterial& material) { return material.WriteRecord(writer, *this); }) &&
      WriteSection(writer, kMM3DCurveSection, mCurves,
                   [&](const MM3DFunctionCurve& curve) { return curve.WriteTagged(writer); }) &&
      WriteSection(writer, kMM3DLightSection, mLights,
                   [&](const MM3DLight& light) { return light.WriteRecord(writer); }) &&
      WriteSection(writer, kMM3DSplineSection, mSplines,
                   [&](const MM3DSpline& spline) { return spline.WriteRecord(writer); }) &&
      (mCameras.Count() == 0 || MM3DWriteCameraList(writer, kMM3DCameraSection, mCameras));
  return WriteEndTag(writer) && written;
}

bool MM3DModDatabase::ReadTextureTable(UUReader& reader) { return RejectRecord(reader); }

bool MM3DModDatabase::WriteTextureTable(UUWriter& writer) {
  writer.SetError(kUUErrorShortWrite);
  return false;
}

int32_t MM3DModDatabase::GetTextureId(int32_t) { return kMMNoResource; }

int32_t MM3DModDatabase::GetTextureReference(int32_t) { return kNone; }

void MM3DModDatabase::EmptySections() {
  mMaterials.EraseRange(0, mMaterials.Count());
  mCurves.EraseRange(0, mCurves.Count());
  mLights.EraseRange(0, mLights.Count());
  mSplines.EraseRange(0, mSplines.Count());
  mCameras.EraseRange(0, mCameras.Count());
}

bool MM3DReadCameraList(UUReader& reader, UUGrowableArray<UURefCount<MM3DCamera>>& cameras) {
  return ReadSection(reader, cameras, [&](UURefCount<MM3DCamera>& camera) {
    return ReadOwnedRecord(camera, [&](UUOwned<MM3DCamera>& owned) {
      owned.Reset(new MM3DCamera);
      return owned->Read(reader);
    });
  });
}

bool MM3DWriteCameraList(UUWriter& writer, int32_t code,
                         UUGrowableArray<UURefCount<MM3DCamera>>& cameras) {
  return WriteList(writer, code, cameras, [&](MM3DCamera& camera) { return camera.Write(writer); });
}
