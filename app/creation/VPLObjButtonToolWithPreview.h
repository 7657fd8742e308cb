#pragma once
// A palette button whose options edit the creation area's current
// material: the texture chooser, the intensity and opacity sliders with
// their labels, the spinning preview on its stand, the grey scale and the
// colour wheel. Every control writes the area's materializer and the
// preview shows it. The texture chooser's place is remembered for the run.

#include "app/creation/VPLObjButtonTool.h"

#include <cstdint>
#include <memory>

class VPLIntensityPercentageSlider;
class VPLMaterializer;
class VPLObjColorPicker;
class VPLObjDynamicPreview;
class VPLObjEventGrpCtrlScrollScriptedTextures;
class VPLObjGreyScale;
class VPLOpacityPercentageSlider;

class VPLObjButtonToolWithPreview : public VPLObjButtonTool {
 public:
  // Where the preview and its stand stand on the fill options.
  static const MM3DVector kPreviewPlace;
  static const MM3DVector kPedestalPlace;

  VPLObjButtonToolWithPreview(const VPLToolPalette& palette, const UURefCount<MM3DModel>& model,
                              const MMTaskCallback& callback, MMResourceId definition);
  ~VPLObjButtonToolWithPreview() override;

  // Keeps the texture chooser's place for the next engage.
  void Release() override;
  // Shows a material just copied into the materializer on every control.
  void RefreshFromMaterializer() override;

  virtual void AddSliders();
  virtual void AddTextureChooser(MMResourceId layout);
  // The preview shows the area's materializer.
  virtual VPLObjDynamicPreview* AddPreview(MMResourceId definition);
  virtual void AddColorPicker(MMResourceId table, VPLObjGreyScale* greyScale);
  virtual VPLObjGreyScale* AddGreyScale(MMResourceId table, MMResourceId knob,
                                        VPLObjDynamicPreview* preview);

  // Value callback of both sliders and scroll callback of the chooser.
  void OnMaterialSliderChanged();
  void OnTextureChosen();

  VPLObjGreyScale* GetGreyScale() const { return mGreyScale; }
  VPLObjEventGrpCtrlScrollScriptedTextures* GetTextureChooser() const { return mTextureChooser; }
  VPLObj* GetIntensityLabel() const { return mIntensityLabel.get(); }
  VPLObj* GetOpacityLabel() const { return mOpacityLabel.get(); }
  VPLOpacityPercentageSlider* GetOpacitySlider() const { return mOpacitySlider; }
  VPLIntensityPercentageSlider* GetIntensitySlider() const { return mIntensitySlider; }
  VPLObjDynamicPreview* GetPreview() const { return mPreview.get(); }
  VPLObj* GetPedestal() const { return mPedestal.get(); }
  // The texture chooser's place at its last release, for the whole run.
  static uint16_t GetRememberedTextureOffset();

 private:
  template <typename Slider>
  Slider* AddSlider(MMResourceId definition, MMResourceId knob);
  void ApplyToPreview() const;
  // The area's current material, which every option edits.
  VPLMaterializer& Materializer() const;
  void ForgetOptions();

  VPLObjGreyScale* mGreyScale = nullptr;
  VPLObjEventGrpCtrlScrollScriptedTextures* mTextureChooser = nullptr;
  std::unique_ptr<VPLObj> mIntensityLabel;
  std::unique_ptr<VPLObj> mOpacityLabel;
  VPLOpacityPercentageSlider* mOpacitySlider = nullptr;
  VPLIntensityPercentageSlider* mIntensitySlider = nullptr;
  std::unique_ptr<VPLObjDynamicPreview> mPreview;
  std::unique_ptr<VPLObj> mPedestal;
};
