#include "mm3d/MM3DNodeAnimations.h"

#include "mm3d/MM3DDeformerRecords.h"

#include <array>

namespace {

template <typename Setter, size_t N>
Setter Lookup(const std::array<Setter, N>& table, int32_t channel) {
  return channel >= 0 && static_cast<size_t>(channel) < N ? table[static_cast<size_t>(channel)]
                                                          : nullptr;
}

using SRT = MM3DDisplayTreeNodeSRTTransform;
using Joint = MM3DDisplayTreeNodeJoint;
using Placement = MM3DTexturePlacement;

}  // namespace

template <>
auto MM3DChannelAnimation<SRT, kMM3DSRTAnimation>::SetterForChannel(int32_t channel) -> Setter {
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
auto MM3DChannelAnimation<Joint, kMM3DJointAnimation>::SetterForChannel(int32_t channel) -> Setter {
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

template <>
auto MM3DChannelAnimation<Placement, kMM3DTexturePlacementAnimation>::SetterForChannel(
    int32_t channel) -> Setter {
  static constexpr std::array<Setter, 5> kSetters = {
      &Placement::SetRepeatU, &Placement::SetRepeatV,  &Placement::SetOffsetU,
      &Placement::SetOffsetV, &Placement::SetRotation,
  };
  return Lookup(kSetters, channel);
}

bool MM3DBlendShapeWeightAnimation::Write(UUWriter& writer, MM3DModDatabase& database) const {
  return MM3DTargetAnimation::Write(writer, database) && writer.WriteInt32s(&mWeightIndex, 1);
}

bool MM3DBlendShapeWeightAnimation::Read(UUReader& reader, MM3DModDatabase& database) {
  return MM3DTargetAnimation::Read(reader, database) &&
         MM3DDatabase::ReadInt32(reader, mWeightIndex);
}
