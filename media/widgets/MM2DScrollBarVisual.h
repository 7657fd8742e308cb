#pragma once

#include "foundation/af/AFPalette.h"
#include "mm/stage/MM2DVisual.h"

#include <cstdint>

// The parts of a scroll bar a press can hold.
enum MMScrollBarPart : int32_t {
  kMMScrollBarNone = 0,
  kMMScrollBarFirstArrow = 1,  // up or left
  kMMScrollBarTrackBefore = 2,
  kMMScrollBarThumb = 3,
  kMMScrollBarTrackAfter = 4,
  kMMScrollBarSecondArrow = 5,  // down or right
};

// A scroll bar laid out in its box: two arrow buttons as thick as the bar
// and between them a track (overlapping each arrow by one pixel) with a
// thumb; vertical when the box is higher than wide. Subclasses draw the
// parts.
class MM2DScrollBarVisual : public MM2DOpaqueBoxVisual {
 public:
  MM2DScrollBarVisual(const UURect& box, int32_t depth);

  void DrawClipped(MMSurface* surface) override;

  // The thumb's length for visible of total (the whole track when all is
  // visible), never shorter than an arrow; back at the start of the track.
  void SetProportion(int32_t total, int32_t visible);
  void SetThumbOffset(int32_t offset);
  // The part under a point of the enclosure; none outside the box.
  MMScrollBarPart HitPart(int32_t x, int32_t y) const;
  // Redraws the parts that change.
  void SetPressedPart(MMScrollBarPart part);
  void BeginThumbDrag(int32_t x, int32_t y);
  void DragThumb(int32_t x, int32_t y);

  MMScrollBarPart GetPressedPart() const { return mPressedPart; }
  bool IsVertical() const { return mVertical; }
  int32_t GetThumbOffset() const { return mThumbOffset; }
  int32_t GetThumbLength() const { return mThumbLength; }
  int32_t GetTrackLength() const { return mTrackLength; }
  int32_t GetFreeTrack() const { return mFreeTrack; }
  int32_t GetArrowSize() const { return mArrowSize; }
  const UURect& GetTrackRect() const { return mTrackRect; }
  const UURect& GetFirstArrowRect() const { return mFirstArrowRect; }
  const UURect& GetSecondArrowRect() const { return mSecondArrowRect; }
  UURect GetThumbRect() const;

 protected:
  void StoreBox(const UURect& box) override;
  virtual void DrawFirstArrow(MMSurface* surface, const UURect& rect, bool pressed) = 0;
  virtual void DrawTrack(MMSurface* surface, const UURect& track, const UURect& thumb,
                         bool pressed) = 0;
  virtual void DrawSecondArrow(MMSurface* surface, const UURect& rect, bool pressed) = 0;

 private:
  void Layout();
  // The coordinate along the bar, from the visual's position.
  int32_t Along(int32_t x, int32_t y) const;
  void SetThumbLength(int32_t length);
  void InvalidatePart(MMScrollBarPart part);
  int32_t ClampOffset(int32_t offset) const;

  MMScrollBarPart mPressedPart = kMMScrollBarNone;
  int32_t mDragOrigin = 0;
  bool mVertical = false;
  int32_t mThumbOffset = 0;
  int32_t mThumbLength = 0;
  int32_t mTrackLength = 0;
  int32_t mFreeTrack = 0;
  int32_t mArrowSize = 0;
  int32_t mBarLength = 0;
  UURect mFirstArrowRect;
  UURect mTrackRect;
  UURect mSecondArrowRect;
};

// A scroll bar of framed, bevelled boxes; no arrow glyphs.
class MM2DPlainScrollBarVisual : public MM2DScrollBarVisual {
 public:
  struct Colors {
    AFColor mFrame = AFColor(AFRGB(0, 0, 0));
    AFColor mFace = AFColor(AFRGB(170, 170, 170));
    AFColor mLight = AFColor(AFRGB(255, 255, 255));
    AFColor mShadow = AFColor(AFRGB(85, 85, 85));
  };

  MM2DPlainScrollBarVisual(const UURect& box, int32_t depth) : MM2DScrollBarVisual(box, depth) {}
  MM2DPlainScrollBarVisual(const Colors& colors, const UURect& box, int32_t depth)
      : MM2DScrollBarVisual(box, depth), mColors(colors) {}

  void SetColors(const Colors& colors);

 protected:
  void DrawFirstArrow(MMSurface* surface, const UURect& rect, bool pressed) override;
  void DrawTrack(MMSurface* surface, const UURect& track, const UURect& thumb,
                 bool pressed) override;
  void DrawSecondArrow(MMSurface* surface, const UURect& rect, bool pressed) override;

 private:
  void DrawArrow(MMSurface* surface, const UURect& rect, bool pressed);
  void DrawBevel(MMSurface* surface, const UURect& rect, bool pressed);

  Colors mColors;
};
