#pragma once
// The grey scale: a strip whose vertex colours 0 and 2 hold the colour
// taken from the colour wheel and whose vertex colour 1 holds a fixed end
// colour of its model. Dragging along it mixes the two by the place under
// the pointer (vertex 0's x gives the wheel's colour, vertex 1's the fixed
// one) and writes the mix, with the material's own transparency, into the
// materializer and the fill preview; with Shift only the base colour
// changes. A ray off the strip changes nothing. Its knob stays hidden.

#include "app/objects/VPLObjSlider.h"
#include "mm3d/MM3DColor.h"

class VPLMaterializer;
class VPLObjDynamicPreview;

class VPLObjGreyScale : public VPLObjSlider {
 public:
  // The sound lists of hovering and of the click.
  static constexpr MMResourceId kHoverSoundList = 29;
  static constexpr MMResourceId kClickSoundList = 30;

  // Takes the materializer's base colour as the wheel's colour; the
  // preview, when given, shows the materializer's two colours.
  VPLObjGreyScale(MMScene* scene, const UURefCount<MM3DModel>& model, MMResourceId knobId,
                  const MMTaskCallback& callback, VPLMaterializer* materializer,
                  VPLObjDynamicPreview* preview);

  void OnHoverOn() override;
  void OnHoverOff() override;
  void OnRelease(const VPLPickEvent& event) override;
  void MoveKnob(const VPLPickEvent& event) override;

  using VPLObj::SetColor;
  // The wheel's colour: the strip's end, the knob back at vertex 0; with
  // apply it goes to the materializer too, and with both to the second
  // colours as well.
  void SetColor(const MM3DPackedColor& color, bool apply, bool both);
  // The mix at the knob; alpha 0. A strip without width gives the first end.
  MM3DPackedColor CurrentColour() const;
  void ApplyToMaterializer(const MM3DPackedColor& color, bool both);
  // Vertex colours 0 and 1; zeros for a colour the strip lacks.
  virtual void GetEndColours(MM3DPackedColor& first, MM3DPackedColor& second) const;

 private:
  // The materializer's base transparency as a byte; 0 without one.
  uint8_t CurrentAlpha() const;
  // The preview's colours, the second too with both.
  void ShowOnPreview(const MM3DPackedColor& color, bool both);

  VPLMaterializer* mMaterializer;
  VPLObjDynamicPreview* mPreview;
};

// A byte of a packed colour as a float, 0 to 1.
float VPLByteToFloat(uint8_t byte);
MM3DColor VPLUnpack(const MM3DPackedColor& color);
MM3DPackedColor VPLPack(const MM3DColor& color);
