#pragma once
// Paces the credits: the music and the first credit at once, then one
// credit every five seconds.

#include "mm/tasks/MMLightweightThread.h"

class VPLSceneCredits;

class VPLCreditsThread : public MMLightweightThread {
 public:
  static constexpr int32_t kCreditTime = 5000;

  VPLCreditsThread(MMTaskClient* client, VPLSceneCredits* scene)
      : MMLightweightThread(client), mScene(scene) {}

  bool Step() override;

 private:
  VPLSceneCredits* mScene;
};
