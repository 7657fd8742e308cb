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

  // The creation act's part of the stage's offscreen pictures; other acts
  // do nothing. The creation area's animations stand at the time.
  virtual void TickCreation(MMAct* /*act*/, int32_t /*time*/) {}
  // Draws the creation view in one frame of the stage's current renderer;
  // false when nothing was drawn (another act, or the stage is paused).
  virtual bool DrawCreationView(MMAct* /*act*/) { return false; }
  // The creation screen's notice that the machine draws too slowly.
  virtual void ShowSlowMachineNotice(MMAct* /*act*/, bool /*shown*/) {}
};

// The maker in use; the program's own until another is given.
VPLActMaker& VPLGetActMaker();
// The program's own maker: the intro, then the creation act.
VPLActMaker& VPLGetProgramActMaker();
// Null gives back the program's maker.
void VPLSetActMaker(VPLActMaker* maker);
