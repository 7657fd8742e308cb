#include "app/shell/VPLCreditsThread.h"

#include "app/shell/VPLSceneCredits.h"

bool VPLCreditsThread::Step() {
  switch (GetState()) {
    case kStarted:
      mScene->PlayListSound(VPLSceneCredits::kMusic, true);
      [[fallthrough]];
    case kRunning:
      mScene->ShowNextCredit();
      Sleep(kCreditTime);
      return true;
    default:
      return false;
  }
}
