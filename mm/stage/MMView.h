#pragma once
// A view shows an enclosure in a rectangle of its host (an act, in stage
// coordinates): the enclosure point at the origin is drawn at the
// rectangle's top-left corner. The host keeps its views ordered by depth
// (higher layers are drawn later and hit first), draws and hit-tests them
// and collects their invalidations. A 3D view also carries what the engine
// needs to render into the rectangle: a depth range, a projection volume
// and a view matrix.

#include <cstdint>

#include "foundation/uu/UUPoint.h"
#include "foundation/uu/UURect.h"
#include "mm/stage/MMVisibility.h"
#include "mm3d/MM3DMatrix.h"
#include "mm3d/MM3DProjectionVolume.h"
#include "mm3d/drivers/MM3DDriverTypes.h"

class MM3DRenderer;
class MMEnclosure;
class MMRegion;
class MMStage;
class MMViewServices;
struct MMMouseTarget;

class MMView {
 public:
  // Registers with the host and the enclosure and invalidates the
  // rectangle. The projection starts as a perspective of 45 degrees whose
  // aspect is the whole stage's.
  MMView(MMViewServices* services, MMEnclosure* enclosure, const UURect& rect, int32_t depth);
  // Invalidates the rectangle and unregisters.
  virtual ~MMView();
  MMView(const MMView&) = delete;
  MMView& operator=(const MMView&) = delete;

  // Before deletion: the act forgets a mouse target reached through this
  // view.
  virtual void Detach();
  // Redraws what of the region (host coordinates) the view shows.
  virtual void Draw(const MMRegion& region);
  // Asked only when the view is shown and its rectangle holds the point
  // (host coordinates); a view on the way to a found target joins its path.
  virtual void HitTest(UUPoint point, MMMouseTarget& target);
  // Rect in enclosure coordinates; only while shown, clipped to the view.
  virtual void Invalidate(const UURect& rect);

  // Each acts only on a change.
  void SetVisibility(MMVisibility visibility);
  void SetRect(const UURect& rect);
  void SetDepth(int32_t depth);
  void SetOrigin(UUPoint origin);
  void SetDepthRange(const MM3DDepthRange& range);
  void SetProjection(const MM3DProjectionVolume& projection);
  // Exact equality of all sixteen values counts as no change.
  void UpdateViewMatrix(const MM3DMatrix& matrix);

  bool IsVisible() const { return mVisibility == kMMShown; }
  MMVisibility GetVisibility() const { return mVisibility; }
  // In the host's coordinates.
  UURect GetRect() const { return mRect; }
  int32_t GetDepth() const { return mDepth; }
  UUPoint GetOrigin() const { return mOrigin; }
  const MM3DDepthRange& GetDepthRange() const { return mDepthRange; }
  const MM3DProjectionVolume& GetProjection() const { return mProjection; }
  const MM3DMatrix& GetViewMatrix() const { return mViewMatrix; }
  MMEnclosure* GetEnclosure() const { return mEnclosure; }
  MMViewServices* GetServices() const { return mServices; }
  MMStage* GetStage() const;

  void StageToEnclosure(UUPoint& point) const { Move(point, EnclosureOffset()); }
  void StageToEnclosure(UURect& rect) const { rect.Offset(EnclosureOffset()); }
  void StageToEnclosure(MMRegion& region) const;
  void EnclosureToStage(UUPoint& point) const { Move(point, StageOffset()); }
  void EnclosureToStage(UURect& rect) const { rect.Offset(StageOffset()); }
  void EnclosureToStage(MMRegion& region) const;

 protected:
  virtual void ApplyVisibility(MMVisibility visibility);
  virtual void ApplyRect(const UURect& rect);
  virtual void ApplyDepth(int32_t depth);
  virtual void ApplyOrigin(UUPoint origin);
  virtual void ApplyDepthRange(const MM3DDepthRange& range) { mDepthRange = range; }
  virtual void ApplyProjection(const MM3DProjectionVolume& projection) { mProjection = projection; }
  virtual void ApplyViewMatrix(const MM3DMatrix& matrix) { mViewMatrix = matrix; }
  // The renderer renders to the default target, into the view's rectangle
  // with its depth range.
  void AimRendererAtView(MM3DRenderer& renderer) const;
  // The part of the region that the view shows, in enclosure coordinates,
  // sorted.
  void ShownRegion(const MMRegion& region, MMRegion& shown) const;
  void InvalidateWhenShown() const;

 private:
  static void Move(UUPoint& point, UUPoint by) {
    point = UUPoint{point.mX + by.mX, point.mY + by.mY};
  }
  UUPoint EnclosureOffset() const {
    return UUPoint{mOrigin.mX - mRect.mLeft, mOrigin.mY - mRect.mTop};
  }
  UUPoint StageOffset() const { return UUPoint{mRect.mLeft - mOrigin.mX, mRect.mTop - mOrigin.mY}; }

  MMVisibility mVisibility = kMMShown;
  UURect mRect;
  int32_t mDepth;
  MMViewServices* mServices;
  MMEnclosure* mEnclosure;
  UUPoint mOrigin;
  MM3DDepthRange mDepthRange{0.0f, 1.0f};
  MM3DProjectionVolume mProjection;
  MM3DMatrix mViewMatrix;
};

// A view that draws a 2D planar enclosure into the stage's back surface,
// its origin and clip moved so that enclosure coordinates land in the view.
class MM2DPlanarView : public MMView {
 public:
  using MMView::MMView;

  void Draw(const MMRegion& region) override;
};
