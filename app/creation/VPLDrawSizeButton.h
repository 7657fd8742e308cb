#pragma once
// The row of sizes of the draw and the magnet options: a radio set whose
// chosen size shows red and is written into the creation area (the draw
// size for the draw tool, the magnet size for either magnet tool), where
// the tools read it. The others show grey and glow orange under the
// pointer.

#include "app/creation/VPLObjButtonTool.h"

#include <cstdint>

class VPLDrawSizeButton : public VPLObjEventGrpCtrlNonScroll {
 public:
  // The one-row vector table every size child is placed at (their models
  // carry their own place).
  static constexpr MMResourceId kOffsetTable = 134;
  static const MM3DColor kPlainColor;
  static const MM3DColor kChosenColor;

  VPLDrawSizeButton(const VPLToolPalette& palette, const UURefCount<MM3DModel>& model,
                    MMResourceId layout, const MMTaskCallback& callback, int32_t tool);

  void OnHoverOn() override;
  void OnHoverOff() override;
  // The children from the layout, all plain, all at the common offset.
  void Build() override;
  // A size past the children (a stored one from a changed layout) is
  // ignored: nothing is written and the chosen size stays, shown red.
  void Select(int16_t index) override;

  void SetToolNumber(int32_t tool) { mTool = tool; }
  int32_t GetToolNumber() const { return mTool; }

 private:
  void ShowPlain(int16_t index) const;
  void ShowChosen(int16_t index, const MM3DColor& hover) const;
  void WriteSize(int16_t index) const;

  VPLToolPalette mPalette;
  int32_t mTool;
};
