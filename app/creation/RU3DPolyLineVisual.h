#pragma once
// A flat ribbon of one colour through up to 1024 world points, drawn
// straight with the renderer while the child drags a freehand stroke. Each
// point keeps the sideways offsets of the segment that led to it, so adding
// a point never moves the ribbon drawn so far. It is never hit: the tool
// that owns it takes the mouse.

#include "mm/stage/MMVisual.h"
#include "mm3d/MM3DColor.h"
#include "mm3d/MM3DVector.h"
#include "mm3d/drivers/MM3DRenderStateBlock.h"

#include <cstdint>
#include <vector>

class RU3DPolyLineVisual : public MMVisual {
 public:
  static constexpr int16_t kMaxPoints = 1024;

  // A ribbon of two points, both offset along the segment between them.
  RU3DPolyLineVisual(const MM3DVector& first, const MM3DVector& second, const MM3DColor& color,
                     float width, int32_t depth);
  ~RU3DPolyLineVisual() override;

  // False, adding nothing, when the ribbon is full or the point equals the
  // last one in all four components.
  bool AddPoint(const MM3DVector& point);
  // Copies the first min(n, count) centre points; answers that number.
  int16_t GetPoints(MM3DVector* out, int16_t n) const;
  int16_t GetCount() const { return mCount; }
  const MM3DVector& GetLeftEdge(int16_t i) const { return mLeftEdge[static_cast<size_t>(i)]; }
  const MM3DVector& GetRightEdge(int16_t i) const { return mRightEdge[static_cast<size_t>(i)]; }

  // One quad per segment in the view of the context's pipeline, unculled:
  // the ribbon's winding follows the stroke's direction.
  void Draw(const MMDrawContext& context) override;
  void HitTest(UUPoint, MMMouseTarget&) override {}

 private:
  // Stores the point and its offsets along the direction at index count.
  void StorePoint(const MM3DVector& point, const MM3DVector& direction);

  MM3DRenderStateBlock mRenderState;
  std::vector<MM3DVector> mRightEdge;
  std::vector<MM3DVector> mCentre;
  std::vector<MM3DVector> mLeftEdge;
  int16_t mCount = 0;
  MM3DColor mColor;
  float mHalfWidth;
};
