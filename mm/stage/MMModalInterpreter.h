#pragma once

#include "mm/stage/MMMouseInterpreter.h"

#include "foundation/uu/UUPoint.h"

class MM2DVisual;

// Captures the mouse from a matching press until the first event without
// the button-down bit, tracking every event meanwhile; a release that
// tracks inside fires. Leaving the target ends the capture without firing.
class MMModalInterpreter : public MMStandardMouseInterpreter {
 public:
  explicit MMModalInterpreter(MMAct* act) : MMModalInterpreter(act, MMTaskCallback(), nullptr) {}
  MMModalInterpreter(MMAct* act, const MMTaskCallback& binding, MMCursor* cursor)
      : MMStandardMouseInterpreter(act, binding, cursor) {}

  bool HandleMouse(const MMMouseEvent& event) override;
  void MouseLeave() override;
  // Answers whether the point counts as inside.
  virtual bool Track(const MMMouseEvent& event) = 0;
  virtual void EndTrack() = 0;

  bool IsCaptured() const { return mCaptured; }

 private:
  bool mCaptured = false;
};

// A modal interpreter that highlights its target while the held mouse is
// inside it.
class MMHighlightModalInterpreter : public MMModalInterpreter {
 public:
  MMHighlightModalInterpreter(MMAct* act, const MMTaskCallback& binding, MMHighlightable* highlight,
                              MMCursor* cursor)
      : MMModalInterpreter(act, binding, cursor), mHighlight(highlight) {}

  bool Track(const MMMouseEvent& event) override;
  void EndTrack() override;
  // Point in the target's enclosure coordinates.
  virtual bool HitTest(UUPoint point) = 0;

 private:
  void Highlight(int32_t state);

  MMHighlightable* mHighlight;
};

// The push button of a picture button: the visual it presses is also what
// it highlights, so it must be an MMHighlightable (an
// MM2DPictureButtonVisual is); another visual is pressed without highlight.
class MM2DPushButtonInterpreter : public MMHighlightModalInterpreter {
 public:
  MM2DPushButtonInterpreter(MMAct* act, MM2DVisual* visual)
      : MM2DPushButtonInterpreter(act, MMTaskCallback(), visual, nullptr) {}
  MM2DPushButtonInterpreter(MMAct* act, const MMTaskCallback& binding, MM2DVisual* visual,
                            MMCursor* cursor);

  bool HitTest(UUPoint point) override;

 private:
  MM2DVisual* mVisual;
};
