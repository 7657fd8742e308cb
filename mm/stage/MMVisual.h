#pragma once

#include "foundation/uu/UUPoint.h"
#include "foundation/uu/UURect.h"
#include "mm/stage/MMVisibility.h"

#include <cstdint>

class MMEnclosure;
class MMMouseInterpreter;
struct MMDrawContext;
struct MMMouseTarget;

// Something drawn in an enclosure, ordered among its visuals by depth
// (higher is in front). The setters act only on a change; the virtual
// Store... and AttachToEnclosure operations store and invalidate
// unconditionally.
class MMVisual {
 public:
  explicit MMVisual(int32_t depth) : mDepth(depth) {}
  virtual ~MMVisual() = default;
  MMVisual(const MMVisual&) = delete;
  MMVisual& operator=(const MMVisual&) = delete;

  virtual void Draw(const MMDrawContext& context) = 0;
  // Point in enclosure coordinates.
  virtual void HitTest(UUPoint point, MMMouseTarget& target) = 0;

  // Called by the enclosure's AddVisual and RemoveVisual only.
  void SetEnclosure(MMEnclosure* enclosure);
  // A change re-sorts the enclosure before its next draw or hit test.
  void SetDepth(int32_t depth);
  void SetVisibility(MMVisibility visibility);

  MMEnclosure* GetEnclosure() const { return mEnclosure; }
  int32_t GetDepth() const { return mDepth; }
  MMVisibility GetVisibility() const { return mVisibility; }

 protected:
  virtual void AttachToEnclosure(MMEnclosure* enclosure) { mEnclosure = enclosure; }
  virtual void StoreDepth(int32_t depth) { mDepth = depth; }
  virtual void StoreVisibility(MMVisibility visibility) { mVisibility = visibility; }

 private:
  MMEnclosure* mEnclosure = nullptr;
  int32_t mDepth;
  MMVisibility mVisibility = kMMShown;
};

// A visual of a flat space with integer coordinates (y growing downward)
// and a bounding rectangle, answering for the interpreter that a hit on it
// reaches. Every change that alters what is on screen invalidates the old
// and the new bounds.
class MMPlanarVisual : public MMVisual {
 public:
  explicit MMPlanarVisual(int32_t depth) : MMVisual(depth) {}

  // A hit sets the target found with the interpreter, or blocked without
  // one; a miss leaves the target searching.
  void HitTest(UUPoint point, MMMouseTarget& target) override;

  virtual UURect GetBounds() const = 0;
  // The top-left of the bounds.
  virtual UUPoint GetPosition() const { return GetBounds().GetTopLeft(); }
  // Only in an enclosure and while shown.
  virtual void InvalidateBounds();
  virtual bool Contains(int32_t, int32_t) const { return false; }

  // Does nothing when the point is the current position.
  void MoveTo(UUPoint point);
  // Only in an enclosure and while shown.
  void InvalidateRect(const UURect& rect);

  MMMouseInterpreter* GetInterpreter() const { return mInterpreter; }
  // Not owned; the molecule that owns both sets it.
  void SetInterpreter(MMMouseInterpreter* interpreter) { mInterpreter = interpreter; }

 protected:
  void AttachToEnclosure(MMEnclosure* enclosure) override;
  void StoreDepth(int32_t depth) override;
  void StoreVisibility(MMVisibility visibility) override;
  virtual void StorePosition(UUPoint) {}

 private:
  MMMouseInterpreter* mInterpreter = nullptr;
};
