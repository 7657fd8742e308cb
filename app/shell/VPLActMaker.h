#pragma once
// The stage asks a maker for its acts: act 0 is the intro, any other the
// creation act. Tests may give the stage a maker of their own.

#include <cstdint>

class MMAct;
class VPLStage;

class VPLActMaker {
 public:
  VPLActMaker() = default;
  virtual ~VPLActMaker() = default;
  VPLActMaker(const VPLActMaker&) = delete;
  VPLActMaker& operator=(const VPLActMaker&) = delete;

  // The act of the number; null when it cannot be made.
  virtual MMAct* MakeAct(VPLStage* stage, int32_t number) = 0;
  // Whether the act agrees that the window closes now; only the creation
  // act can agree, after asking about unsaved work.
  virtual bool AgreesToClose(MMAct* act) = 0;
};

// The maker in use; the program's own until another is given.
VPLActMaker& VPLGetActMaker();
// Null gives back the program's maker.
void VPLSetActMaker(VPLActMaker* maker);
