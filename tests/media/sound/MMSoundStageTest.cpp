// The stage with the sound layer: it makes its own sound manager, opens the
// device in its Init, and plays a scene's sounds in its frames.

#include "media/sound/MMArcadeSoundChannel.h"
#include "media/sound/MMSoundGroup.h"
#include "media/sound/MMSoundManager.h"
#include "mm/stage/MM2DAct.h"
#include "mm/stage/MMEnclosure.h"
#include "mm/stage/MMScene.h"
#include "tests/media/sound/SoundChannelTestSupport.h"
#include "tests/mm/stage/StageTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace sound_channels;

constexpr int16_t kLevel = 0x0800;

struct SceneWithSound {
  StageOnTestThread mRun{[this](MMStage* stage) {
                           return new (ALGlobalAllocator) LoggingAct(stage, mRun.mLog, "act");
                         },
                         false};
  bool mStarted = (mRun.Start(), true);
  MM2DPlanarEnclosure mEnclosure{mRun.mStage};
  MMScene mScene{mRun.mStage->GetAct()->GetSceneServices(), &mEnclosure};
};

TEST(MMSoundStageTest, StagePlaysTheSoundsOfItsScenesInItsFrames) {
  sound_output::HeldOutput held;
  MemorySoundCollection sounds;
  SceneWithSound stage;
  auto* manager = dynamic_cast<MMSoundManager*>(stage.mRun.mStage->GetSoundManager());
  ASSERT_NE(manager, nullptr);
  EXPECT_TRUE(manager->HasDevice());
  MMArcadeSoundChannel channel(
      MMSoundGroup::Of(stage.mScene.GetSoundGroup()),
      sounds.Add(kMono16At22050, Frames16(22050, 1, [](int32_t) { return kLevel; })));
  channel.Play(false);
  EXPECT_EQ(sound_output::Mix(1)[0], 0);
  stage.mRun.Frame();
  EXPECT_TRUE(channel.IsPlaying());
  EXPECT_EQ(sound_output::Mix(1)[0], kLevel);
}

}  // namespace
