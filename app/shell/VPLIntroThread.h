#pragma once
// Turns the intro's pages every two seconds. The intro makes it but never
// starts it: its pages turn with their films and the child's keys.

#include "mm/tasks/MMLightweightThread.h"

class VPLSceneIntro;

class VPLIntroThread : public MMLightweightThread {
 public:
  static constexpr int32_t kFirstWait = 1;
  static constexpr int32_t kPageTime = 2000;

  VPLIntroThread(MMTaskClient* client, VPLSceneIntro* scene)
      : MMLightweightThread(client), mScene(scene) {}

  bool Step() override;

 private:
  VPLSceneIntro* mScene;
};
