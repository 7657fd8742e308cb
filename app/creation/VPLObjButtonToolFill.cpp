#include "app/creation/VPLObjButtonToolFill.h"

#include "app/creation/VPLSceneCreationArea.h"

namespace {

constexpr MMResourceId kTextureLayout = 133;
constexpr MMResourceId kPreviewDefinition = 126;
constexpr MMResourceId kGreyScaleDefinition = 129;
constexpr MMResourceId kGreyScaleKnob = 130;
constexpr MMResourceId kColorWheelDefinition = 128;
constexpr int32_t kFloodColorTool = 5;

}  // namespace

void VPLObjButtonToolFill::Engage() {
  AddTextureChooser(kTextureLayout);
  AddSliders();
  VPLObjDynamicPreview* preview = AddPreview(kPreviewDefinition);
  VPLObjGreyScale* greyScale = AddGreyScale(kGreyScaleDefinition, kGreyScaleKnob, preview);
  AddColorPicker(kColorWheelDefinition, greyScale);
  EngageTool(kFloodColorTool);
}
