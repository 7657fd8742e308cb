#include "app/creation/VPLObjButtonToolWithPreview.h"

#include "app/creation/VPLSceneCreationArea.h"
#include "app/objects/VPLMaterializer.h"
#include "app/objects/VPLObjColorPicker.h"
#include "app/objects/VPLObjDynamicPreview.h"
#include "app/objects/VPLObjEventGrpCtrlScrollScripted.h"
#include "app/objects/VPLObjGreyScale.h"
#include "app/objects/VPLPercentageSlider.h"
#include "app/objects/VPLSceneUIBase.h"
#include "app/objects/VPLServices.h"
#include "mm3d/MM3DModelCollection.h"

#include <algorithm>

namespace {

constexpr MMResourceId kIntensityTrack = 240;
constexpr MMResourceId kIntensityKnob = 242;
constexpr MMResourceId kIntensityLabelModel = 219;
constexpr MMResourceId kOpacityTrack = 246;
constexpr MMResourceId kOpacityKnob = 248;
constexpr MMResourceId kOpacityLabelModel = 243;
constexpr MMResourceId kTextureChooserFrame = 133;
// Its item 0 means no texture.
constexpr MMResourceId kTextureList = 3;
constexpr MMResourceId kPedestalDefinition = 127;

// The scroll offset the texture chooser had at its last release.
uint16_t gRememberedTextureOffset = 0;

UURefCount<MM3DModel> ModelResource(MMResourceId model) {
  return MM3DGetModel(model, VPLGetServices().mTextureMap);
}

}  // namespace

// The interface's world x runs against the screen's: the layout's -17.6.
const MM3DVector VPLObjButtonToolWithPreview::kPreviewPlace{17.6f, 1.5f, -45.0f, 1.0f};
// The stand's model stands beside the spot; this brings it under the preview.
const MM3DVector VPLObjButtonToolWithPreview::kPedestalPlace{-1.0f, 0.0f, -2.0f, 1.0f};

VPLObjButtonToolWithPreview::VPLObjButtonToolWithPreview(const VPLToolPalette& palette,
                                                         const UURefCount<MM3DModel>& model,
                                                         const MMTaskCallback& callback,
                                                         MMResourceId definition)
    : VPLObjButtonTool(palette, model, callback, definition) {}

VPLObjButtonToolWithPreview::~VPLObjButtonToolWithPreview() = default;

uint16_t VPLObjButtonToolWithPreview::GetRememberedTextureOffset() {
  return gRememberedTextureOffset;
}

void VPLObjButtonToolWithPreview::Release() {
  mIntensityLabel.reset();
  mOpacityLabel.reset();
  if (mTextureChooser != nullptr) {
    gRememberedTextureOffset = static_cast<uint16_t>(mTextureChooser->GetOffset());
  }
  VPLObjButtonTool::Release();
  mPreview.reset();
  mPedestal.reset();
  ForgetOptions();
}

void VPLObjButtonToolWithPreview::ForgetOptions() {
  mGreyScale = nullptr;
  mTextureChooser = nullptr;
  mOpacitySlider = nullptr;
  mIntensitySlider = nullptr;
}

template <typename Slider>
Slider* VPLObjButtonToolWithPreview::AddSlider(MMResourceId definition, MMResourceId knob) {
  auto slider =
      std::make_unique<Slider>(GetScene(), DefinitionModel(definition), knob,
                               Callback(&VPLObjButtonToolWithPreview::OnMaterialSliderChanged));
  slider->SetScriptId(definition);
  slider->SetMaterializer(&Materializer());
  slider->ResetKnob();
  return Append(std::move(slider));
}

void VPLObjButtonToolWithPreview::AddSliders() {
  mIntensitySlider = AddSlider<VPLIntensityPercentageSlider>(kIntensityTrack, kIntensityKnob);
  mIntensityLabel = std::make_unique<VPLObj>(GetScene(), ModelResource(kIntensityLabelModel));
  mOpacitySlider = AddSlider<VPLOpacityPercentageSlider>(kOpacityTrack, kOpacityKnob);
  mOpacityLabel = std::make_unique<VPLObj>(GetScene(), ModelResource(kOpacityLabelModel));
}

void VPLObjButtonToolWithPreview::OnMaterialSliderChanged() { ApplyToPreview(); }

VPLMaterializer& VPLObjButtonToolWithPreview::Materializer() const {
  return *Area().GetMaterializer();
}

void VPLObjButtonToolWithPreview::ApplyToPreview() const {
  if (mPreview != nullptr) Materializer().Apply(mPreview.get());
}

void VPLObjButtonToolWithPreview::AddTextureChooser(MMResourceId layout) {
  auto chooser = std::make_unique<VPLObjEventGrpCtrlScrollScriptedTextures>(
      GetScene(), TableModel(kTextureChooserFrame, kVPLLayoutTable), layout,
      Callback(&VPLObjButtonToolWithPreview::OnTextureChosen), kTextureList);
  chooser->SetWrap(true);
  chooser->Build();
  mTextureChooser = Append(std::move(chooser));
  mTextureChooser->SetOffset(static_cast<int16_t>(gRememberedTextureOffset));
  if (VPLObjEvent* cell = mTextureChooser->GetChild(0)) cell->SetRotation(0.0f, 0.0f, 0.0f);
}

void VPLObjButtonToolWithPreview::OnTextureChosen() {
  VPLObjEvent* cell = mTextureChooser != nullptr ? mTextureChooser->GetChild(0) : nullptr;
  if (cell == nullptr) return;
  VPLMaterializer& materializer = Materializer();
  if (mTextureChooser->GetOffset() != 0) {
    materializer.TakeTexturesFromModel(*cell);
  } else {
    materializer.ClearLayers();
  }
  ApplyToPreview();
}

VPLObjDynamicPreview* VPLObjButtonToolWithPreview::AddPreview(MMResourceId definition) {
  mPedestal = std::make_unique<VPLObj>(GetScene(), DefinitionModel(kPedestalDefinition));
  mPedestal->SetLocation(kPedestalPlace);
  mPreview = std::make_unique<VPLObjDynamicPreview>(UIScene(), DefinitionModel(definition));
  mPreview->SetLocation(kPreviewPlace);
  ApplyToPreview();
  return mPreview.get();
}

void VPLObjButtonToolWithPreview::AddColorPicker(MMResourceId table, VPLObjGreyScale* greyScale) {
  Append(std::make_unique<VPLObjColorPicker>(GetScene(), DefinitionModel(table), MMTaskCallback(),
                                             greyScale));
}

VPLObjGreyScale* VPLObjButtonToolWithPreview::AddGreyScale(MMResourceId table, MMResourceId knob,
                                                           VPLObjDynamicPreview* preview) {
  mGreyScale = Append(std::make_unique<VPLObjGreyScale>(
      GetScene(), DefinitionModel(table), knob, MMTaskCallback(), &Materializer(), preview));
  return mGreyScale;
}

void VPLObjButtonToolWithPreview::RefreshFromMaterializer() {
  const VPLMaterializer& materializer = Materializer();
  if (mGreyScale != nullptr) mGreyScale->SetColor(VPLPack(materializer.GetColor()), false, true);
  if (mOpacitySlider != nullptr) mOpacitySlider->SetValue(materializer.GetColor().mA);
  // A copied material may be shinier than the track shows; the material
  // keeps its power, the knob stays on the track.
  if (mIntensitySlider != nullptr) {
    mIntensitySlider->SetValue(std::clamp(1.0f - materializer.GetSpecularPower(), 0.0f, 1.0f));
  }
  ApplyToPreview();
}
