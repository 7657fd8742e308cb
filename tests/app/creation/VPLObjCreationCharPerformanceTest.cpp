#include "app/creation/VPLCameraThread.h"
#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreationChar.h"
#include "app/creation/VPLPomblePlayer.h"
#include "app/creation/VPLPombleVisual.h"
#include "app/objects/VPLServices.h"
#include "foundation/uu/UUCallback.h"
#include "foundation/uu/UUOwned.h"
#include "foundation/uu/UURandom.h"
#include "mm/tasks/MMTaskManager.h"
#include "mm3d/MM3DDisplayTreeDataNodes.h"
#include "tests/app/creation/CreationSupport.h"
#include "tests/app/creation/PombleSupport.h"
#include "tests/app/support/InterfaceStage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

using namespace pomble_support;

const MM3DVector kEye(0.0f, 36.0f, -70.0f, 1.0f);
const MM3DVector kGaze(0.0f, 4.0f, -20.0f, 1.0f);
// Longer than any show of the tables below without repeats.
constexpr int32_t kWholeShow = 12000;
constexpr int32_t kStep = 5;

// The sound lists the show plays and the frame ranges it shows.
class RecordingPomble : public VPLObjCreationChar {
 public:
  using VPLObjCreationChar::VPLObjCreationChar;
  void PlayShowSound(MMResourceId soundList) override { mSounds.push_back(soundList); }
  std::vector<MMResourceId> mSounds;
};

struct Play {
  int32_t mStart;
  int32_t mSpan;
  bool operator==(const Play& other) const = default;
};

Play PlayOf(int32_t startFrame, int32_t endFrame) {
  const int32_t start = VPLPomblePlayer::FrameToMilliseconds(startFrame);
  return Play{start, VPLPomblePlayer::FrameToMilliseconds(endFrame) - start};
}

class Counting : public UUCallback {
 public:
  explicit Counting(int& count) : mCount(count) {}
  void Invoke() override { ++mCount; }

 private:
  int& mCount;
};

class VPLObjCreationCharPerformanceTest : public ::testing::Test {
 protected:
  void TearDown() override {
    VPLGetServices().mRandom = nullptr;
    VPLGetServices().mMovieExportActive = false;
    VPLObjCreationChar::GetExportPlayback() = {};
  }
  // The files with the show's tables, and a character with every part on.
  void Make(const ShowTables& tables = {}, const FixtureSpec& spec = {}) {
    mCharacter.reset();
    mFiles.reset();
    mPlays.clear();
    mWasPlaying = false;
    mRefreshes = 0;
    mTables = tables;
    mFiles = std::make_unique<app_fixtures::AppFiles>(creation_support::CreationTables(),
                                                      MakeShowTables(tables));
    ASSERT_TRUE(mFiles->Ready());
    mCharacter =
        std::make_unique<RecordingPomble>(&mStage.Scene(), MakePombleFixture(spec), &mCreation);
    mCharacter->SetToolRefreshTask(
        MMTaskCallback(mStage.Scene().GetTaskClient(), new Counting(mRefreshes)));
    Advance(mStage.Stage(), 100);
  }
  // Runs the clock, noting each new play of the player.
  void Run(int32_t milliseconds) {
    for (int32_t done = 0; done < milliseconds; done += kStep) {
      Advance(mStage.Stage(), kStep);
      const VPLPomblePlayer& player = *mCharacter->GetPlayer();
      const Play play{player.GetSpan().mStartTime, player.GetSpan().mSpan};
      if (player.IsPlaying() && (!mWasPlaying || !(play == mPlays.back()))) mPlays.push_back(play);
      mWasPlaying = player.IsPlaying();
    }
  }
  void RunUntilSounds(size_t count) {
    for (int32_t guard = 0; mCharacter->mSounds.size() < count && guard < kWholeShow; ++guard) {
      Run(kStep);
    }
  }
  MMResourceId Sound(MMResourceId sound) const { return SoundListOf(mTables, sound); }
  std::vector<MMResourceId> Sounds(const std::vector<MMResourceId>& sounds) const {
    std::vector<MMResourceId> lists;
    for (MMResourceId sound : sounds) lists.push_back(Sound(sound));
    return lists;
  }
  Play Row(const ShowRow& row) const { return PlayOf(row.mStart, row.mEnd); }
  bool ShowOver() const {
    const VPLCameraThread* thread = mCharacter->GetCameraThread();
    return thread != nullptr && thread->GetState() == MMAbstractThread::kStopped &&
           mCharacter->GetPlayer()->IsStanding();
  }
  int32_t Now() { return mStage.Stage()->GetTaskManager()->GetNow(); }
  float ClipMs() const { return ClipTime(*mCharacter->GetModel()) * 1000.0f; }

