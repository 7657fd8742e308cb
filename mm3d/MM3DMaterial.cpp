#include "mm3d/MM3DMaterial.h"

#include "mm3d/MM3DMathFunctions.h"
#include "mm3d/MM3DRenderContext.h"
#include "mm3d/MM3DTextureHandle.h"
#include "mm3d/MM3DTexturePlacement.h"
#include "mm3d/MM3DVertexArrays.h"

#include <algorithm>
#include <utility>

namespace {

constexpr MM3DBlendFactors kReplace{kMM3DBlendOne, kMM3DBlendZero};
constexpr MM3DBlendFactors kAlphaBlend{kMM3DBlendSourceAlpha, kMM3DBlendInverseSourceAlpha};

UUGrowableArray<MM3DPackedColor>* gConstantScratch = nullptr;

// Frees whatever the framework left at process exit.
struct ScratchCleanup {
  ~ScratchCleanup() { MM3DDestroyShadingScratch(); }
} gScratchCleanup;

UUGrowableArray<MM3DPackedColor>& ConstantScratch() {
  if (gConstantScratch == nullptr) gConstantScratch = new UUGrowableArray<MM3DPackedColor>();
  return *gConstantScratch;
}

// Grows the array to at least n entries; it never shrinks.
void GrowTo(UUGrowableArray<MM3DPackedColor>& array, int32_t n) {
  if (array.Count() < n) array.Insert(array.Count(), n - array.Count(), MM3DPackedColor{});
}

// A float colour component as a byte, truncated and kept within 0..255.
uint8_t ClampedByte(float value) {
  const float scaled = std::clamp(value * 255.0f, 0.0f, 255.0f);
  return static_cast<uint8_t>(MM3DTruncate(scaled));
}

}  // namespace

void MM3DCreateShadingScratch() {
  MM3DDestroyShadingScratch();
  gConstantScratch = new UUGrowableArray<MM3DPackedColor>();
}

void MM3DDestroyShadingScratch() {
  delete gConstantScratch;
  gConstantScratch = nullptr;
}

MM3DMaterialTextureLayer::MM3DMaterialTextureLayer() = default;

MM3DMaterialTextureLayer::MM3DMaterialTextureLayer(MM3DBlendFactors blend,
                                                   UURefCount<MM3DTextureHandle> texture)
    : mTexture(std::move(texture)), mBlend(blend) {}

MM3DMaterialTextureLayer::MM3DMaterialTextureLayer(MM3DMaterialTextureLayer&& other) noexcept
    : mTexture(other.mTexture), mBlend(other.mBlend), mPlacement(std::move(other.mPlacement)) {}

MM3DMaterialTextureLayer& MM3DMaterialTextureLayer::operator=(
    MM3DMaterialTextureLayer&& other) noexcept {
  if (this != &other) {
    mTexture = other.mTexture;
    mBlend = other.mBlend;
    mPlacement = std::move(other.mPlacement);
  }
  return *this;
}

MM3DMaterialTextureLayer::~MM3DMaterialTextureLayer() = default;

void MM3DMaterialTextureLayer::SetPlacement(std::unique_ptr<MM3DTexturePlacement> placement) {
  mPlacement = std::move(placement);
}

void MM3DIndexedMeshShader::Begin(MM3DRenderContext& /*context*/, const MM3DVector& /*eye*/) {
  mActive = true;
}

void MM3DIndexedMeshShader::End() { mActive = false; }

bool MM3DMaterial::IsOpaque() const {
  if (mTransparency > 0.0f) return false;
  return mLayers.Count() == 0 || mLayers[0].GetBlend() == kReplace;
}

void MM3DMaterial::SetTransparency(float t) {
  mTransparency = t;
  if (mLayers.Count() == 0) return;
  MM3DMaterialTextureLayer& first = mLayers[0];
  if (t > 0.0f) {
    first.SetBlend(kAlphaBlend);
    return;
  }
  if (!(first.GetBlend() == kReplace || first.GetBlend() == kAlphaBlend)) return;
  const UURefCount<MM3DTextureHandle>& texture = first.GetTexture();
  const bool opaqueTexture = texture.IsEmpty() || texture->IsOpaque();
  first.SetBlend(opaqueTexture ? kReplace : kAlphaBlend);
}

bool MM3DMaterial::SetTextureLayer(int32_t index, MM3DMaterialTextureLayer&& layer) {
  if (index < 0 || index >= mLayers.Count()) return false;
  mLayers[index] = std::move(layer);
  return true;
}

bool MM3DMaterial::AddTextureLayer(MM3DMaterialTextureLayer&& layer) {
  if (mLayers.Count() >= kMaxLayers) return false;
  mLayers.Append(std::move(layer));
  return true;
}

void MM3DMaterial::Apply(MM3DRenderContext& context) {
  context.PushShader(this);
  context.SetCurrentShader(this);
  context.SetOpaque(IsOpaque());
  for (const MM3DMaterialTextureLayer& layer : mLayers) {
    if (layer.GetPlacement() != nullptr) context.PushMapper(layer.GetPlacement());
  }
}

void MM3DMaterial::Unapply(MM3DRenderContext& context) {
  context.RemoveShader(this);
  for (const MM3DMaterialTextureLayer& layer : mLayers) {
    if (layer.GetPlacement() != nullptr) context.RemoveMapper(layer.GetPlacement());
  }
}

uint8_t MM3DMaterial::GetAlphaByte() const { return ClampedByte(1.0f - mTransparency); }

void MM3DMaterialVertexColor::Shade(MM3DVertexArrays& /*arrays*/) {}

void MM3DMaterialConstant::Shade(MM3DVertexArrays& arrays) {
  const MM3DColor& color = GetColor();
  const MM3DPackedColor packed{ClampedByte(color.mR), ClampedByte(color.mG), ClampedByte(color.mB),
                               GetAlphaByte()};
  UUGrowableArray<MM3DPackedColor>& scratch = ConstantScratch();
  GrowTo(scratch, arrays.mVertexCount);
  std::fill(scratch.Begin(), scratch.Begin() + arrays.mVertexCount, packed);
  arrays.mColors = scratch.Count() == 0 ? nullptr : scratch.Begin();
}
