#pragma once
// The molecules of 2D scenes: each owns its visual (and interpreter), which
// is in the scene's enclosure exactly as long as the molecule lives.

#include "foundation/uu/UUPoint.h"
#include "foundation/uu/UURect.h"
#include "mm/resources/MMCollectionRegistry.h"
#include "mm/resources/MMPictureReference.h"
#include "mm/stage/MMMolecule.h"

class MM2DPictureButtonVisual;
class MM2DPictureVisual;
class MMCursor;
class MMMouseInterpreter;
class MMPlanarVisual;

// A molecule shown by one planar visual.
class MM2DVisualMolecule : public MMMolecule {
 public:
  // Takes the visual and adds it to the scene's enclosure.
  MM2DVisualMolecule(MMScene* scene, MMPlanarVisual* visual);
  ~MM2DVisualMolecule() override;

  virtual int32_t GetDepth() const;
  virtual void SetDepth(int32_t depth);
  virtual UUPoint GetPosition() const;
  virtual void MoveTo(UUPoint point);

  MMPlanarVisual* GetVisual() const { return mVisual; }

 protected:
  void ApplyVisibility(MMVisibility visibility) override;

 private:
  MMPlanarVisual* mVisual;
};

// A visual molecule whose visual answers the mouse through the molecule's
// interpreter.
class MM2DMouseVisualMolecule : public MM2DVisualMolecule {
 public:
  // An invisible box whose click (a matching press) posts the binding.
  MM2DMouseVisualMolecule(MMScene* scene, const MMTaskCallback& binding, const UURect& box,
                          int32_t depth, MMCursor* cursor);
  MM2DMouseVisualMolecule(MMScene* scene, MMMouseInterpreter* interpreter, const UURect& box,
                          int32_t depth);
  MM2DMouseVisualMolecule(MMScene* scene, MMMouseInterpreter* interpreter, MMPlanarVisual* visual);
  ~MM2DMouseVisualMolecule() override;

  MMMouseInterpreter* GetInterpreter() const { return mInterpreter; }

 protected:
  // Hiding gives up the act's mouse target first.
  void ApplyVisibility(MMVisibility visibility) override;

 private:
  MMMouseInterpreter* mInterpreter;
};

// A push button of two pictures: the highlighted one shows while pressed
// inside.
class MM2DPictureButtonMolecule : public MMMolecule {
 public:
  MM2DPictureButtonMolecule(MMScene* scene, UUPoint position, MMResourceId normal,
                            MMResourceId highlighted, int32_t depth, const MMTaskCallback& binding,
                            MMCursor* cursor);
  MM2DPictureButtonMolecule(MMScene* scene, UUPoint position, MMResourceId normal,
                            MMResourceId highlighted, int32_t depth,
                            MMMouseInterpreter* interpreter);
  MM2DPictureButtonMolecule(MMScene* scene, MM2DPictureButtonVisual* visual,
                            const MMTaskCallback& binding, MMCursor* cursor);
  MM2DPictureButtonMolecule(MMScene* scene, MM2DPictureButtonVisual* visual,
                            MMMouseInterpreter* interpreter);
  ~MM2DPictureButtonMolecule() override;

  // Detaches and deletes the old interpreter.
  void SetInterpreter(MMMouseInterpreter* interpreter);
  MM2DPictureButtonVisual* GetVisual() const { return mVisual; }
  MMMouseInterpreter* GetInterpreter() const { return mInterpreter; }

 protected:
  // Hiding keeps the act's mouse target.
  void ApplyVisibility(MMVisibility visibility) override;

 private:
  void AttachVisual();

  MM2DPictureButtonVisual* mVisual;
  MMMouseInterpreter* mInterpreter;
};

// A molecule that shows one picture and does not answer the mouse.
class MM2DPictureMolecule : public MMMolecule {
 public:
  MM2DPictureMolecule(MMScene* scene, MM2DPictureVisual* visual);
  // Without a picture.
  MM2DPictureMolecule(MMScene* scene, UUPoint position, int32_t depth);
  MM2DPictureMolecule(MMScene* scene, const MMPictureReference& picture, UUPoint position,
                      int32_t depth);
  MM2DPictureMolecule(MMScene* scene, MMResourceId picture, UUPoint position, int32_t depth);
  ~MM2DPictureMolecule() override;

  MM2DPictureVisual* GetVisual() const { return mVisual; }

 protected:
  void ApplyVisibility(MMVisibility visibility) override;

 private:
  MM2DPictureVisual* mVisual;
};
