#pragma once
// A creation for the creation-record fuzzer and its seeds: a stage run on
// the program's thread whose act holds a 3D enclosure and a scene over it,
// and a creation over that scene with its camera above the origin.

#include "app/creation/VPLCreation.h"
#include "app/objects/VPLSceneBase.h"
#include "foundation/uu/UUOwned.h"
#include "mm/stage/MM3DSpatialEnclosure.h"
#include "tests/mm/stage/StageTestSupport.h"

#include <memory>

class CreationFuzzScene : public VPLSceneBase {
 public:
  CreationFuzzScene(MMSceneServices* host, MMEnclosure* enclosure)
      : VPLSceneBase(host, enclosure, nullptr, 0) {}
  bool OnQuitRequest(bool /*flag*/) override { return true; }
};

struct CreationFuzzStage {
  std::unique_ptr<VPLCreation> NewCreation() {
    const MM3DVector eye(0.0f, 30.0f, 40.0f, 1.0f);
    return std::make_unique<VPLCreation>(
        &mScene, UURefCount<MM3DCamera>(new MM3DCamera(
                     eye, UUOwned<MM3DVector>(new MM3DVector(0.0f, 0.0f, 0.0f, 1.0f)), 0.0f)));
  }

  StageOnTestThread mRun{[this](MMStage* stage) {
    return new (ALGlobalAllocator) LoggingAct(stage, mRun.mLog, "act");
  }};
  bool mStarted = (mRun.Start(), true);
  MM3DSpatialEnclosure mEnclosure{mRun.mStage};
  CreationFuzzScene mScene{mRun.mStage->GetAct()->GetSceneServices(), &mEnclosure};
};
