#include "mm3d/MM3DMaterial.h"

#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "mm3d/MM3DMathFunctions.h"
#include "mm3d/MM3DRenderContext.h"
#include "mm3d/MM3DSceneChanges.h"
#include "mm3d/MM3DTexturePlacement.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr MM3DBlendFactors kReplace{kMM3DBlendOne, kMM3DBlendZero};
constexpr MM3DBlendFactors kAlphaBlend{kMM3DBlendSourceAlpha, kMM3DBlendInvSourceAlpha};

// One packed-colour array per shaded kind: constant, Lambert, Phong.
constexpr int32_t kScratchKinds = 3;
UUGrowableArray<MM3DPackedColor>* gScratch[kScratchKinds] = {};

// Frees whatever the framework left at process exit.
struct ScratchCleanup {
  ~ScratchCleanup() { MM3DDestroyShadingScratch(); }
} gScratchCleanup;

}  // namespace

void MM3DCreateShadingScratch() {
  MM3DDestroyShadingScratch();
  for (UUGrowableArray<MM3DPackedColor>*& scratch : gScratch) {
    scratch = new UUGrowableArray<MM3DPackedColor>();
  }
}

void MM3DDestroyShadingScratch() {
  for (UUGrowableArray<MM3DPackedColor>*& scratch : gScratch) {
    delete scratch;
    scratch = nullptr;
  }
}

MM3DPackedColor* MM3DGrowShadingScratch(MM3DMaterialKind kind, int32_t count) {
  UUGrowableArray<MM3DPackedColor>*& scratch = gScratch[kind - kMM3DMaterialConstant];
  if (scratch == nullptr) scratch = new UUGrowableArray<MM3DPackedColor>();
  if (scratch->Count() < count) {
    scratch->Insert(scratch->Count(), count - scratch->Count(), MM3DPackedColor{});
  }
  return scratch->Count() == 0 ? nullptr : scratch->Begin();
}

uint8_t MM3DClampedColorByte(float value) {
  // NaN passes through a clamp untouched; it counts as nothing.
  if (std::isnan(value)) return 0;
  const float scaled = std::clamp(value * 255.0f, 0.0f, 255.0f);
  return static_cast<uint8_t>(MM3DTruncate(scaled));
}

MM3DMaterialTextureLayer::MM3DMaterialTextureLayer() = default;

MM3DMaterialTextureLayer::MM3DMaterialTextureLayer(MM3DBlendFactors blend,
                                                   MM3DTextureHandle texture)
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
  MM3DSceneChanges::Note();
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
  MM3DSceneChanges::Note();
  mTransparency = t;
  if (mLayers.Count() == 0) return;
  MM3DMaterialTextureLayer& first = mLayers[0];
  if (t > 0.0f) {
    first.SetBlend(kAlphaBlend);
    return;
  }
  if (!(first.GetBlend() == kReplace || first.GetBlend() == kAlphaBlend)) return;
  const MM3DTextureHandle& texture = first.GetTexture();
  const bool opaqueTexture = texture.IsEmpty() || texture.IsOpaque();
  first.SetBlend(opaqueTexture ? kReplace : kAlphaBlend);
}

bool MM3DMaterial::SetTextureLayer(int32_t index, MM3DMaterialTextureLayer&& layer) {
  if (index < 0 || index >= mLayers.Count()) return false;
  mLayers[index] = std::move(layer);
  MM3DSceneChanges::Note();
  return true;
}

bool MM3DMaterial::SetLayerTexture(int32_t index, const MM3DTextureHandle& texture) {
  if (index < 0 || index >= mLayers.Count()) return false;
  mLayers[index].SetTexture(texture);
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

uint8_t MM3DMaterial::GetAlphaByte() const { return MM3DClampedColorByte(1.0f - mTransparency); }

void MM3DMaterialVertexColor::Shade(MM3DVertexArrays& /*arrays*/) {}

void MM3DMaterialConstant::Shade(MM3DVertexArrays& arrays) {
  const MM3DColor& color = GetColor();
  const MM3DPackedColor packed{MM3DClampedColorByte(color.mR), MM3DClampedColorByte(color.mG),
                               MM3DClampedColorByte(color.mB), GetAlphaByte()};
  MM3DPackedColor* colors = MM3DGrowShadingScratch(GetKind(), arrays.mVertexCount);
  std::fill(colors, colors + arrays.mVertexCount, packed);
  arrays.mColors = colors;
}
