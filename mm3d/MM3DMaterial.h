#pragma once
// Materials: per-part shaders of an indexed mesh. While a part draws, its
// material computes one packed colour per vertex on the CPU and describes
// how the part is textured and blended through at most two texture layers.
// Shading writes into process-wide scratch arrays that only grow, so a
// frame allocates nothing once they have reached the largest block.

#include "foundation/uu/UUGrowableArray.h"
#include "foundation/uu/UURefCount.h"
#include "mm3d/MM3DColor.h"
#include "mm3d/MM3DSceneChanges.h"
#include "mm3d/MM3DTextureHandle.h"
#include "mm3d/MM3DVector.h"
#include "mm3d/drivers/MM3DDriverTypes.h"

#include <cstdint>
#include <memory>

class MM3DModDatabase;
class MM3DRenderContext;
class MM3DTexturePlacement;
class UUReader;
class UUWriter;
struct MM3DVertexArrays;

// One texture stage of a material. Moving a layer hands its placement over
// and leaves the source without one; the texture handle is shared.
class MM3DMaterialTextureLayer {
 public:
  MM3DMaterialTextureLayer();
  MM3DMaterialTextureLayer(MM3DBlendFactors blend, MM3DTextureHandle texture);
  MM3DMaterialTextureLayer(MM3DMaterialTextureLayer&& other) noexcept;
  MM3DMaterialTextureLayer& operator=(MM3DMaterialTextureLayer&& other) noexcept;
  ~MM3DMaterialTextureLayer();

  const MM3DTextureHandle& GetTexture() const { return mTexture; }
  void SetTexture(const MM3DTextureHandle& texture) {
    mTexture = texture;
    MM3DSceneChanges::Note();
  }
  const MM3DBlendFactors& GetBlend() const { return mBlend; }
  void SetBlend(MM3DBlendFactors blend) {
    mBlend = blend;
    MM3DSceneChanges::Note();
  }
  MM3DTexturePlacement* GetPlacement() const { return mPlacement.get(); }
  void SetPlacement(std::unique_ptr<MM3DTexturePlacement> placement);

 private:
  MM3DTextureHandle mTexture;
  MM3DBlendFactors mBlend{kMM3DBlendOne, kMM3DBlendZero};
  std::unique_ptr<MM3DTexturePlacement> mPlacement;
};

class MM3DIndexedMeshShader {
 public:
  virtual ~MM3DIndexedMeshShader() = default;
  // eye: the viewer's position in the mesh's model space.
  virtual void Begin(MM3DRenderContext& context, const MM3DVector& eye);
  virtual void Shade(MM3DVertexArrays& arrays) = 0;
  virtual void End();
  bool IsActive() const { return mActive; }

 private:
  bool mActive = false;
};

enum MM3DMaterialKind : int32_t {
  kMM3DMaterialVertexColor = 0,
  kMM3DMaterialConstant = 1,
  kMM3DMaterialLambert = 2,
  kMM3DMaterialPhong = 3
};

class MM3DMaterial : public MM3DIndexedMeshShader {
 public:
  // A pipeline stage count: a material carries at most this many layers.
  static constexpr int32_t kMaxLayers = 2;

  MM3DMaterial() = default;
  explicit MM3DMaterial(float transparency) : mTransparency(transparency) {}
  MM3DMaterial(const MM3DMaterial&) = delete;
  MM3DMaterial& operator=(const MM3DMaterial&) = delete;

  virtual MM3DMaterialKind GetKind() const = 0;
  // Whether the pipeline must supply normals.
  virtual bool IsLit() const = 0;

  // False when transparent; otherwise true without layers or when the
  // first layer replaces what lies below, blend (1, 0).
  bool IsOpaque() const;
  float GetTransparency() const { return mTransparency; }
  // Stores t and makes the first layer's blend follow it: alpha blending
  // when t > 0, else replacement unless the texture itself has alpha.
  // Blend pairs other than those two are left alone.
  void SetTransparency(float t);

  int32_t GetLayerCount() const { return mLayers.Count(); }
  const MM3DMaterialTextureLayer& GetLayer(int32_t index) const { return mLayers[index]; }
  // False, changing nothing, for an index outside the layers.
  bool SetTextureLayer(int32_t index, MM3DMaterialTextureLayer&& layer);
  // False, changing nothing, when the material already has kMaxLayers.
  bool AddTextureLayer(MM3DMaterialTextureLayer&& layer);
  // Gives a layer another texture, keeping its blend pair and placement;
  // false, changing nothing, for an index outside the layers.
  bool SetLayerTexture(int32_t index, const MM3DTextureHandle& texture);

  // The material record: kind, transparency, the layers with their texture
  // references, keys and placements, then the kind's own data.
  bool WriteRecord(UUWriter& writer, MM3DModDatabase& database) const;
  // Reads a record into a new material that replaces the one out holds. A
  // kind outside 0 to 3 or more than kMaxLayers layers fails the read, as
  // does a failed layer, which leaves out as it was.
  static bool ReadRecord(UUReader& reader, MM3DModDatabase& database,
                         UURefCount<MM3DMaterial>& out);
  // The kind's own part of the record; the vertex-colour kind has none.
  virtual bool WriteData(UUWriter& writer) const;
  virtual bool ReadData(UUReader& reader);

  // Around each part of a mesh: puts the material and its layers'
  // placements in the context, and takes them out again.
  void Apply(MM3DRenderContext& context);
  void Unapply(MM3DRenderContext& context);

 protected:
  // The alpha byte of every vertex: (1 - transparency) x 255.
  uint8_t GetAlphaByte() const;

 private:
  float mTransparency = 0.0f;
  UUGrowableArray<MM3DMaterialTextureLayer> mLayers;
};

// Leaves the vertex block's own colours in place.
class MM3DMaterialVertexColor : public MM3DMaterial {
 public:
  using MM3DMaterial::MM3DMaterial;
  MM3DMaterialKind GetKind() const override { return kMM3DMaterialVertexColor; }
  bool IsLit() const override { return false; }
  void Shade(MM3DVertexArrays& arrays) override;
};

class MM3DMaterialWithColor : public MM3DMaterial {
 public:
  MM3DMaterialWithColor() = default;
  explicit MM3DMaterialWithColor(const MM3DColor& color) : mColor(color) {}
  const MM3DColor& GetColor() const { return mColor; }
  virtual void SetColor(const MM3DColor& color) {
    mColor = color;
    MM3DSceneChanges::Note();
  }
  // The colour's four floats.
  bool WriteData(UUWriter& writer) const override;
  bool ReadData(UUReader& reader) override;

 private:
  MM3DColor mColor{1.0f, 1.0f, 1.0f, 1.0f};
};

// One colour for every vertex.
class MM3DMaterialConstant : public MM3DMaterialWithColor {
 public:
  using MM3DMaterialWithColor::MM3DMaterialWithColor;
  MM3DMaterialKind GetKind() const override { return kMM3DMaterialConstant; }
  bool IsLit() const override { return false; }
  void Shade(MM3DVertexArrays& arrays) override;
};

// The process-wide shading scratch arrays: created empty at framework start
// (replacing any existing ones) and freed at shut-down.
void MM3DCreateShadingScratch();
void MM3DDestroyShadingScratch();
// The scratch array of a shaded kind (constant, Lambert or Phong), grown to
// at least count colours; null while it is empty.
MM3DPackedColor* MM3DGrowShadingScratch(MM3DMaterialKind kind, int32_t count);
// A colour component x 255 as a byte, truncated and kept within 0..255.
uint8_t MM3DClampedColorByte(float value);
