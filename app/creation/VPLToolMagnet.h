#pragma once
// The magnet tools: while the button is held, each step pulls the surface
// of the pressed object out under the pointer (pull) or pushes it in
// (push), as far as the chosen magnet size reaches. On a group the step
// works on whichever member lies under the pointer at that moment. The
// twins differ only in the object operations they call.

#include "app/creation/VPLTool.h"

#include <cstdint>

class VPLObjCreationGroup;

class VPLToolMagnet : public VPLToolObjectBased {
 public:
  // Row n of this table names the table of size n, whose rows tagged 0
  // and 1 hold the reach's numerator and denominator.
  static constexpr MMResourceId kSizeTable = 502;

  using VPLToolObjectBased::VPLToolObjectBased;

  // The reach of a magnet size; 0 (nothing moves) for a size that names no
  // row, a missing value or a denominator of 0.
  static float Reach(int32_t size);

  void Begin(const VPLSegment& segment, bool alternate) override;
  void Drag(const VPLSegment& segment, bool alternate) override;
  void End(const VPLSegment& segment, bool alternate) override;

 protected:
  enum class Step { kBegin, kDrag, kEnd };
  virtual void Run(Step step, VPLObjCreation& object, const VPLSegment& segment,
                   float reach) const = 0;

 private:
  // The object the step works on: the picked one, or the member of a
  // picked group under the segment (null when none).
  VPLObjCreation* Target(const VPLSegment& segment) const;
  bool Sounds() const;

  float mReach = 0.0f;
};

class VPLToolMagnetPull : public VPLToolMagnet {
 public:
  using VPLToolMagnet::VPLToolMagnet;
  VPLToolEnums GetToolType() const override { return kVPLToolMagnetPull; }

 protected:
  void Run(Step step, VPLObjCreation& object, const VPLSegment& segment,
           float reach) const override;
};

class VPLToolMagnetPush : public VPLToolMagnet {
 public:
  using VPLToolMagnet::VPLToolMagnet;
  VPLToolEnums GetToolType() const override { return kVPLToolMagnetPush; }

 protected:
  void Run(Step step, VPLObjCreation& object, const VPLSegment& segment,
           float reach) const override;
};
