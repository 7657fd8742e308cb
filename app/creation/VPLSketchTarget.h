#pragma once
// What the creation area needs of the stored work: the current sketch of
// the current sketchbook (the stage's offscreen rendering of its thumbnail
// is a program service, VPLServices). The shell fills it at start-up,
// tests with their own; while it is missing the area goes without it
// (nothing read, nothing written).

#include <cstdint>
#include <string>

class MMBitmap;
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
};

// The program's one set.
VPLCreationServices& VPLGetCreationServices();