  InterfaceStage mStage;
  VPLCreation mCreation{
      &mStage.Scene(), UURefCount<MM3DCamera>(
                           new MM3DCamera(kEye, UUOwned<MM3DVector>(new MM3DVector(kGaze)), 0.0f))};
  ShowTables mTables;
  std::unique_ptr<app_fixtures::AppFiles> mFiles;
  std::unique_ptr<RecordingPomble> mCharacter;
  std::vector<Play> mPlays;
  bool mWasPlaying = false;
  int mRefreshes = 0;
};

TEST_F(VPLObjCreationCharPerformanceTest, OneStartGivesAnOpeningAnInterludeADanceAndTheGlideBack) {
  Make();
  mCharacter->StartPerformance();
  Run(kWholeShow);
  EXPECT_EQ(mCharacter->mSounds, Sounds({mTables.mOpening.mSound, mTables.mInterlude.mSound,
                                         mTables.mDances[0].mSound}));
  EXPECT_EQ(mPlays, (std::vector<Play>{Row(mTables.mOpening), Row(mTables.mInterlude),
                                       Row(mTables.mDances[0]), PlayOf(0, 1)}));
  EXPECT_TRUE(ShowOver());
  EXPECT_TRUE(mCreation.GetCamera().GetInterest().Equals(kGaze));
  EXPECT_EQ(mRefreshes, 1);
}

TEST_F(VPLObjCreationCharPerformanceTest, RepeatingGoesOnUntilSwitchedOffAfterTheCurrentDance) {
  Make();
  mCharacter->SetRepeat(true);
  mCharacter->StartPerformance();
  RunUntilSounds(7);
  mCharacter->SetRepeat(false);
  Run(kWholeShow);
  const MMResourceId interlude = mTables.mInterlude.mSound;
  const MMResourceId dance = mTables.mDances[0].mSound;
  EXPECT_EQ(mCharacter->mSounds, Sounds({mTables.mOpening.mSound, interlude, dance, interlude,
                                         dance, interlude, dance}));
  EXPECT_TRUE(ShowOver());
}

TEST_F(VPLObjCreationCharPerformanceTest, TheDanceAndItsSoundComeFromTheSameRow) {
  struct Case {
    std::vector<ShowRow> mDances;
    bool mRandom;
    int16_t mChoice;
  };
  const ShowRow a{200, 320, MMMakeResourceId(5, 44)};
  const ShowRow b{400, 520, MMMakeResourceId(5, 45)};
  const ShowRow c{600, 720, MMMakeResourceId(5, 56)};
  UURandom random(7);
  VPLGetServices().mRandom = &random;
  for (const Case& each : {Case{{a}, false, 0}, Case{{a}, true, 0}, Case{{a, b, c}, true, 0},
                           Case{{a, b, c}, true, 2}, Case{{a, b, c}, false, 9}}) {
    ShowTables tables;
    tables.mDances = each.mDances;
    tables.mRandom = each.mRandom;
    Make(tables);
    mCharacter->SetAnimationChoice(each.mChoice);
    mCharacter->StartPerformance();
    Run(kWholeShow);
    ASSERT_EQ(mCharacter->mSounds.size(), 3u);
    ASSERT_GE(mPlays.size(), 3u);
    const int16_t row = each.mRandom ? mCharacter->GetAnimationChoice() : int16_t{0};
    ASSERT_LT(static_cast<size_t>(row), each.mDances.size());
    EXPECT_EQ(mCharacter->mSounds[2], Sound(each.mDances[static_cast<size_t>(row)].mSound));
    EXPECT_EQ(mPlays[2], Row(each.mDances[static_cast<size_t>(row)]));
  }
}

TEST_F(VPLObjCreationCharPerformanceTest, StoppingDuringTheApproachGlidesBackFromTheTarget) {
  Make();
  mCharacter->StartPerformance();
  Run(100);
  const MM3DVector target = mCharacter->FindInterestLocator()->GetWorldPosition();
  mCharacter->StopPerformance();
  Advance(mStage.Stage(), 1);
  const MM3DVector at = mCreation.GetCamera().GetInterest();
  EXPECT_LT(std::fabs(at.mY - target.mY) + std::fabs(at.mZ - target.mZ), 0.2f);
  Run(kWholeShow);
  EXPECT_TRUE(mCharacter->mSounds.empty());
  EXPECT_TRUE(ShowOver());
  EXPECT_TRUE(mCreation.GetCamera().GetInterest().Equals(kGaze));
}

