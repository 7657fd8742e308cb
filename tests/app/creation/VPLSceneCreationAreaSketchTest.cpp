#include "app/creation/VPLSceneCreationArea.h"

#include "app/creation/VPLCreationUIHooks.h"
#include "app/objects/VPLServices.h"
#include "platform/win32/testhooks.h"
#include "tests/app/creation/AreaSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace area_support;

const MM3DVector kPlace(0.0f, 0.0f, 10.0f, 1.0f);
constexpr int32_t kThumbnail = VPLSceneCreationArea::kThumbnailSize;
constexpr int32_t kFullBook = VPLSceneCreationArea::kSketchbookCapacity;

class VPLSceneCreationAreaSketchTest : public ::testing::Test {
 protected:
  VPLSceneCreationArea& Area() { return mWorld->Area(); }
  VPLCreation& Creation() { return mWorld->Creation(); }
  MemorySketches& Sketches() { return mWorld->Sketches(); }
  void Remake(int32_t sketches) {
    mWorld.reset();
    mWorld = std::make_unique<AreaWorld>(AreaTables(), sketches);
  }

  std::unique_ptr<AreaWorld> mWorld = std::make_unique<AreaWorld>();
};

TEST_F(VPLSceneCreationAreaSketchTest, LeavingWritesAChangedCreationWithItsThumbnail) {
  mWorld->AddQuad(kPlace);
  const std::vector<uint8_t> record = RecordOf(Creation());
  Area().Deactivate();
  EXPECT_EQ(Sketches().Current().mRecord, record);
  EXPECT_EQ(Sketches().Current().mThumbnailWidth, kThumbnail);
  EXPECT_EQ(Sketches().Current().mThumbnailHeight, kThumbnail);
  EXPECT_EQ(Sketches().Current().mBytesPerPixel, 4);
  EXPECT_TRUE(Creation().IsEmpty());
  EXPECT_FALSE(Creation().IsModified());
  Area().Activate();
  EXPECT_EQ(RecordOf(Creation()), record);
}

TEST_F(VPLSceneCreationAreaSketchTest, AnUnchangedCreationIsNotWrittenButAnotherBackgroundIs) {
  Area().Deactivate();
  Area().Activate();
  Area().Deactivate();
  EXPECT_EQ(Sketches().Current().mWrites, 0);
  Area().Activate();
  Area().SetBackground(2);
  Area().Deactivate();
  EXPECT_EQ(Sketches().Current().mWrites, 1);
  Area().Activate();
  EXPECT_EQ(Creation().GetBackground(), 2);
  EXPECT_FALSE(Creation().IsModified());
}

TEST_F(VPLSceneCreationAreaSketchTest, AFailedSaveKeepsTheCreationAndTellsTheChild) {
  mWorld->AddQuad(kPlace);
  Sketches().mFailWrites = true;
  const int boxes = vpl::platform::MessageBoxCount();
  Area().Deactivate();
  EXPECT_EQ(vpl::platform::MessageBoxCount(), boxes + 1);
  EXPECT_EQ(vpl::platform::LastMessageBoxText(), kSaveFailedMessage);
  EXPECT_EQ(Creation().GetUserObjects().size(), 1u);
  EXPECT_TRUE(Creation().IsModified());
  // Back on the same sketch the creation is still there, and saved later.
  Area().Activate();
  EXPECT_EQ(Creation().GetUserObjects().size(), 1u);
  EXPECT_TRUE(Creation().IsModified());
  Sketches().mFailWrites = false;
  Area().Deactivate();
  EXPECT_EQ(Sketches().Current().mWrites, 1);
}

TEST_F(VPLSceneCreationAreaSketchTest, AnotherSketchChosenAfterAFailedSaveIsRead) {
  Remake(2);
  mWorld->AddQuad(kPlace);
  Sketches().mFailWrites = true;
  Area().Deactivate();
  Sketches().SelectSketch(1);
  Area().Activate();
  EXPECT_TRUE(Creation().IsEmpty());
}

