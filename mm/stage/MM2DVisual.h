#pragma once

#include "foundation/af/AFPalette.h"
#include "mm/stage/MMVisual.h"

class MMSurface;

// A planar visual drawn on a surface, clipped to each rectangle of the
// region it is asked to redraw.
class MM2DVisual : public MMPlanarVisual {
 public:
  explicit MM2DVisual(int32_t depth) : MMPlanarVisual(depth) {}

  void Draw(const MMDrawContext& context) override;
  // The surface's clip rectangle is already set.
  virtual void DrawClipped(MMSurface* surface) = 0;
};

// A 2D visual placed by one point.
class MM2DPointBasedVisual : public MM2DVisual {
 public:
  MM2DPointBasedVisual(UUPoint position, int32_t depth) : MM2DVisual(depth), mPosition(position) {}

  UUPoint GetPosition() const override { return mPosition; }

 protected:
  void StorePosition(UUPoint point) override { mPosition = point; }

 private:
  UUPoint mPosition;
};

// A 2D visual that is its box.
class MM2DBoxBasedVisual : public MM2DVisual {
 public:
  MM2DBoxBasedVisual(const UURect& box, int32_t depth) : MM2DVisual(depth), mBox(box) {}

  UURect GetBounds() const override { return mBox; }
  UUPoint GetPosition() const override { return mBox.GetTopLeft(); }
  void SetBox(const UURect& box);
  // Division truncating toward zero: a box of odd size lies one pixel
  // nearer the bottom right.
  void CenterOn(UUPoint point);

 protected:
  // Moves the box, its size kept.
  void StorePosition(UUPoint point) override;
  virtual void StoreBox(const UURect& box) { mBox = box; }

 private:
  UURect mBox;
};

// A box hit anywhere inside it.
class MM2DOpaqueBoxVisual : public MM2DBoxBasedVisual {
 public:
  using MM2DBoxBasedVisual::MM2DBoxBasedVisual;

  bool Contains(int32_t x, int32_t y) const override;
};

class MM2DSolidBoxVisual : public MM2DOpaqueBoxVisual {
 public:
  MM2DSolidBoxVisual(const AFColor& color, const UURect& box, int32_t depth)
      : MM2DOpaqueBoxVisual(box, depth), mColor(color) {}

  void DrawClipped(MMSurface* surface) override;

 private:
  AFColor mColor;
};

// An invisible box that only catches the mouse: it never draws and never
// invalidates.
class MM2DBoxVisual : public MM2DBoxBasedVisual {
 public:
  using MM2DBoxBasedVisual::MM2DBoxBasedVisual;

  void InvalidateBounds() override {}
  bool Contains(int32_t x, int32_t y) const override;
  void DrawClipped(MMSurface*) override {}
};
