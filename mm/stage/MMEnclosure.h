#pragma once

#include "foundation/uu/UUList.h"
#include "foundation/uu/UUPoint.h"
#include "foundation/uu/UURect.h"
#include "mm3d/MM3DRenderContext.h"

class MMRegion;
class MMStage;
class MMView;
class MMVisual;
struct MMDrawContext;
struct MMMouseTarget;

// A space in which visuals live, shown by any number of views. It keeps
// its visuals in ascending depth order (re-sorted lazily after a depth
// change), draws them back to front, hit-tests them front to back, and
// hands invalidations of its own coordinates to every view showing it. It
// owns neither its visuals nor its views. Its render context holds the
// lights of the 3D objects living in it; in a 2D enclosure nothing reads it.
class MMEnclosure {
 public:
  explicit MMEnclosure(MMStage* stage) : mStage(stage), mRenderContext(true) {}
  virtual ~MMEnclosure() = default;
  MMEnclosure(const MMEnclosure&) = delete;
  MMEnclosure& operator=(const MMEnclosure&) = delete;

  // Region in enclosure coordinates.
  virtual void Draw(const MMRegion& region) = 0;
  virtual void FindTarget(UUPoint point, MMMouseTarget& target) = 0;

  // Appended, so of two visuals at one depth the later is in front.
  void AddVisual(MMVisual* visual);
  // The visual must be in the enclosure.
  void RemoveVisual(MMVisual* visual);
  // Called by the views' constructors and destructors only.
  void AddView(MMView* view) { mViews.PushBack(view); }
  void RemoveView(MMView* view) { mViews.Remove(view); }
  // An empty rectangle reaches no view.
  void Invalidate(const UURect& rect);
  // After a visual's depth changed.
  void InvalidateOrder() { mOrderValid = false; }

  MMStage* GetStage() const { return mStage; }
  const UUList<MMVisual*>& GetVisuals() const { return mVisuals; }
  const UUList<MMView*>& GetViews() const { return mViews; }
  bool IsOrderValid() const { return mOrderValid; }
  // Models push their lights here and pop them when they go.
  MM3DRenderContext& GetRenderContext() { return mRenderContext; }

 protected:
  // A stable sort, so visuals of equal depth keep their insertion order.
  void SortIfNeeded();
  // Every shown visual, back to front, after sorting when needed.
  void DrawVisuals(const MMDrawContext& context);
  // The visuals with the region, the render context and the stage's
  // renderer and pipeline; nothing on a stage without a 3D display.
  void DrawVisuals3D(const MMRegion& region);

 private:
  static bool CompareDepth(MMVisual* const* a, MMVisual* const* b);

  MMStage* mStage;
  UUList<MMView*> mViews;
  UUList<MMVisual*> mVisuals;
  bool mOrderValid = true;
  MM3DRenderContext mRenderContext;
};

// An enclosure of planar visuals: a point hits the frontmost shown visual
// that contains it.
class MMPlanarEnclosure : public MMEnclosure {
 public:
  using MMEnclosure::MMEnclosure;

  void FindTarget(UUPoint point, MMMouseTarget& target) override;
};

// A planar enclosure drawn into the stage's back surface, whose origin and
// clip its 2D view has already moved.
class MM2DPlanarEnclosure : public MMPlanarEnclosure {
 public:
  using MMPlanarEnclosure::MMPlanarEnclosure;

  void Draw(const MMRegion& region) override;
};