TEST_F(VPLSceneCreationAreaSketchTest, NothingRenderedIsNoSave) {
  mWorld->AddQuad(kPlace);
  VPLGetServices().mRenderToSurface = [](MMSurface&, int32_t time, bool) {
    return VPLSurfaceRendering{time, false};
  };
  EXPECT_FALSE(Area().SaveSketch());
  EXPECT_TRUE(Creation().IsModified());
  EXPECT_EQ(Sketches().Current().mWrites, 0);
}

TEST_F(VPLSceneCreationAreaSketchTest, TheCharactersGhostPartsAreNeitherPicturedNorStored) {
  Area().AddCharacter();
  auto* character = dynamic_cast<TestCharacter*>(Creation().FindCharacter());
  ASSERT_NE(character, nullptr);
  std::vector<std::string> atRender;
  std::vector<std::string> atWrite;
  VPLGetServices().mRenderToSurface = [&](MMSurface&, int32_t time, bool) {
    atRender = character->mLog;
    return VPLSurfaceRendering{time, true};
  };
  Sketches().mOnWrite = [&] { atWrite = character->mLog; };
  struct Case {
    bool pombleTool;
    const char* duringSave;
  };
  for (const Case& c : {Case{true, "hide"}, Case{false, "off"}}) {
    mWorld->Screen().mPombleToolCurrent = c.pombleTool;
    character->mLog = {"off"};
    Creation().SetModified(true);
    EXPECT_TRUE(Area().SaveSketch());
    EXPECT_EQ(atRender.back(), c.duringSave) << c.pombleTool;
    EXPECT_EQ(atWrite.back(), c.duringSave) << c.pombleTool;
    EXPECT_EQ(character->mLog.back(), c.pombleTool ? "show" : "off") << c.pombleTool;
  }
}

TEST_F(VPLSceneCreationAreaSketchTest, NewSketchStartsAnEmptyOneWhileTheBookHasRoom) {
  struct Case {
    const char* name;
    int32_t sketches;
    bool withObject;
    std::vector<int32_t> questions;
    int32_t current;
  };
  for (const Case& c :
       {Case{"empty creation, full book", kFullBook, false, {}, 0},
        Case{"room for one more", kFullBook - 1, true, {}, kFullBook - 1},
        Case{"full book", kFullBook, true, {VPLCreationUIHooks::kSketchbookFull}, 0}}) {
    Remake(c.sketches);
    if (c.withObject) mWorld->AddQuad(kPlace);
    const std::vector<uint8_t> record = RecordOf(Creation());
    Area().NewSketch();
    EXPECT_EQ(mWorld->Screen().mQuestions, c.questions) << c.name;
    EXPECT_EQ(Sketches().GetCurrent(), c.current) << c.name;
    if (c.current == 0) continue;
    EXPECT_TRUE(Creation().IsEmpty()) << c.name;
    EXPECT_EQ(Sketches().At(0).mRecord, record) << c.name;
    EXPECT_EQ(Sketches().Current().mWrites, 1) << c.name;
    EXPECT_EQ(Creation().GetBackground(), kStartBackground) << c.name;
  }
}

TEST_F(VPLSceneCreationAreaSketchTest, ANewSketchThatCannotBeMadeOrSavedChangesNothing) {
  mWorld->AddQuad(kPlace);
  for (bool failSave : {false, true}) {
    Sketches().mFailNewSketch = !failSave;
    Sketches().mFailWrites = failSave;
    mWorld->Screen().mQuestions.clear();
    Creation().SetModified(true);
    Area().NewSketch();
    EXPECT_EQ(mWorld->Screen().mQuestions, std::vector<int32_t>{VPLCreationUIHooks::kNoNewSketch})
        << failSave;
    EXPECT_EQ(Sketches().GetSketchCount(), 1) << failSave;
    EXPECT_EQ(Creation().GetUserObjects().size(), 1u) << failSave;
  }
}

}  // namespace
