// Films on a 2D act end to end: a film file made with the system's
// writers, two players in one scene of a stage with its own sound manager,
// the pictures checked in the stage's window at chosen frames, the sound
// track heard through the mixer as SDL's disk driver writes it, a cue, a
// hold and the end.

#include "media/films/MM2DFilmLoader.h"
#include "media/films/MM2DFilmPlayerMolecule.h"
#include "mm/stage/MMStageControl.h"
#include "platform/win32/testhooks.h"
#include "tests/media/films/FilmTestSupport.h"
#include "tests/support/DesktopTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace film_fixtures;
using vpl::test::ScreenOnX;

constexpr int16_t kCollection = 35;
constexpr int32_t kFrameMs = 100;
constexpr int32_t kFrames = 8;
constexpr int32_t kCueFrame = 2;
constexpr int32_t kHoldFrame = 4;
constexpr FilmPicture kTrue{64, 48, 4};
constexpr FilmPicture kPalettized{40, 32, 1};
constexpr UUPoint kTrueAt{40, 30};
constexpr UUPoint kPalettizedAt{140, 30};
// 100 ms of 16-bit mono sound at 22050 Hz per frame.
constexpr int32_t kSoundBytesPerFrame = 4410;

FilmEntry Film(const FilmPicture& picture, UUPoint at, int32_t soundBytes) {
  FilmScript script;
  script.frames = kFrames;
  script.frameMilliseconds = kFrameMs;
  script.soundBytesPerFrame = soundBytes;
  script.cueFrame = kCueFrame;
  script.holdFrame = kHoldFrame;
  script.origin = at;
  FilmEntry film;
  film.rect = UURect(at.mX, at.mY, at.mX + picture.width, at.mY + picture.height);
  film.picture = picture;
  film.data = MakeFilm(picture, script);
  film.palette = picture.bytesPerPixel == 1;
  film.workBufferSize = picture.WorkBufferSize();
  film.soundTracks = soundBytes > 0 ? 1 : 0;
  film.preloadSize = 8192;
  film.dataRate = 1000;
  return film;
}

// The disk output comes first, so that the stage's sound opens it.
struct MM2DFilmPlayerDemoTest : ::testing::Test, sound_output::DiskOutput, FilmStage {
  MM2DFilmPlayerDemoTest() : DiskOutput(resource_fixtures::UniqueName("output.raw")) {}
  void SetUp() override {
    WriteFilms(mName, kCollection,
               {Film(kTrue, kTrueAt, kSoundBytesPerFrame), Film(kPalettized, kPalettizedAt, 0)});
    mLoader.reset(
        MM2DOpenFilmResourceFile(resource_fixtures::TempDirectory(), mName.c_str(), false));
    ASSERT_NE(mLoader, nullptr);
    mTop = mRun.mWindow->GetHandle();
    mControl = mRun.mWindow->GetStageControl()->GetHandle();
    mTruePlayer = std::make_unique<MM2DFilmPlayerMolecule>(&mScene);
    mPalettizedPlayer = std::make_unique<MM2DFilmPlayerMolecule>(&mScene);
    mTruePlayer->SetEndCallback(Counter(mEnds));
    mTruePlayer->GetCueMap().Insert(kCue, Counter(mCues));
    mTruePlayer->PlayFilm(MM2DFilm(mLoader.get(), 0));
    mPalettizedPlayer->PlayFilm(MM2DFilm(mLoader.get(), 1));
    mRun.Frame();
  }
  void TearDown() override {
    mTruePlayer.reset();
    mPalettizedPlayer.reset();
    mLoader.reset();
    resource_fixtures::Remove(mName);
  }
  uint32_t Shown(int32_t x, int32_t y) {
    return vpl::platform::WindowPixelAt(mControl, POINT{x, y});
  }
  // The frame's colours at a few points of each film, as the window shows
  // them.
  void ExpectFrame(int32_t frame) {
    SCOPED_TRACE(frame);
    for (const UUPoint local : {UUPoint{0, 0}, UUPoint{5, 9}, UUPoint{17, 3}, UUPoint{39, 31}}) {
      EXPECT_EQ(Shown(kTrueAt.mX + local.mX, kTrueAt.mY + local.mY),
                kTrue.Expected(frame, local.mX, local.mY));
      EXPECT_EQ(Shown(kPalettizedAt.mX + local.mX, kPalettizedAt.mY + local.mY),
                kPalettized.Expected(frame, local.mX, local.mY));
    }
  }
  int16_t Heard() { return sound_output::Mix(1)[0]; }

  StreamingPulseThread mPulse;
  std::string mName = FileName();
  std::unique_ptr<MM2DFilmLoader> mLoader;
  HWND mTop = nullptr;
  HWND mControl = nullptr;
  std::unique_ptr<MM2DFilmPlayerMolecule> mTruePlayer;
  std::unique_ptr<MM2DFilmPlayerMolecule> mPalettizedPlayer;
  int mEnds = 0;
  int mCues = 0;
};

