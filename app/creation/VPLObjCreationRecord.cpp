// The created object's record in the creation stream: its after-motions,
// colours, path and place, so that what moved goes on moving when read.
#include "app/creation/VPLObjCreation.h"

#include "app/objects/VPLDisplayTreeVisitors.h"
#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"

#include <algorithm>
#include <cmath>

namespace {

// The tint given back to an object written while highlighted whose first
// mesh has no coloured material to take it from: the program's only tint.
const MM3DColor kDefaultTint{1.2f, 1.2f, 1.2f, 0.0f};

bool ReadFinite(UUReader& reader, float* values, uint32_t n) {
  return reader.ReadFloats(values, n) &&
         std::all_of(values, values + n, [](float v) { return std::isfinite(v); });
}

bool ReadPositive(UUReader& reader, float* values, uint32_t n) {
  return ReadFinite(reader, values, n) &&
         std::all_of(values, values + n, [](float v) { return v > 0.0f; });
}

bool WriteColor(UUWriter& writer, const MM3DColor& color) {
  const float values[4] = {color.mR, color.mG, color.mB, color.mA};
  return writer.WriteFloats(values, 4);
}

bool ReadColor(UUReader& reader, MM3DColor& color) {
  float values[4];
  if (!ReadFinite(reader, values, 4)) return false;
  color = MM3DColor{values[0], values[1], values[2], values[3]};
  return true;
}

bool WriteVector(UUWriter& writer, const MM3DVector& v) {
  const float values[4] = {v.mX, v.mY, v.mZ, v.mW};
  return writer.WriteFloats(values, 4);
}

bool ReadVector(UUReader& reader, MM3DVector& v) {
  float values[4];
  if (!ReadFinite(reader, values, 4)) return false;
  v = MM3DVector(values[0], values[1], values[2], values[3]);
  return true;
}

bool ReadInt32(UUReader& reader, int32_t& value) { return reader.ReadInt32s(&value, 1); }

bool ReadFlag(UUReader& reader, bool& flag) { return reader.ReadBooleans(&flag, 1); }

}  // namespace

bool VPLObjCreation::WriteRecord(UUWriter& writer, void* /*context*/) {
  const bool highlighted = mHighlighted;
  MM3DColor tint = kDefaultTint;
  if (highlighted) {
    if (const MM3DMaterialWithColor* material = ColoredPartZero(FirstMesh())) {
      tint = material->GetColor();
    }
    SetHighlight(false, tint);
  }
  const bool written = WriteFields(writer);
  if (highlighted) SetHighlight(true, tint);
  return written;
}

bool VPLObjCreation::WriteFields(UUWriter& writer) const {
  const int32_t path[2] = {mPathId, mPathDuration};
  const int32_t sounds[3] = {mPathSound, mSpinSound, mJiggleSound};
  return writer.WriteBooleans(&mStepsHeld, 1) && writer.WriteFloats(mSpinIncrement, 3) &&
         writer.WriteBooleans(&mSpinning, 1) && writer.WriteInt32s(&mSpinPeriod, 1) &&
         writer.WriteFloats(mJiggleLow, 3) && writer.WriteFloats(mScaleCurrent, 3) &&
         writer.WriteFloats(mJiggleHigh, 3) && writer.WriteBooleans(mJiggleGrowing, 3) &&
         writer.WriteBooleans(&mJiggling, 1) && writer.WriteInt32s(&mJigglePeriod, 1) &&
         WriteColor(writer, mBaseColor) && writer.WriteBooleans(&mPulsing, 1) &&
         (!mPulsing || WriteColor(writer, mSecondColor)) &&
         writer.WriteBooleans(&mPulseRising, 1) && writer.WriteFloats(&mPulseMix, 1) &&
         writer.WriteInt32s(path, 2) && writer.WriteBooleans(&mPathPlaying, 1) &&
         writer.WriteInt32s(&mPathElapsed, 1) && WriteVector(writer, mPathLastPoint) &&
         writer.WriteFloats(mReserved, 4) && writer.WriteInt32s(sounds, 3) &&
         writer.WriteInt16s(&mBusy, 1) && WriteVector(writer, GetWorldPosition());
}

bool VPLObjCreation::ReadRecord(UUReader& reader, void* /*context*/) {
  // Placing the object refreshed its bounds.
  if (!ReadMotion(reader) || !ReadColors(reader) || !ReadPathAndPlace(reader)) return false;
  RestartMotions();
  return true;
}

// The spin and the jiggle; a period that could divide by zero or run
// backwards fails the record.
bool VPLObjCreation::ReadMotion(UUReader& reader) {
  if (!ReadFlag(reader, mStepsHeld) || !ReadFinite(reader, mSpinIncrement, 3) ||
      !ReadFlag(reader, mSpinning) || !ReadInt32(reader, mSpinPeriod) || mSpinPeriod < 0) {
    return false;
  }
  const int32_t now = Now();
  mSpinStepTime = now;
  mJiggleStepTime = now;
  mPulseStepTime = now;
  return ReadPositive(reader, mJiggleLow, 3) && ReadPositive(reader, mScaleCurrent, 3) &&
         ReadPositive(reader, mJiggleHigh, 3) && reader.ReadBooleans(mJiggleGrowing, 3) &&
         ReadFlag(reader, mJiggling) && ReadInt32(reader, mJigglePeriod) &&
         !(mJiggling && mJigglePeriod <= 0);
}

bool VPLObjCreation::ReadColors(UUReader& reader) {
  if (!ReadColor(reader, mBaseColor) || !ReadFlag(reader, mPulsing)) return false;
  if (mPulsing) {
    if (!ReadColor(reader, mSecondColor)) return false;
    UpdatePulsePeriod();
  }
  return ReadFlag(reader, mPulseRising) && ReadFinite(reader, &mPulseMix, 1);
}

// The time into the path's run lies within the run, so that the clock the
// run restarts from is a time the stage's clock can count back to.
bool VPLObjCreation::ReadPathAndPlace(UUReader& reader) {
  int32_t path[2];
  if (!reader.ReadInt32s(path, 2)) return false;
  SetPath(path[0], path[1]);
  int32_t sounds[3];
  MM3DVector position;
  if (!ReadFlag(reader, mPathPlaying) || !ReadInt32(reader, mPathElapsed) || mPathElapsed < 0 ||
      mPathElapsed > std::max(path[1], 0) || !ReadVector(reader, mPathLastPoint) ||
      !ReadFinite(reader, mReserved, 4) || !reader.ReadInt32s(sounds, 3) ||
      !reader.ReadInt16s(&mBusy, 1) || mBusy < 0 || !ReadVector(reader, position)) {
    return false;
  }
  mPathSound = sounds[0];
  mSpinSound = sounds[1];
  mJiggleSound = sounds[2];
  SetLocation(position);
  return true;
}

void VPLObjCreation::RestartMotions() {
  if (mPathPlaying) {
    mPathStart = Now() - mPathElapsed;
    MakePathSoundChannel();
    StartSound(mPathChannel.get(), mPathSound, true);
  }
  if (mSpinning) {
    MakeSpinSoundChannel();
    UpdateSpinSound();
  }
  if (mJiggling) MakeJiggleSoundChannel();
}
