#pragma once
// What a scene asks of its focus molecule. The molecule classes implement
// it.

#include "mm/MMEvents.h"

class MMMolecule {
 public:
  virtual ~MMMolecule() = default;
  virtual void GainFocus() = 0;
  virtual void LoseFocus() = 0;
  // Answers whether the key was handled.
  virtual bool HandleKey(const MMKeyEvent& event) = 0;
};
