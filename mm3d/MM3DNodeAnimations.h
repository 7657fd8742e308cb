#pragma once
// Curve animations of one component of a transform node or a skeleton
// joint, chosen by a channel code. The component setter is chosen once,
// when the channel is set, so applying is one curve evaluation and one
// call; a channel outside the class's table chooses none and applying then
// writes nothing, as it does without a target or a curve.

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"
#include "mm3d/MM3DDelayedReference.h"
#include "mm3d/MM3DDisplayTreeNodeJoint.h"
#include "mm3d/MM3DDisplayTreeNodeSRTTransform.h"
#include "mm3d/MM3DFunctionCurveAnimationBase.h"

#include <cstdint>

template <typename Node, MM3DAnimationKind Kind>
class MM3DNodeChannelAnimation : public MM3DFunctionCurveAnimationBase {
 public:
  using Setter = void (Node::*)(float);

  MM3DNodeChannelAnimation() : MM3DFunctionCurveAnimationBase(Kind) {}
  MM3DNodeChannelAnimation(Node* target, UURefCount<MM3DFunctionCurve> curve, int32_t channel)
      : MM3DFunctionCurveAnimationBase(std::move(curve), Kind) {
    mTarget.Set(target);
    SetChannel(channel);
  }

  // The setter of a channel code; null outside the table.
  static Setter SetterForChannel(int32_t channel);

  void Apply(float seconds) override {
    if (CanApply()) (mTarget.Get()->*mSetter)(ValueAt(seconds));
  }
  void ApplyBlended(float time1, float weight1, float time2, float weight2) override {
    if (CanApply()) (mTarget.Get()->*mSetter)(BlendedValue(time1, weight1, time2, weight2));
  }
  // The curve index, the target reference, then the int32 channel.
  bool Write(UUWriter& writer, MM3DModDatabase& database) const override {
    return MM3DFunctionCurveAnimationBase::Write(writer, database) && mTarget.Write(writer) &&
           writer.WriteInt32s(&mChannel, 1);
  }
  bool Read(UUReader& reader, MM3DModDatabase& database) override {
    int32_t channel = kNoChannel;
    if (!MM3DFunctionCurveAnimationBase::Read(reader, database) || !mTarget.Read(reader) ||
        !reader.ReadInt32s(&channel, 1)) {
      return false;
    }
    SetChannel(channel);
    return true;
  }

  int32_t GetChannel() const { return mChannel; }
  Node* GetTarget() const { return mTarget.Get(); }

 private:
  static constexpr int32_t kNoChannel = -1;

  void SetChannel(int32_t channel) {
    mChannel = channel;
    mSetter = SetterForChannel(channel);
  }
  bool CanApply() const { return mSetter != nullptr && mTarget.Get() != nullptr && HasCurve(); }

  MM3DDelayedReference<Node> mTarget;
  int32_t mChannel = kNoChannel;
  Setter mSetter = nullptr;
};

// Channels 0-21: visibility, rotate pivot, rotation, rotate pivot
// translation, scale pivot, scale, scale pivot translation, translation
// (x, y, z within each group).
class MM3DSRTAnimation
    : public MM3DNodeChannelAnimation<MM3DDisplayTreeNodeSRTTransform, kMM3DSRTAnimation> {
 public:
  using MM3DNodeChannelAnimation::MM3DNodeChannelAnimation;
};

// Channels 0-15: visibility, translation, rotation, joint orientation,
// parent scale (x, y, z within each group).
class MM3DJointAnimation
    : public MM3DNodeChannelAnimation<MM3DDisplayTreeNodeJoint, kMM3DJointAnimation> {
 public:
  using MM3DNodeChannelAnimation::MM3DNodeChannelAnimation;
};
