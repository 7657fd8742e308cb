#pragma once
// The creation area's sketches as the Library holds them: the current
// sketch of the current sketchbook, read and written whole through the
// sketch file. The program makes one over its sketchbook library at
// start-up.

#include "app/creation/VPLSketchTarget.h"

class VPLSketch;
class VPLSketchbook;
class VPLSketchbookLibrary;

class VPLLibrarySketches : public VPLSketchTarget {
 public:
  explicit VPLLibrarySketches(VPLSketchbookLibrary& library) : mLibrary(library) {}

  bool ReadCurrentSketch(VPLCreation& creation) override;
  bool WriteCurrentSketch(VPLCreation& creation, const MMBitmap& thumbnail) override;
  std::string GetCurrentSketchName() const override;
  int32_t GetSketchCount() const override;
  int32_t NewSketch() override;
  bool SelectSketch(int32_t index) override;
  int32_t GetCurrentSketchbookIndex() const override;

 private:
  VPLSketchbook* Book() const;
  VPLSketch* Current() const;

  VPLSketchbookLibrary& mLibrary;
};
