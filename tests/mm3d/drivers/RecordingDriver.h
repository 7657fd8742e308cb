#pragma once
// A driver that records the device calls it receives, and a texture
// collection that records loads, frees and selections, for the tests of
// the driver contract.

#include "mm3d/drivers/MM3DDriver.h"

#include <string>
#include <vector>

class RecordingTextureCollection : public MM3DDriverTextureCollection {
 public:
  explicit RecordingTextureCollection(int32_t slotCount) : MM3DDriverTextureCollection(slotCount) {}

  bool LoadImage(int32_t slot, const MM3DDriverTextureFormat&,
                 const MM3DDriverTextureImage&) override {
    mLoaded.push_back(slot);
    return slot >= mFirstAccepted;
  }
  void FreeSlot(int32_t slot) override { mFreed.push_back(slot); }
  void Select(int32_t slot) override { mSelections.push_back(slot); }
  void Unselect() override { mSelections.push_back(kNone); }

  static constexpr int32_t kNone = -1;
  int32_t mFirstAccepted = 0;  // LoadImage refuses the slots below
  std::vector<int32_t> mLoaded;
  std::vector<int32_t> mFreed;
  std::vector<int32_t> mSelections;
};

class RecordingDriver : public MM3DDriver {
 public:
  explicit RecordingDriver(const MM3DDeviceMode& mode) : MM3DDriver(mode), mTextures(4) {}
  // The current texture goes before the collection it names.
  ~RecordingDriver() override { mTexture.Release(); }

  std::string GetApiName() const override { return "Recording"; }
  std::string GetDescription() const override { return {}; }
  MM3DDriverTextureCollection& GetTextureCollection() override { return mTextures; }
  bool Minimize() override { return Note("Minimize"); }
  bool Restore() override { return Note("Restore"); }
  void BeginScene() override { Note("BeginScene"); }
  void Clear() override { Note("Clear"); }
  void Present() override { Note("Present"); }
  void SetClearColor(uint32_t color) override { Note("ClearColor", static_cast<int64_t>(color)); }
  void SetCullMode(int32_t mode) override { Note("Cull", mode); }
  void SetFillMode(int32_t mode) override { Note("Fill", mode); }
  void SetDepthMode(int32_t mode) override { Note("DepthMode", mode); }
  void SetDepthFunction(int32_t function) override { Note("DepthFunction", function); }
  void SetBlending(int32_t opaque) override { Note("Blending", opaque); }
  void SetBlendFactors(int32_t source, int32_t destination) override {
    Note("BlendFactors", source * 10 + destination);
  }
  void SetTextureMode(int32_t mode) override { Note("TextureMode", mode); }
  void SetPerspectiveHint(int32_t hint) override { Note("Perspective", hint); }
  void SetDithering(int32_t dithering) override { Note("Dithering", dithering); }
  void SetViewport(const UURect& viewport) override { Note("Viewport", viewport.GetWidth()); }
  void SetDepthRange(const MM3DDepthRange&) override { Note("DepthRange"); }
  void SetProjection(const MM3DProjectionVolume&) override { Note("Projection"); }
  void SetViewMatrix(const MM3DMatrix&) override { Note("ViewMatrix"); }
  MM3DTriangleBuffer* CreateTriangleBuffer(int32_t, int32_t) override { return nullptr; }
  void DestroyTriangleBuffer(MM3DTriangleBuffer*) override {}
  void DrawTriangleBuffer(const MM3DRenderStateBlock&, MM3DTriangleBuffer&, int32_t,
                          int32_t) override {}

  // One call: its name and its argument (0 when it has none).
  struct Call {
    std::string mName;
    int64_t mValue;
    bool operator==(const Call&) const = default;
  };
  std::vector<Call> mCalls;
  RecordingTextureCollection mTextures;

 private:
  bool Note(const char* name, int64_t value = 0) {
    mCalls.push_back(Call{name, value});
    return true;
  }
};