TEST_F(MM2DFilmPlayerDemoTest, TheFramesShownAtTheirTimesAreTheFramesWritten) {
  ExpectFrame(0);
  FrameAfter(kFrameMs - 1);
  ExpectFrame(0);
  FrameAfter(1);
  ExpectFrame(1);
  FrameAfter(2 * kFrameMs);
  ExpectFrame(3);
}

// The sound of the first frames, decoded while the output is held, lies in
// the track's ring ahead of the device; let go, the device plays it at its
// own pace into the disk driver's file: the track's level for exactly those
// frames' time, then the silence of the ring's rest, which is longer than
// the lead time. Nothing refills the ring meanwhile, so the machine's load
// cannot change what is written.
TEST_F(MM2DFilmPlayerDemoTest, TheTrackIsHeardThroughTheMixer) {
  constexpr int32_t kDecodedFrames = 4;
  for (int32_t k = 1; k < kDecodedFrames; ++k) FrameAfter(kFrameMs);
  mHeld.reset();
  constexpr int32_t kOutputFramesPerFrame = sound_output::kOutputRate * kFrameMs / 1000;
  constexpr int32_t kListened = (kDecodedFrames + 1) * kOutputFramesPerFrame;
  ASSERT_TRUE(vpl::platform::WaitForSoundOutput(kListened, 10000));
  mRun.mStage->GetSoundManager()->Suspend();  // gives the device back: the file is complete
  const std::vector<int16_t> out = Samples();
  const auto frames = static_cast<int32_t>(out.size() / 2);
  auto heard = [&out](int32_t k, int16_t level) {
    return out[static_cast<size_t>(2 * k)] == level && out[static_cast<size_t>(2 * k + 1)] == level;
  };
  int32_t first = 0;
  while (first < frames && heard(first, 0)) ++first;
  int32_t last = first;
  while (last < frames && heard(last, kLevel)) ++last;
  ASSERT_LT(first, frames) << "the track is heard";
  // Two output frames a sample of 22050 Hz; the last one lies halfway to
  // the silence after it.
  EXPECT_EQ(last - first, kDecodedFrames * kOutputFramesPerFrame - 1);
  ASSERT_GE(frames, first + kListened);
  int32_t silent = last + 1;
  while (silent < first + kListened && heard(silent, 0)) ++silent;
  EXPECT_EQ(silent, first + kListened) << "silence follows the track";
}

TEST_F(MM2DFilmPlayerDemoTest, AHoldStopsPicturesAndSoundUntilStart) {
  FrameAfter((kHoldFrame + 1) * kFrameMs);
  EXPECT_EQ(mTruePlayer->GetState(), MM2DFilmPlayerMolecule::kHeld);
  EXPECT_EQ(mCues, 1);
  FrameAfter(3 * kFrameMs);
  ExpectFrame(kHoldFrame);
  EXPECT_EQ(Heard(), 0);
  mTruePlayer->Start();
  mPalettizedPlayer->Start();
  mRun.Frame();
  FrameAfter(0);
  ExpectFrame(kHoldFrame + 1);
  EXPECT_EQ(Heard(), kLevel);
}

TEST_F(MM2DFilmPlayerDemoTest, TheEndIsNotifiedOnceAndTheLastFrameStays) {
  FrameAfter((kHoldFrame + 1) * kFrameMs);
  mTruePlayer->Start();
  mPalettizedPlayer->Start();
  mRun.Frame();
  for (int32_t k = kHoldFrame + 1; k < kFrames + 3; ++k) FrameAfter(kFrameMs);
  EXPECT_EQ(mTruePlayer->GetState(), MM2DFilmPlayerMolecule::kEnded);
  EXPECT_EQ(mEnds, 1);
  ExpectFrame(kFrames - 1);
}

TEST_F(MM2DFilmPlayerDemoTest, TheFilmsReachTheScreenOnXDisplay) {
  if (!ScreenOnX::Available()) GTEST_SKIP() << "needs a real X display (VPL3D_XVFB)";
  FrameAfter(kFrameMs);
  ScreenOnX screen;
  ASSERT_TRUE(screen.CaptureUntil(mTop, kTrueAt.mX, kTrueAt.mY, kTrue.Expected(1, 0, 0)));
  for (const UUPoint local : {UUPoint{5, 9}, UUPoint{30, 20}}) {
    EXPECT_EQ(screen.At(kTrueAt.mX + local.mX, kTrueAt.mY + local.mY),
              kTrue.Expected(1, local.mX, local.mY));
    EXPECT_EQ(screen.At(kPalettizedAt.mX + local.mX, kPalettizedAt.mY + local.mY),
              kPalettized.Expected(1, local.mX, local.mY));
  }
}

}  // namespace
