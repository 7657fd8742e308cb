#pragma once

#include "mm/resources/MMPictureReference.h"
#include "mm/stage/MM2DVisual.h"
#include "mm/stage/MMHighlightable.h"

// A visual that shows a picture, optionally mirrored, and is hit where the
// picture's transparency is at most its hit threshold.
class MM2DPictureBasedVisual : public MM2DVisual {
 public:
  explicit MM2DPictureBasedVisual(int32_t depth);
  MM2DPictureBasedVisual(const MMPictureReference& picture, int32_t depth);

  // The threshold that new picture visuals start with (0 at start-up:
  // only fully opaque pixels hit).
  static void SetDefaultHitThreshold(int32_t threshold);

  bool Contains(int32_t x, int32_t y) const override;
  void DrawClipped(MMSurface* surface) override;
  // There is a picture and it is copied whole (sub-format 0).
  virtual bool IsPlainPicture() const;

  // Does nothing when it names the current picture.
  void SetPicture(const MMPictureReference& picture);
  const MMPictureReference& GetPicture() const { return mPicture; }
  void SetHitThreshold(int32_t threshold) { mHitThreshold = threshold; }
  void SetMirror(bool mirrorX, bool mirrorY);

 protected:
  virtual void StorePicture(const MMPictureReference& picture) { mPicture.Set(picture); }

 private:
  bool mMirrorX = false;
  bool mMirrorY = false;
  int32_t mHitThreshold;
  MMPictureReference mPicture;
};

// A picture whose top-left corner lies at its position.
class MM2DPictureVisual : public MM2DPictureBasedVisual {
 public:
  MM2DPictureVisual(UUPoint position, int32_t depth)
      : MM2DPictureBasedVisual(depth), mPosition(position) {}
  MM2DPictureVisual(UUPoint position, const MMPictureReference& picture, int32_t depth)
      : MM2DPictureBasedVisual(picture, depth), mPosition(position) {}

  // All zeros without a picture.
  UURect GetBounds() const override;
  UUPoint GetPosition() const override { return mPosition; }

 protected:
  void StorePosition(UUPoint point) override { mPosition = point; }

 private:
  UUPoint mPosition;
};

// A picture that shows its highlighted picture while highlighted.
class MM2DPictureButtonVisual : public MM2DPictureVisual, public MMHighlightable {
 public:
  MM2DPictureButtonVisual(const MMPictureReference& normal, const MMPictureReference& highlighted,
                          UUPoint position, int32_t depth);

  void SetNormalPicture(const MMPictureReference& picture);
  void SetHighlightPicture(const MMPictureReference& picture);

 protected:
  void ApplyHighlight(int32_t state) override;

 private:
  // Swaps the picture of the current state in when it is not shown.
  void ShowWanted();

  MMPictureReference mNormal;
  MMPictureReference mHighlighted;
};
