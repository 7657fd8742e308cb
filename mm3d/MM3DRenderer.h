#pragma once
// The renderer between the pipeline and the device driver: the target a
// display tree is drawn into.

class MM3DRenderer {
 public:
  virtual ~MM3DRenderer() = default;
};
