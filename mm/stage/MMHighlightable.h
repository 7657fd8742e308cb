#pragma once

#include <cstdint>

// Something that shows a highlight, mixed into the visuals that mouse
// interpreters highlight: 0 off, 1 on.
class MMHighlightable {
 public:
  virtual ~MMHighlightable() = default;

  // Acts only on a change.
  void SetHighlight(int32_t state) {
    if (state != mHighlight) ApplyHighlight(state);
  }
  int32_t GetHighlight() const { return mHighlight; }

 protected:
  virtual void ApplyHighlight(int32_t state) { mHighlight = state; }

 private:
  int32_t mHighlight = 0;
};
