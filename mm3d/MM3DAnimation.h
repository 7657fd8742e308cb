#pragma once
// One time-varying value written into one target: a component of a node,
// a material or a light. A clip sets all of its animations to one time.

#include "foundation/uu/UUOwned.h"

#include <cstdint>

class MM3DModDatabase;
class UUReader;
class UUWriter;

// The code written before each animation of a clip; it chooses the class
// the reader makes.
enum MM3DAnimationKind : int32_t {
  kMM3DNoAnimation = -1,
  kMM3DSRTAnimation = 0,
  kMM3DJointAnimation = 1,
  kMM3DBlendShapeWeightAnimation = 2,
  kMM3DShapeIndexAnimation = 3,
  kMM3DMaterialDiffuseRedAnimation = 4,
  kMM3DMaterialDiffuseGreenAnimation = 5,
  kMM3DMaterialDiffuseBlueAnimation = 6,
  kMM3DMaterialAmbientRedAnimation = 7,
  kMM3DMaterialAmbientGreenAnimation = 8,
  kMM3DMaterialAmbientBlueAnimation = 9,
  kMM3DMaterialIncandescenceRedAnimation = 10,
  kMM3DMaterialIncandescenceGreenAnimation = 11,
  kMM3DMaterialIncandescenceBlueAnimation = 12,
  kMM3DMaterialSpecularRedAnimation = 13,
  kMM3DMaterialSpecularGreenAnimation = 14,
  kMM3DMaterialSpecularBlueAnimation = 15,
  kMM3DMaterialTransparencyAnimation = 16,
  kMM3DMaterialDiffuseCoefficientAnimation = 17,
  kMM3DMaterialSpecularPowerAnimation = 18,
  kMM3DMaterialTextureAnimation = 19,
  kMM3DLightRedAnimation = 20,
  kMM3DLightGreenAnimation = 21,
  kMM3DLightBlueAnimation = 22,
  kMM3DTexturePlacementAnimation = 23,
};

class MM3DAnimation {
 public:
  explicit MM3DAnimation(MM3DAnimationKind kind = kMM3DNoAnimation) : mKind(kind) {}
  virtual ~MM3DAnimation() = default;
  MM3DAnimation(const MM3DAnimation&) = delete;
  MM3DAnimation& operator=(const MM3DAnimation&) = delete;

  virtual float GetStartTime() const = 0;
  virtual float GetEndTime() const = 0;
  // Writes the value at a time in seconds into the target.
  virtual void Apply(float seconds) = 0;
  // Writes weight1 x value(time1) + weight2 x value(time2) into the target.
  virtual void ApplyBlended(float time1, float weight1, float time2, float weight2) = 0;
  // The animation's record; false at the first failure.
  virtual bool Write(UUWriter& writer, MM3DModDatabase& database) const = 0;
  virtual bool Read(UUReader& reader, MM3DModDatabase& database) = 0;

  float GetDuration() const { return GetEndTime() - GetStartTime(); }
  MM3DAnimationKind GetKind() const { return mKind; }
  void SetKind(MM3DAnimationKind kind) { mKind = kind; }
  // The int32 kind code, then the record.
  bool WriteWithKind(UUWriter& writer, MM3DModDatabase& database) const;

 private:
  MM3DAnimationKind mKind;
};

// Reads a kind code and the record of an animation of that kind into
// animation, replacing what it held. A code no class answers to fails the
// read with a bad-data error and creates nothing; a record that fails
// leaves the half-read animation in the pointer.
bool MM3DReadAnimation(UUReader& reader, MM3DModDatabase& database,
                       UUOwned<MM3DAnimation>& animation);
