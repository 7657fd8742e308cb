#pragma once
// What the creation area needs of the stored work and of the stage above
// it: the current sketch of the current sketchbook, and the stage's
// offscreen rendering for the sketch's thumbnail. The shell fills these at
// start-up, tests with their own; while one is missing the area goes
// without it (nothing read, nothing written).

#include <cstdint>
#include <functional>
#include <string>

class MMBitmap;
class MMSurface;
class VPLCreation;

class VPLSketchTarget {
 public:
  virtual ~VPLSketchTarget() = default;

  // Reads the current sketch's creation record into the creation; false,
  // the creation untouched, when there is no current sketch or it holds no
  // creation.
  virtual bool ReadCurrentSketch(VPLCreation& creation) = 0;
  // Writes the current sketch whole: the thumbnail and the creation's
  // record. False when there is no current sketch or the file could not be
  // written; the sketch then keeps its previous contents.
  virtual bool WriteCurrentSketch(VPLCreation& creation, const MMBitmap& thumbnail) = 0;
  // Names the current sketch (its file), empty when none: the area knows
  // by it whether a sketch it could not save is still the current one.
  virtual std::string GetCurrentSketchName() const = 0;
  // The number of sketches in the current sketchbook; 0 when none.
  virtual int32_t GetSketchCount() const = 0;
  // Makes a blank sketch in the current sketchbook without selecting it;
  // its index in the book, -1 when it could not be made.
  virtual int32_t NewSketch() = 0;
  virtual bool SelectSketch(int32_t index) = 0;
  // The index of the current sketchbook in the library; -1 when none.
  virtual int32_t GetCurrentSketchbookIndex() const = 0;
};

struct VPLCreationServices {
  // The current sketch's store.
  VPLSketchTarget* mSketches = nullptr;
  // Renders the stage's scenes into the surface at the stage time (-1 the
  // current one), on white or on the scenes' background; false when nothing
  // was rendered.
  std::function<bool(MMSurface& surface, int32_t stageTime, bool whiteBackground)> mRenderToSurface;
};

// The program's one set.
VPLCreationServices& VPLGetCreationServices();
