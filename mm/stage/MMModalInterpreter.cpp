#include "mm/stage/MMModalInterpreter.h"

#include "mm/stage/MM2DVisual.h"
#include "mm/stage/MMHighlightable.h"

bool MMModalInterpreter::HandleMouse(const MMMouseEvent& event) {
  if ((event.mFlags & kMMMousePress) != 0 && Matches(event)) {
    Track(event);
    mCaptured = true;
    return true;
  }
  if (!mCaptured) return false;
  if ((event.mFlags & kMMMouseButtonDown) != 0) {
    Track(event);
    return true;
  }
  if ((event.mFlags & kMMMouseRelease) != 0 && Track(event)) Fire();
  EndTrack();
  mCaptured = false;
  return false;
}

void MMModalInterpreter::MouseLeave() {
  if (!mCaptured) return;
  EndTrack();
  mCaptured = false;
}

void MMHighlightModalInterpreter::Highlight(int32_t state) {
  if (mHighlight != nullptr) mHighlight->SetHighlight(state);
}

bool MMHighlightModalInterpreter::Track(const MMMouseEvent& event) {
  const UUPoint point{event.mX, event.mY};
  Highlight(HitTest(point) ? 1 : 0);
  return HitTest(point);
}

void MMHighlightModalInterpreter::EndTrack() { Highlight(0); }

MM2DPushButtonInterpreter::MM2DPushButtonInterpreter(MMAct* act, const MMTaskCallback& binding,
                                                     MM2DVisual* visual, MMCursor* cursor)
    : MMHighlightModalInterpreter(act, binding, dynamic_cast<MMHighlightable*>(visual), cursor),
      mVisual(visual) {}

bool MM2DPushButtonInterpreter::HitTest(UUPoint point) {
  return mVisual->Contains(point.mX, point.mY);
}
