#include "mm/stage/MM3DModelMolecule.h"

#include "mm/tasks/MMTaskManager.h"
#include "mm3d/MM3DLightSources.h"
#include "mm3d/MM3DModelLoader.h"
#include "tests/mm/stage/VisualTestSupport.h"
#include "tests/mm3d/MM3DModelSupport.h"
#include "tests/support/ResourceFileFixtures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace model_fixtures;

constexpr uint16_t kCollection = 5;
constexpr int32_t kEveryFrame = 0;

// The character with an ambient light besides its point light.
UURefCount<MM3DModel> LitCharacter() {
  UURefCount<MM3DModel> model = MakeCharacter();
  model->GetLights().PushBack(UURefCount<MM3DLight>(
      new MM3DAmbientLightSource(MM3DColor{0.25f, 0.25f, 0.25f, 1.0f}, 1.0f)));
  return model;
}

struct MM3DModelMoleculeTest : ::testing::Test, SceneOnStage {
  ~MM3DModelMoleculeTest() override {
    MM3DDestroyModelCollections();
    resource_fixtures::Remove(mName);
  }
  std::vector<MM3DLight*> Lights() {
    const auto& lights = mEnclosure.GetRenderContext().GetLights();
    return {lights.begin(), lights.end()};
  }
  std::vector<MM3DLight*> AmbientLights() {
    const auto& lights = mEnclosure.GetRenderContext().GetAmbientLights();
    return {lights.begin(), lights.end()};
  }
  MMVisual* OnlyVisual() {
    return mEnclosure.GetVisuals().Count() == 1 ? mEnclosure.GetVisuals().Front() : nullptr;
  }

  std::string mName = resource_fixtures::UniqueName("molecule-models");
};

TEST_F(MM3DModelMoleculeTest, ItLightsTheEnclosureWhileItLivesAndTakesOutOnlyItsOwn) {
  const UURefCount<MM3DModel> model = LitCharacter();
  MM3DLight* point = model->GetLights().Front().Get();
  MM3DLight* ambient = model->GetLights().Back().Get();
  auto* first = new (ALGlobalAllocator) MM3DModelMolecule(&mScene, model);
  {
    MM3DModelMolecule second(&mScene, model);
    EXPECT_EQ(Lights(), (std::vector<MM3DLight*>{point, point}));
    EXPECT_EQ(AmbientLights(), (std::vector<MM3DLight*>{ambient, ambient}));
    EXPECT_EQ(mEnclosure.GetVisuals().Count(), 2);
  }
  EXPECT_EQ(Lights(), std::vector<MM3DLight*>{point});
  EXPECT_EQ(AmbientLights(), std::vector<MM3DLight*>{ambient});
  ASSERT_NE(OnlyVisual(), nullptr);
  EXPECT_EQ(static_cast<MM3DDisplayTreeVisual*>(OnlyVisual())->GetDisplayTree(),
            model->GetDisplayTree());
  first->Detach();
  delete first;
  EXPECT_TRUE(Lights().empty());
  EXPECT_TRUE(AmbientLights().empty());
  EXPECT_TRUE(mEnclosure.GetVisuals().IsEmpty());
}

TEST_F(MM3DModelMoleculeTest, ItMakesAVisualOnlyForATreeAndAPlayerOnlyForAClip) {
  struct Case {
    const char* mName;
    UURefCount<MM3DModel> mModel;
    bool mTree;
    bool mClip;
  };
  const Case cases[] = {
      {"character", MakeCharacter(), true, true},
      {"tree only",
       UURefCount<MM3DModel>(
           new MM3DModel(UUOwned<MM3DDisplayTreeNode>(new MM3DDisplayTreeNodeRoot), {})),
       true, false},
      {"nothing", UURefCount<MM3DModel>(new MM3DModel), false, false},
      {"no model at all", UURefCount<MM3DModel>(), false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mName);
    MM3DModelMolecule molecule(&mScene, c.mModel);
    EXPECT_EQ(OnlyVisual() != nullptr, c.mTree);
    EXPECT_EQ(molecule.HasDisplayTree(), c.mTree);
    EXPECT_EQ(molecule.GetAnimationPlayer() != nullptr, c.mClip);
    molecule.SetVisibility(kMMHidden);
    EXPECT_EQ(molecule.GetVisibility(), kMMHidden);
    if (c.mTree) {
      EXPECT_EQ(OnlyVisual()->GetVisibility(), kMMHidden);
      molecule.SetVisibility(kMMShown);
      EXPECT_EQ(OnlyVisual()->GetVisibility(), kMMShown);
    }
  }
}

TEST_F(MM3DModelMoleculeTest, ItsAccessorsAnswerForTheModelAndThePlayerRunsItsClip) {
  const UURefCount<MM3DModel> model = MakeCharacter();
  MM3DModelMolecule molecule(&mScene, model);
  EXPECT_EQ(molecule.GetModel(), model);
  EXPECT_EQ(molecule.GetDisplayTreeRoot(), model->GetDisplayTree());
  EXPECT_EQ(molecule.FindNamedNode("_head"), model->FindNamedNode("_head"));
  EXPECT_EQ(molecule.FindNamedNode("_tail"), nullptr);
  EXPECT_TRUE(molecule.HasLights());
  EXPECT_TRUE(molecule.HasCameras());
  EXPECT_EQ(molecule.GetCameras().Count(), 1);

  molecule.GetAnimationPlayer()->PlayClip(false);
  MMTaskManager* manager = mRun.mStage->GetTaskManager();
  manager->RunUntil(manager->GetNow() + 1000);
  mRun.mStage->FireEventNotifications(kEveryFrame);
  auto* torso = static_cast<MM3DDisplayTreeNodeSRTTransform*>(molecule.FindNamedNode("_torso"));
  EXPECT_FLOAT_EQ(torso->GetTranslation().mY, kTorsoHeights[1]);
}

TEST_F(MM3DModelMoleculeTest, AModelIdReadsTheModelAndAnUnknownIdGivesAnEmptyOne) {
  ASSERT_TRUE(WriteModelFile(resource_fixtures::TempDirectory(), mName.c_str(), kCollection,
                             {MakeCharacter()}));
  ASSERT_NE(MM3DOpenModelResourceFile(resource_fixtures::TempDirectory(), mName.c_str(), false),
            nullptr);
  {
    MM3DModelMolecule molecule(&mScene, MMMakeResourceId(kCollection, 0));
    EXPECT_NE(OnlyVisual(), nullptr);
    EXPECT_NE(molecule.GetAnimationPlayer(), nullptr);
    EXPECT_NE(molecule.FindNamedNode("_torso"), nullptr);
    EXPECT_EQ(Lights().size(), 1u);
  }
  MM3DModelMolecule unknown(&mScene, MMMakeResourceId(kCollection + 1, 0));
  ASSERT_FALSE(unknown.GetModel().IsEmpty());
  EXPECT_FALSE(unknown.HasDisplayTree());
  EXPECT_EQ(unknown.GetAnimationPlayer(), nullptr);
  EXPECT_TRUE(mEnclosure.GetVisuals().IsEmpty());
  EXPECT_TRUE(Lights().empty());
}

}  // namespace
