#pragma once
// A material layer's view of a texture: whether there is one and whether it
// is drawn without alpha. The texture subsystem supplies the handles.

class MM3DTextureHandle {
 public:
  virtual ~MM3DTextureHandle() = default;
  // True when the texture has no alpha channel to blend with.
  virtual bool IsOpaque() const = 0;
};
