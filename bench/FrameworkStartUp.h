#pragma once
// The framework's own start-up, the floor the program's start-up is held
// against: the data-file start-up over small files of every kind up to the
// first presented frame of a 3D act showing the started model file's model.
// Also the act that shows models, which the act benchmarks draw.

#include "media/startup/MMResourceFiles.h"
#include "media/startup/MMResourceSearchDirectories.h"
#include "mm/stage/MM3DAct.h"
#include "mm/stage/MM3DDisplayModeStrategy.h"
#include "mm/stage/MM3DModelMolecule.h"
#include "mm/stage/MM3DSpatialEnclosure.h"
#include "mm/stage/MM3DSpatialView.h"
#include "mm/stage/MMScene.h"
#include "mm3d/MM3DDriverTextureMap.h"
#include "mm3d/MM3DModelCollection.h"
#include "tests/media/startup/StartupTestSupport.h"
#include "tests/mm/stage/StageTestSupport.h"
#include "tests/mm3d/MM3DSceneModels.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The models an act shows, made once its stage has a 3D display.
using ModelMaker = std::function<std::vector<UURefCount<MM3DModel>>(MMStage*)>;

// The act: a spatial view over the stage and one molecule per model.
class ModelsAct : public MM3DAct {
 public:
  ModelsAct(MMStage* stage, const ModelMaker& models)
      : MM3DAct(stage, &MMStandard3DDisplayModeStrategy()) {
    for (const UURefCount<MM3DModel>& model : models(stage)) {
      mMolecules.push_back(std::make_unique<MM3DModelMolecule>(&mScene, model));
    }
  }
  ~ModelsAct() override {
    for (const std::unique_ptr<MM3DModelMolecule>& molecule : mMolecules) molecule->Detach();
    mMolecules.clear();
    mScene.ResignFocus();
    mView.Detach();
  }

 private:
  MM3DSpatialEnclosure mSpace{GetStage()};
  MM3DSpatialView mView{GetViewServices(), &mSpace, GetStage()->GetLocalRect(), 0};
  MMScene mScene{GetSceneServices(), &mSpace};
  std::vector<std::unique_ptr<MM3DModelMolecule>> mMolecules;
};

// A small file of every kind under the name the string table gives it, in
// a directory of its own: the model file holds the cube and square, whose
// texture is the texture file's first.
class StartupFiles {
 public:
  static constexpr int16_t kCollection = 1;

  StartupFiles() {
    Adopt(startup_fixtures::WriteScriptFile, "Hd.mms");
    Adopt(startup_fixtures::WritePictureFile, "vpl3d.MMP");
    Adopt(startup_fixtures::WriteSoundFile, "vpl3d.MMA");
    Adopt(startup_fixtures::WriteFilmFile, "vpl3d.MMF");
    Adopt(startup_fixtures::WriteTextureFile, "vpl3d.MMX");
    Adopt(WriteCubeModelFile, "vpl3d.MMM");
  }
  UUDirectory& Directory() { return mDirectory.Get(); }

 private:
  static void WriteCubeModelFile(const std::string& tempName, int16_t collection) {
    MM3DDriverTextureMap map;
    const UURefCount<MM3DModel> model = scene_models::MakeCubeAndSquare(
        map.GetHandle(MMMakeResourceId(collection, 0), MM3DTextureKey{1, 0, 0}));
    model_fixtures::WriteModelFile(resource_fixtures::TempDirectory(), tempName.c_str(), collection,
                                   {model});
  }
  void Adopt(const startup_fixtures::Writer& write, const char* name) {
    const std::string tempName = resource_fixtures::UniqueName(name);
    write(tempName, kCollection);
    mDirectory.Adopt(tempName, name);
  }

  startup_fixtures::TestDirectory mDirectory{"startup"};
};

// The act shows the model file's first model.
inline std::vector<UURefCount<MM3DModel>> StartedModel(MMStage* stage) {
  return {MM3DGetModel(MMMakeResourceId(StartupFiles::kCollection, 0), stage->GetTextureMap())};
}

struct FrameworkStartUp {
  std::chrono::steady_clock::duration mTook{};
  MM3DRenderStatistics mStatistics;  // no frames when the start failed
};

// One start-up over the files, timed up to the act's first frame, and its
// stop.
inline FrameworkStartUp TimeFrameworkStartUp(StartupFiles& files) {
  using Clock = std::chrono::steady_clock;
  FrameworkStartUp run;
  MMResourceSearchDirectories.PushBack(&files.Directory());
  const auto start = Clock::now();
  if (MMStartResourceFiles()) {
    StageOnTestThread stage(
        [](MMStage* made) { return new (ALGlobalAllocator) ModelsAct(made, StartedModel); });
    stage.Start();
    run.mTook = Clock::now() - start;
    if (stage.mStage->GetRenderer()) run.mStatistics = stage.mStage->GetRenderer()->GetStatistics();
  }
  MMStopResourceFiles();
  return run;
}
