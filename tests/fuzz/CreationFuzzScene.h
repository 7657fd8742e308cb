#pragma once
// A creation for the creation-record fuzzer and its seeds: a stage run on
// the program's thread whose act holds a 3D enclosure and a scene over it,
// and a creation over that scene with its camera above the origin. The
// program's data files are open (VPL_DATA_DIR, else the build's own), so a
// record may hold Pomble.

#include "app/creation/VPLCreation.h"
#include "app/objects/VPLSceneBase.h"
#include "foundation/uu/UUDirectory.h"
#include "foundation/uu/UUOwned.h"
#include "mm/resources/MMScriptCollection.h"
#include "mm/stage/MM3DSpatialEnclosure.h"
#include "mm3d/MM3DModelLoader.h"
#include "mm3d/MM3DModelResourceFile.h"
#include "platform/win32/PathMapping.h"
#include "tests/mm/stage/StageTestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <memory>

class CreationFuzzScene : public VPLSceneBase {
 public:
  CreationFuzzScene(MMSceneServices* host, MMEnclosure* enclosure)
      : VPLSceneBase(host, enclosure, nullptr, 0) {}
  bool OnQuitRequest(bool /*flag*/) override { return true; }
};

struct CreationFuzzData {
  CreationFuzzData() {
    const char* fromEnvironment = std::getenv("VPL_DATA_DIR");
    const std::filesystem::path data = fromEnvironment != nullptr && *fromEnvironment != '\0'
                                           ? fromEnvironment
                                           : VPL_DEFAULT_DATA_DIR;
    const UUDirectory directory(
        vpl::platform::ToWindowsPath(std::filesystem::absolute(data).string()).c_str());
    mScripts.reset(MMOpenScriptFile(directory, "Hd.mms"));
    mModels.reset(MM3DOpenModelResourceFile(directory, "vpl3d.MMM", false));
  }

  std::unique_ptr<MMScriptLoader> mScripts;
  std::unique_ptr<MM3DModelLoader> mModels;
};

struct CreationFuzzStage {
  std::unique_ptr<VPLCreation> NewCreation() {
    const MM3DVector eye(0.0f, 30.0f, 40.0f, 1.0f);
    return std::make_unique<VPLCreation>(
        &mScene, UURefCount<MM3DCamera>(new MM3DCamera(
                     eye, UUOwned<MM3DVector>(new MM3DVector(0.0f, 0.0f, 0.0f, 1.0f)), 0.0f)));
  }

  CreationFuzzData mData;
  StageOnTestThread mRun{[this](MMStage* stage) {
    return new (ALGlobalAllocator) LoggingAct(stage, mRun.mLog, "act");
  }};
  bool mStarted = (mRun.Start(), true);
  MM3DSpatialEnclosure mEnclosure{mRun.mStage};
  CreationFuzzScene mScene{mRun.mStage->GetAct()->GetSceneServices(), &mEnclosure};
};
