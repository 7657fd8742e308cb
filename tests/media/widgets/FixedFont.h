#pragma once
// A font of fixed metrics for the widget tests: every character 10 pixels
// wide, ascent 8, descent 2, lines 12 apart. It draws nothing.

#include "mm/drawing/MMFont.h"

#include <cstring>

class FixedFont : public MMFont {
 public:
  static constexpr int32_t kCharWidth = 10;
  static constexpr int32_t kAscent = 8;
  static constexpr int32_t kDescent = 2;
  static constexpr int32_t kLineSpacing = 12;

  void Select(MMSurface*) override { mSelected = true; }
  void Deselect() override { mSelected = false; }
  bool IsSelected() const override { return mSelected; }
  int32_t GetCapHeight() const override { return 6; }
  int32_t GetAscent() const override { return kAscent; }
  int32_t GetDescent() const override { return kDescent; }
  int32_t GetLineSpacing() const override { return kLineSpacing; }
  int32_t GetTextWidth(const char* text, int32_t length) override {
    if (length == 0) length = text == nullptr ? 0 : static_cast<int32_t>(std::strlen(text));
    return length * kCharWidth;
  }
  int32_t GetCharPositions(int16_t* positions, const char*, int32_t length) override {
    for (int32_t i = 0; i <= length; ++i) positions[i] = static_cast<int16_t>(i * kCharWidth);
    return length * kCharWidth;
  }
  int32_t GetLeftOverhang(const char*) override { return 0; }
  int32_t GetRightOverhang(uint32_t) override { return 0; }
  void MoveTo(int32_t x, int32_t y) override { mPosition = UUPoint{x, y}; }
  UUPoint GetPosition() override { return mPosition; }
  void DrawText(const AFColor&, const char* text, int32_t length) override {
    mPosition.mX += GetTextWidth(text, length);
  }

 private:
  bool mSelected = false;
  UUPoint mPosition;
};
