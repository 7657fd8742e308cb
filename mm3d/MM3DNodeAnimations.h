#pragma once
// Curve animations of objects of the model file itself: a component of a
// transform node or a skeleton joint chosen by a channel code, a weight of
// a blend-shape node, the shape index of an indexed-shape node and a
// parameter of a texture placement. The target may be read after the
// animation, so it is held in a delayed reference. A channel's setter is
// chosen once, when the channel is set, so applying is one curve
// evaluation and one call. Without a target or a curve, on a channel
// outside the class's table and on a weight index outside the node's
// weights, applying writes nothing; such channels and indexes are read and
// written back as they are.

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"
#include "mm3d/MM3DDelayedReference.h"
#include "mm3d/MM3DDisplayTreeNodeBlendShape.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedShape.h"
#include "mm3d/MM3DDisplayTreeNodeJoint.h"
#include "mm3d/MM3DDisplayTreeNodeSRTTransform.h"
#include "mm3d/MM3DFunctionCurveAnimationBase.h"
#include "mm3d/MM3DTexturePlacement.h"

#include <cstdint>

// What every kind shares: the curve's value written into the target.
template <typename Target, MM3DAnimationKind Kind>
class MM3DTargetAnimation : public MM3DFunctionCurveAnimationBase {
 public:
  MM3DTargetAnimation() : MM3DFunctionCurveAnimationBase(Kind) {}
  MM3DTargetAnimation(Target* target, UURefCount<MM3DFunctionCurve> curve)
      : MM3DFunctionCurveAnimationBase(std::move(curve), Kind) {
    mTarget.Set(target);
  }

  void Apply(float seconds) override {
    if (CanApply()) SetValue(*mTarget.Get(), ValueAt(seconds));
  }
  void ApplyBlended(float time1, float weight1, float time2, float weight2) override {
    if (CanApply()) SetValue(*mTarget.Get(), BlendedValue(time1, weight1, time2, weight2));
  }
  // The curve index, then the target reference.
  bool Write(UUWriter& writer, MM3DModDatabase& database) const override {
    return MM3DFunctionCurveAnimationBase::Write(writer, database) && mTarget.Write(writer);
  }
  bool Read(UUReader& reader, MM3DModDatabase& database) override {
    return MM3DFunctionCurveAnimationBase::Read(reader, database) && mTarget.Read(reader);
  }

  Target* GetTarget() const { return mTarget.Get(); }

 protected:
  // Writes the value into the target.
  virtual void SetValue(Target& target, float value) = 0;

 private:
  bool CanApply() const { return mTarget.Get() != nullptr && HasCurve(); }

  MM3DDelayedReference<Target> mTarget;
};

// One component of the target chosen by a channel code, written after the
// target reference as an int32.
template <typename Target, MM3DAnimationKind Kind>
class MM3DChannelAnimation : public MM3DTargetAnimation<Target, Kind> {
 public:
  using Setter = void (Target::*)(float);

  MM3DChannelAnimation() = default;
  MM3DChannelAnimation(Target* target, UURefCount<MM3DFunctionCurve> curve, int32_t channel)
      : MM3DTargetAnimation<Target, Kind>(target, std::move(curve)) {
    SetChannel(channel);
  }

  // The setter of a channel code; null outside the table.
  static Setter SetterForChannel(int32_t channel);

  bool Write(UUWriter& writer, MM3DModDatabase& database) const override {
    return MM3DTargetAnimation<Target, Kind>::Write(writer, database) &&
           writer.WriteInt32s(&mChannel, 1);
  }
  bool Read(UUReader& reader, MM3DModDatabase& database) override {
    int32_t channel = kNoChannel;
    if (!MM3DTargetAnimation<Target, Kind>::Read(reader, database) ||
        !MM3DDatabase::ReadInt32(reader, channel)) {
      return false;
    }
    SetChannel(channel);
    return true;
  }

  int32_t GetChannel() const { return mChannel; }

 protected:
  void SetValue(Target& target, float value) override {
    if (mSetter != nullptr) (target.*mSetter)(value);
  }

 private:
  static constexpr int32_t kNoChannel = -1;

  void SetChannel(int32_t channel) {
    mChannel = channel;
    mSetter = SetterForChannel(channel);
  }

  int32_t mChannel = kNoChannel;
  Setter mSetter = nullptr;
};

// Channels 0-21: visibility, rotate pivot, rotation, rotate pivot
// translation, scale pivot, scale, scale pivot translation, translation
// (x, y, z within each group).
class MM3DSRTAnimation
    : public MM3DChannelAnimation<MM3DDisplayTreeNodeSRTTransform, kMM3DSRTAnimation> {
 public:
  using MM3DChannelAnimation::MM3DChannelAnimation;
};

// Channels 0-15: visibility, translation, rotation, joint orientation,
// parent scale (x, y, z within each group).
class MM3DJointAnimation
    : public MM3DChannelAnimation<MM3DDisplayTreeNodeJoint, kMM3DJointAnimation> {
 public:
  using MM3DChannelAnimation::MM3DChannelAnimation;
};

// Channels 0-4: repeat U and V, offset U and V, rotation in radians.
class MM3DTexturePlacementAnimation
    : public MM3DChannelAnimation<MM3DTexturePlacement, kMM3DTexturePlacementAnimation> {
 public:
  using MM3DChannelAnimation::MM3DChannelAnimation;
};

// One weight of a blend-shape node, named by its index, written after the
// target reference as an int32. An index beyond the node's weights
// changes nothing.
class MM3DBlendShapeWeightAnimation
    : public MM3DTargetAnimation<MM3DDisplayTreeNodeBlendShape, kMM3DBlendShapeWeightAnimation> {
 public:
  MM3DBlendShapeWeightAnimation() = default;
  MM3DBlendShapeWeightAnimation(MM3DDisplayTreeNodeBlendShape* target,
                                UURefCount<MM3DFunctionCurve> curve, int32_t weightIndex)
      : MM3DTargetAnimation(target, std::move(curve)), mWeightIndex(weightIndex) {}

  bool Write(UUWriter& writer, MM3DModDatabase& database) const override;
  bool Read(UUReader& reader, MM3DModDatabase& database) override;

  int32_t GetWeightIndex() const { return mWeightIndex; }

 protected:
  void SetValue(MM3DDisplayTreeNodeBlendShape& target, float value) override {
    target.SetWeight(mWeightIndex, value);
  }

 private:
  static constexpr int32_t kNoWeight = -1;

  int32_t mWeightIndex = kNoWeight;
};

// The shape index of an indexed-shape node; nothing follows the target
// reference.
class MM3DShapeIndexAnimation
    : public MM3DTargetAnimation<MM3DDisplayTreeNodeIndexedShape, kMM3DShapeIndexAnimation> {
 public:
  using MM3DTargetAnimation::MM3DTargetAnimation;

 protected:
  void SetValue(MM3DDisplayTreeNodeIndexedShape& target, float value) override {
    target.SetShapeIndex(value);
  }
};
