#include "app/shell/VPLIntroThread.h"

#include "app/shell/VPLSceneIntro.h"

bool VPLIntroThread::Step() {
  switch (GetState()) {
    case kStarted:
      Sleep(kFirstWait);
      return true;
    case kRunning:
      mScene->ShowNextPage();
      Sleep(kPageTime);
      return true;
    case kStopping:
      return false;
    default:
      return true;
  }
}