TEST_F(VPLObjCreationCharPerformanceTest, AbortWithoutACameraThreadStandsItUp) {
  Make();
  mCharacter->GetPlayer()->PlayFrames(400, 520, false);
  ASSERT_TRUE(mCharacter->IsPerforming());
  mCharacter->AbortPerformance();
  EXPECT_EQ(mCharacter->GetCameraThread(), nullptr);
  EXPECT_TRUE(mCharacter->GetPlayer()->IsStanding());
  EXPECT_FALSE(mCharacter->IsPerforming());
}

// Rows that are not there end the show with the glide back instead of a
// read outside the tables; a model without the target locator still shows.
TEST_F(VPLObjCreationCharPerformanceTest, WithoutDancesOrTargetTheShowStillEnds) {
  ShowTables noDances;
  noDances.mDances.clear();
  Make(noDances);
  mCharacter->StartPerformance();
  Run(kWholeShow);
  EXPECT_EQ(mCharacter->mSounds, Sounds({mTables.mOpening.mSound, mTables.mInterlude.mSound}));
  EXPECT_TRUE(ShowOver());
  EXPECT_EQ(mRefreshes, 1);

  FixtureSpec noTarget;
  noTarget.mWithLocator = false;
  Make({}, noTarget);
  mCharacter->StartPerformance();
  Run(kWholeShow);
  EXPECT_EQ(mCharacter->mSounds.size(), 3u);
  EXPECT_TRUE(mCreation.GetCamera().GetInterest().Equals(kGaze));
}

// The completion posted for a character that goes before it runs is
// withdrawn with it, and the gaze it held comes back.
TEST_F(VPLObjCreationCharPerformanceTest, TasksOfADeletedCharacterDoNothing) {
  Make();
  mCharacter->StartPerformance();
  RunUntilSounds(1);
  // The frame that ends the opening posts its completion; it would run at
  // the next.
  while (mCharacter->GetPlayer()->IsPlaying()) Advance(mStage.Stage(), 1);
  ASSERT_FALSE(mCreation.GetCamera().GetInterest().Equals(kGaze));
  mCharacter.reset();
  EXPECT_TRUE(mCreation.GetCamera().GetInterest().Equals(kGaze));
  Advance(mStage.Stage(), 1000, kStep);
}

TEST_F(VPLObjCreationCharPerformanceTest, AnExportPlaysTheDanceOnItsClockAndTheShowStartsAgain) {
  Make();
  mCharacter->SetAnimationChoice(1);
  mCharacter->StartPerformance();
  RunUntilSounds(3);
  VPLGetServices().mMovieExportActive = true;
  const int32_t start = Now();
  mCharacter->Tick(start);
  EXPECT_FALSE(mCharacter->IsPerforming());
  mCharacter->Tick(start + 2500);
  const float base = static_cast<float>(VPLPomblePlayer::FrameToMilliseconds(400));
  EXPECT_NEAR(ClipMs(), base + 2500.0f, 0.5f);
  mCharacter->Tick(start + 9000);
  EXPECT_NEAR(ClipMs(), base + 9000.0f, 0.5f);

  VPLGetServices().mMovieExportActive = false;
  mCharacter->mSounds.clear();
  mCharacter->Tick(Now());
  EXPECT_EQ(mCharacter->GetCameraThread()->GetGlide(), VPLCameraThread::kApproach);
  RunUntilSounds(1);
  EXPECT_EQ(mCharacter->mSounds, Sounds({mTables.mOpening.mSound}));
}

TEST_F(VPLObjCreationCharPerformanceTest, AnExportLeavesACharacterWithAPartOffAlone) {
  Make();
  mCharacter->GetPoseVisual()->SetTorsoOn(false);
  Run(100);
  const float standing = ClipMs();
  VPLGetServices().mMovieExportActive = true;
  mCharacter->Tick(Now() + 3000);
  EXPECT_EQ(ClipMs(), standing);
  VPLGetServices().mMovieExportActive = false;
  mCharacter->Tick(Now() + 4000);
  Run(100);
  EXPECT_EQ(mCharacter->GetCameraThread(), nullptr);
  EXPECT_FALSE(mCharacter->GetPlayer()->IsPlaying());
}

}  // namespace
