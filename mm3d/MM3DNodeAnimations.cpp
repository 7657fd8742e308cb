#include "mm3d/MM3DNodeAnimations.h"

#include <array>

namespace {

template <typename Setter, size_t N>
Setter Lookup(const std::array<Setter, N>& table, int32_t channel) {
  return channel >= 0 && static_cast<size_t>(channel) < N ? table[channel] : nullptr;
}

using SRT = MM3DDisplayTreeNodeSRTTransform;
using Joint = MM3DDisplayTreeNodeJoint;

}  // namespace

template <>
auto MM3DNodeChannelAnimation<SRT, kMM3DSRTAnimation>::SetterForChannel(int32_t channel) -> Setter {
  static constexpr std::array<Setter, 22> kSetters = {
      &SRT::SetVisibilityFromValue,
      &SRT::SetRotatePivotX,
      &SRT::SetRotatePivotY,
      &SRT::SetRotatePivotZ,
      &SRT::SetRotationX,
      &SRT::SetRotationY,
      &SRT::SetRotationZ,
      &SRT::SetRotatePivotTranslationX,
      &SRT::SetRotatePivotTranslationY,
      &SRT::SetRotatePivotTranslationZ,
      &SRT::SetScalePivotX,
      &SRT::SetScalePivotY,
      &SRT::SetScalePivotZ,
      &SRT::SetScaleX,
      &SRT::SetScaleY,
      &SRT::SetScaleZ,
      &SRT::SetScalePivotTranslationX,
      &SRT::SetScalePivotTranslationY,
      &SRT::SetScalePivotTranslationZ,
      &SRT::SetTranslationX,
      &SRT::SetTranslationY,
      &SRT::SetTranslationZ,
  };
  return Lookup(kSetters, channel);
}

template <>
auto MM3DNodeChannelAnimation<Joint, kMM3DJointAnimation>::SetterForChannel(int32_t channel)
    -> Setter {
  static constexpr std::array<Setter, 16> kSetters = {
      &Joint::SetVisibilityFromValue,
      &Joint::SetTranslationX,
      &Joint::SetTranslationY,
      &Joint::SetTranslationZ,
      &Joint::SetRotationX,
      &Joint::SetRotationY,
      &Joint::SetRotationZ,
      &Joint::SetScaleX,
      &Joint::SetScaleY,
      &Joint::SetScaleZ,
      &Joint::SetOrientX,
      &Joint::SetOrientY,
      &Joint::SetOrientZ,
      &Joint::SetParentScaleX,
      &Joint::SetParentScaleY,
      &Joint::SetParentScaleZ,
  };
  return Lookup(kSetters, channel);
}
