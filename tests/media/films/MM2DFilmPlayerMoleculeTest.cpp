// The film player on a stage: frames decoded from every kind of picture
// chunk at their times on the scene's clock, the read window straddling
// the end of a small ring, pause, hold, end and rewind, cues, sound dropped
// when it comes too late, the repaint of delta frames, and damaged films
// that never write outside the frame.

#include "media/films/MM2DFilmLoader.h"
#include "media/films/MM2DFilmPlayerMolecule.h"
#include "media/films/MM2DFilmPlayerVisual.h"
#include "mm/stage/MM2DAct.h"
#include "mm/tasks/MMTaskClient.h"
#include "tests/media/films/FilmTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace film_fixtures;
using resource_fixtures::TempDirectory;

constexpr int16_t kCollection = 31;
constexpr int32_t kFrameMs = 100;
constexpr UUPoint kOrigin{40, 30};
// 3072 bytes of 32-bit pixels: frames straddle the end of a 4096-byte ring.
constexpr int32_t kWidth = 32;
constexpr int32_t kHeight = 24;

FilmEntry Entry(const FilmPicture& picture, const Bytes& data) {
  FilmEntry entry;
  entry.rect =
      UURect(kOrigin.mX, kOrigin.mY, kOrigin.mX + picture.width, kOrigin.mY + picture.height);
  entry.picture = picture;
  entry.data = data;
  entry.palette = picture.bytesPerPixel == 1;
  entry.workBufferSize = picture.WorkBufferSize();
  return entry;
}

class FilmPlayerFixture : public FilmStage {
 public:
  ~FilmPlayerFixture() {
    mPlayer.reset();
    delete mLoader;
    resource_fixtures::Remove(mName);
  }
  void Load(const std::vector<FilmEntry>& films, UUByteOrder order = kUUNativeByteOrder) {
    WriteFilms(mName, kCollection, films, order);
    mLoader = MM2DOpenFilmResourceFile(TempDirectory(), mName.c_str(), false);
    ASSERT_NE(mLoader, nullptr);
    mPlayer = std::make_unique<MM2DFilmPlayerMolecule>(&mScene);
  }
  MM2DFilm Film(int16_t film = 0) const { return MM2DFilm(mLoader, film); }
  Bytes Shown() const {
    const MMBitmapWithPixels* frame = mPlayer->GetFrameBitmap();
    if (frame == nullptr) return {};
    const auto size = static_cast<size_t>(frame->mPitch * frame->GetHeight());
    return Bytes(frame->mPixels, frame->mPixels + size);
  }
  // Plays from the next present.
  void PlayFromNextFrame() {
    mPlayer->PlayFilm(Film());
    mRun.Frame();
  }

  StreamingPulseThread mPulse;
  std::string mName = FileName();
  MM2DFilmLoader* mLoader = nullptr;
  std::unique_ptr<MM2DFilmPlayerMolecule> mPlayer;
};

struct PixelCase {
  int32_t bytesPerPixel;
  UUByteOrder order;
};

class MM2DFilmPlayerMoleculeTest : public testing::TestWithParam<PixelCase>,
                                   public FilmPlayerFixture {};

// Each frame appears when its time has come on the scene's clock, and not
// before; the chunks of every kind give back the frames written.
TEST_P(MM2DFilmPlayerMoleculeTest, FramesAppearAtTheirTimesAsWritten) {
  const FilmPicture picture{kWidth, kHeight, GetParam().bytesPerPixel};
  FilmScript script;
  script.origin = kOrigin;
  Load({Entry(picture, MakeFilm(picture, script))}, GetParam().order);
  mPlayer->OpenFilm(Film());
  ASSERT_EQ(mPlayer->GetState(), MM2DFilmPlayerMolecule::kReady);
  EXPECT_EQ(Shown(), picture.Frame(0));
  mPlayer->Start();
  mRun.Frame();
  for (int32_t k = 1; k < script.frames; ++k) {
    SCOPED_TRACE(k);
    FrameAfter(kFrameMs - 1);
    EXPECT_EQ(Shown(), picture.Frame(k - 1));
    FrameAfter(1);
    EXPECT_EQ(Shown(), picture.Frame(k));
    EXPECT_EQ(mPlayer->GetFrameCounter(), k);
  }
  EXPECT_EQ(mPlayer->GetState(), MM2DFilmPlayerMolecule::kEnded);
}

INSTANTIATE_TEST_SUITE_P(PixelsAndByteOrders, MM2DFilmPlayerMoleculeTest,
                         testing::Values(PixelCase{1, kUUNativeByteOrder},
                                         PixelCase{4, kUUNativeByteOrder},
                                         PixelCase{1, kUUSwappedByteOrder},
                                         PixelCase{4, kUUSwappedByteOrder}));

class MM2DFilmPlayerStateTest : public testing::Test, public FilmPlayerFixture {
 protected:
  void LoadFilm(const FilmScript& script) { Load({Entry(mPicture, MakeFilm(mPicture, script))}); }
  FilmPicture mPicture{kWidth, kHeight, 4};
};

TEST_F(MM2DFilmPlayerStateTest, PauseShiftsTheClockByThePausedTime) {
  LoadFilm(FilmScript{});
  PlayFromNextFrame();
  const int32_t base = mPlayer->GetBaseTime();
  FrameAfter(kFrameMs + 10);
  mPlayer->Pause();
  mRun.Frame();
  EXPECT_EQ(mPlayer->GetState(), MM2DFilmPlayerMolecule::kHeld);
  constexpr int32_t kPaused = 1000;
  FrameAfter(kPaused);
  EXPECT_EQ(Shown(), mPicture.Frame(1));
  mPlayer->Start();
  mRun.Frame();
  EXPECT_EQ(mPlayer->GetBaseTime(), base + kPaused);
  // Frame 2 was due 90 ms after the pause: it is due 90 ms after the resume.
  FrameAfter(kFrameMs - 11);
  EXPECT_EQ(Shown(), mPicture.Frame(1));
  FrameAfter(1);
  EXPECT_EQ(Shown(), mPicture.Frame(2));
}

TEST_F(MM2DFilmPlayerStateTest, AHoldChunkHoldsUntilStartAndCuesPost) {
  FilmScript script;
  script.holdFrame = 2;
  script.cueFrame = 1;
  LoadFilm(script);
  int cues = 0;
  mPlayer->GetCueMap().Insert(kCue, Counter(cues));
  PlayFromNextFrame();
  FrameAfter(kFrameMs);
  EXPECT_EQ(cues, 1);
  FrameAfter(2 * kFrameMs);
  EXPECT_EQ(mPlayer->GetState(), MM2DFilmPlayerMolecule::kHeld);
  FrameAfter(5 * kFrameMs);
  EXPECT_EQ(Shown(), mPicture.Frame(2));
  mPlayer->Start();
  mRun.Frame();
  FrameAfter(0);
  EXPECT_EQ(Shown(), mPicture.Frame(3));
  EXPECT_EQ(mPlayer->GetState(), MM2DFilmPlayerMolecule::kPlaying);
  EXPECT_EQ(cues, 1);
}

TEST_F(MM2DFilmPlayerStateTest, AFilmThatStartsWithAHoldStartsItsClockOnStart) {
  MM2DFilmChunkWriter writer(4);
  const Bytes first = mPicture.Frame(0);
  const Bytes second = mPicture.Frame(1);
  writer.RawFrame(first.data(), mPicture.FrameBytes());
  writer.Hold();
  writer.RawFrame(second.data(), mPicture.FrameBytes());
  writer.FrameTime(kFrameMs);
  writer.End();
  Load({Entry(mPicture, writer.GetBytes())});
  mPlayer->OpenFilm(Film());
  EXPECT_EQ(mPlayer->GetState(), MM2DFilmPlayerMolecule::kHeld);
  FrameAfter(1000);
  mPlayer->Start();
  mRun.Frame();
  const int32_t started = mScene.GetTaskClient()->GetTime();
  EXPECT_EQ(mPlayer->GetBaseTime(), started);
  FrameAfter(0);
  EXPECT_EQ(Shown(), second);
}

TEST_F(MM2DFilmPlayerStateTest, TheEndIsPostedOnceAndStartPlaysAgainFromTheStart) {
  FilmScript script;
  script.frames = 3;
  LoadFilm(script);
  int ends = 0;
  mPlayer->SetEndCallback(Counter(ends));
  PlayFromNextFrame();
  for (int i = 0; i < 5; ++i) FrameAfter(kFrameMs);
  EXPECT_EQ(mPlayer->GetState(), MM2DFilmPlayerMolecule::kEnded);
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(Shown(), mPicture.Frame(2));
  mPlayer->Start();
  EXPECT_EQ(Shown(), mPicture.Frame(0));
  EXPECT_EQ(mPlayer->GetFrameCounter(), 0);
  mRun.Frame();
  FrameAfter(kFrameMs);
  EXPECT_EQ(Shown(), mPicture.Frame(1));
  EXPECT_EQ(ends, 1);
}

// The task-callback makers run their operation when the posted callback
// runs on the stage thread, not before.
TEST_F(MM2DFilmPlayerStateTest, PostedCallbacksPlayPauseAndClose) {
  LoadFilm(FilmScript{});
  const auto run = [this](const MMTaskCallback& callback) {
    callback.Post();
    mRun.mStage->GetTaskManager()->RunUntil(mRun.mStage->GetTaskManager()->GetNow());
  };
  const MMTaskCallback play = mPlayer->MakePlayFilmCallback(Film());
  EXPECT_EQ(mPlayer->GetState(), MM2DFilmPlayerMolecule::kClosed);
  run(play);
  EXPECT_EQ(mPlayer->GetState(), MM2DFilmPlayerMolecule::kPlaying);
  run(mPlayer->MakePauseCallback());
  EXPECT_EQ(mPlayer->GetState(), MM2DFilmPlayerMolecule::kHeld);
  run(mPlayer->MakeRestartCallback());
  EXPECT_EQ(mPlayer->GetState(), MM2DFilmPlayerMolecule::kPlaying);
  EXPECT_EQ(mPlayer->GetFrameCounter(), 0);
  run(mPlayer->MakeCloseCallback());
  EXPECT_EQ(mPlayer->GetState(), MM2DFilmPlayerMolecule::kClosed);
  run(mPlayer->MakeOpenFilmCallback(Film()));
  EXPECT_EQ(mPlayer->GetState(), MM2DFilmPlayerMolecule::kReady);
}

TEST_F(MM2DFilmPlayerStateTest, CloseHidesAndReleasesTheFilm) {
  LoadFilm(FilmScript{});
  PlayFromNextFrame();
  EXPECT_EQ(mPlayer->GetFilm().GetId(), MM2DFilmIdFromCollection(mLoader, 0));
  mPlayer->CloseFilm();
  EXPECT_EQ(mPlayer->GetState(), MM2DFilmPlayerMolecule::kClosed);
  EXPECT_TRUE(mPlayer->GetFilm().IsEmpty());
  EXPECT_EQ(mPlayer->GetFrameBitmap(), nullptr);
  EXPECT_EQ(mPlayer->GetVisual()->GetVisibility(), kMMHidden);
  // The film's block went with the stream: the film opens again.
  mPlayer->OpenFilm(Film());
  EXPECT_EQ(Shown(), mPicture.Frame(0));
}

// Only one stream of a film is open at a time: a second player of the same
// film stays closed instead of sharing the first one's ring.
TEST_F(MM2DFilmPlayerStateTest, ASecondPlayerOfAPlayingFilmStaysClosed) {
  LoadFilm(FilmScript{});
  PlayFromNextFrame();
  MM2DFilmPlayerMolecule second(&mScene);
  second.OpenFilm(Film());
  EXPECT_EQ(second.GetState(), MM2DFilmPlayerMolecule::kClosed);
  EXPECT_TRUE(second.GetFilm().IsEmpty());
  FrameAfter(kFrameMs);
  EXPECT_EQ(Shown(), mPicture.Frame(1));
}

TEST_F(MM2DFilmPlayerStateTest, FilmsWithoutRoomForTheirFramesDoNotOpen) {
  FilmEntry noWork = Entry(mPicture, MakeFilm(mPicture, FilmScript{}));
  noWork.workBufferSize = -1;
  FilmEntry noFrame = noWork;
  noFrame.workBufferSize = 0;
  noFrame.rect = UURect(10, 10, 10, 40);
  Load({noWork, noFrame});
  for (const int16_t film : {int16_t{0}, int16_t{1}}) {
    mPlayer->OpenFilm(Film(film));
    EXPECT_EQ(mPlayer->GetState(), MM2DFilmPlayerMolecule::kClosed) << film;
    EXPECT_TRUE(mPlayer->GetFilm().IsEmpty()) << film;
  }
}

TEST_F(MM2DFilmPlayerStateTest, TheVisualIsHitWhereTheFrameIsNotTransparent) {
  MM2DFilmChunkWriter writer(4);
  Bytes pixels = mPicture.Frame(0);
  pixels[3] = 255;  // the top-left pixel fully transparent
  writer.RawFrame(pixels.data(), mPicture.FrameBytes());
  writer.End();
  FilmEntry keyed = Entry(mPicture, writer.GetBytes());
  Load({keyed});
  mLoader->GetFile()->SetSubFormat(0, kMMSubFormatKeyed);
  mPlayer->OpenFilm(Film());
  const MM2DFilmPlayerVisual* visual = mPlayer->GetVisual();
  EXPECT_FALSE(visual->Contains(kOrigin.mX, kOrigin.mY));
  EXPECT_TRUE(visual->Contains(kOrigin.mX + 1, kOrigin.mY));
  EXPECT_FALSE(visual->Contains(kOrigin.mX - 1, kOrigin.mY + 1));
  EXPECT_FALSE(visual->Contains(kOrigin.mX + kWidth, kOrigin.mY + 1));
}

// Damaged chunks change nothing outside the frame, and the stream stays on
// its chunks: the frame after a damaged one is shown as written.
TEST_F(MM2DFilmPlayerStateTest, DamagedChunksAreStoppedAndTheFilmGoesOn) {
  const Bytes first = mPicture.Frame(0);
  const Bytes last = mPicture.Frame(5);
  const uint8_t fill[4] = {1, 2, 3, 4};
  struct Case {
    const char* what;
    void (*damage)(MM2DFilmChunkWriter&, int32_t frameBytes, const uint8_t* fill);
  };
  const Case cases[] = {
      {"delta fill past the frame's end",
       [](MM2DFilmChunkWriter& w, int32_t size, const uint8_t* f) {
         MM2DFilmDeltaOps ops(4);
         ops.AddFill(static_cast<int16_t>(size - 4), -8, f);
         w.DeltaFrame({}, ops);
       }},
      {"delta skip before the frame",
       [](MM2DFilmChunkWriter& w, int32_t, const uint8_t* f) {
         MM2DFilmDeltaOps ops(4);
         ops.AddFill(-4, -4, f);
         w.DeltaFrame({}, ops);
       }},
      {"compressed frame of the wrong size",
       [](MM2DFilmChunkWriter& w, int32_t size, const uint8_t*) {
         const Bytes pixels(static_cast<size_t>(size / 2), 9);
         w.CompressedFrame(pixels.data(), size / 2);
       }},
      {"raw frame of the wrong size",
       [](MM2DFilmChunkWriter& w, int32_t, const uint8_t*) {
         const Bytes pixels(40, 9);
         w.RawFrame(pixels.data(), 40);
       }},
      {"sound for a track the film lacks",
       [](MM2DFilmChunkWriter& w, int32_t, const uint8_t* f) { w.SoundData(3, 0, f, 4); }},
      {"a chunk of no known type",
       [](MM2DFilmChunkWriter& w, int32_t, const uint8_t*) { w.Cue(kCue); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MM2DFilmChunkWriter writer(4);
    writer.RawFrame(first.data(), mPicture.FrameBytes());
    writer.FrameTime(kFrameMs);
    c.damage(writer, mPicture.FrameBytes(), fill);
    writer.FrameTime(2 * kFrameMs);
    writer.RawFrame(last.data(), mPicture.FrameBytes());
    writer.End();
    Bytes data = writer.GetBytes();
    if (std::strcmp(c.what, "a chunk of no known type") == 0) {
      // The cue chunk of the second frame becomes type 0xF78900FF.
      data[static_cast<size_t>(8 + mPicture.FrameBytes() + 12 + 3)] = 0xFF;
    }
    FilmPlayerFixture fixture;
    fixture.Load({Entry(mPicture, data)});
    fixture.PlayFromNextFrame();
    fixture.FrameAfter(3 * kFrameMs);
    EXPECT_EQ(fixture.mPlayer->GetState(), MM2DFilmPlayerMolecule::kEnded);
    EXPECT_EQ(fixture.Shown(), last);
  }
}

// Keeps the rectangles the film's rectangle chunks name.
class RectangleRecorder : public MM2DFilmPlayerMolecule {
 public:
  using MM2DFilmPlayerMolecule::MM2DFilmPlayerMolecule;
  std::vector<UURect> mRectangles;

 protected:
  void SetRectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) override {
    mRectangles.emplace_back(left, top, right, bottom);
  }
};

// A time chunk moves the clock without starting a frame; a sound-end chunk
// ends the track's source; a rectangle chunk reaches SetRectangle.
TEST_F(MM2DFilmPlayerStateTest, TimeRectangleAndSoundEndChunks) {
  constexpr int32_t kHalfFrame = kFrameMs / 2;
  const MM2DFilmDirtyRect kNamed{1, 2, 3, 4};
  const Bytes sound = LevelSound(4410);
  const Bytes first = mPicture.Frame(0);
  const Bytes second = mPicture.Frame(1);
  MM2DFilmChunkWriter writer(4);
  writer.RawFrame(first.data(), mPicture.FrameBytes());
  writer.SoundData(0, 0, sound.data(), static_cast<int32_t>(sound.size()));
  writer.Rectangle(kNamed);
  writer.Time(kHalfFrame);
  writer.SoundEnd(0);
  writer.FrameTime(kFrameMs);
  writer.RawFrame(second.data(), mPicture.FrameBytes());
  writer.End();
  FilmEntry film = Entry(mPicture, writer.GetBytes());
  film.soundTracks = 1;
  Load({film});
  RectangleRecorder player(&mScene);
  player.PlayFilm(Film());
  EXPECT_EQ(player.mRectangles, std::vector<UURect>{UURect(2, 1, 4, 3)});
  EXPECT_EQ(player.GetFrameTime(), kHalfFrame);
  EXPECT_EQ(player.GetTrackStartFrame(0), 0);
  mRun.Frame();
  FrameAfter(kHalfFrame);
  EXPECT_EQ(player.GetFrameCounter(), 0);
  EXPECT_EQ(player.GetTrackStartFrame(0), MM2DFilmPlayerMolecule::kTrackEnded);
  EXPECT_TRUE(player.GetTrackChannel(0)->GetSource()->AtEnd());
  FrameAfter(kHalfFrame);
  EXPECT_EQ(player.GetFrameCounter(), 1);
  EXPECT_EQ(player.GetState(), MM2DFilmPlayerMolecule::kEnded);
}

// 16-bit sound whose samples the end of the ring splits at an odd byte is
// heard as written, every sample whole.
TEST_F(MM2DFilmPlayerStateTest, ASampleSplitByTheRingIsFedWhole) {
  constexpr int32_t kSoundBytes = 4000;
  constexpr int32_t kFramesHeard = 3000;
  const Bytes first = mPicture.Frame(0);
  const Bytes odd(5, 0);
  const Bytes sound = LevelSound(kSoundBytes);
  MM2DFilmChunkWriter writer(4);
  writer.RawFrame(first.data(), mPicture.FrameBytes());
  // Sound for a track the film lacks, of an odd length, shifts the rest.
  writer.SoundData(3, 0, odd.data(), static_cast<int32_t>(odd.size()));
  writer.SoundData(0, 0, sound.data(), kSoundBytes);
  writer.FrameTime(kFrameMs);
  writer.End();
  FilmEntry film = Entry(mPicture, writer.GetBytes());
  film.soundTracks = 1;
  Load({film});
  ASSERT_EQ(mLoader->GetPreloadBlockSize(0), 4096);
  PlayFromNextFrame();
  const std::vector<int16_t> heard = sound_output::Mix(kFramesHeard);
  ASSERT_EQ(heard.size(), size_t{2 * kFramesHeard});
  int wrong = 0;
  for (int32_t i = 0; i < kFramesHeard; ++i) wrong += heard[static_cast<size_t>(2 * i)] != kLevel;
  EXPECT_EQ(wrong, 0);
}

// Frame times come from the file: one at the end of time never comes, and
// nothing overflows on the way.
TEST_F(MM2DFilmPlayerStateTest, AFrameDueAtTheEndOfTimeNeverComes) {
  const Bytes first = mPicture.Frame(0);
  MM2DFilmChunkWriter writer(4);
  writer.RawFrame(first.data(), mPicture.FrameBytes());
  writer.FrameTime(INT32_MAX);
  writer.End();
  Load({Entry(mPicture, writer.GetBytes())});
  PlayFromNextFrame();
  FrameAfter(10 * kFrameMs);
  mPlayer->Pause();
  mRun.Frame();
  FrameAfter(kFrameMs);
  mPlayer->Start();
  mRun.Frame();
  FrameAfter(10 * kFrameMs);
  EXPECT_EQ(mPlayer->GetState(), MM2DFilmPlayerMolecule::kPlaying);
  EXPECT_EQ(Shown(), first);
}

// A film whose data stops without an end chunk ends where it stops.
TEST_F(MM2DFilmPlayerStateTest, AFilmCutShortEndsOnce) {
  Bytes data = MakeFilm(mPicture, FilmScript{});
  data.resize(data.size() / 2);
  Load({Entry(mPicture, data)});
  int ends = 0;
  mPlayer->SetEndCallback(Counter(ends));
  PlayFromNextFrame();
  for (int i = 0; i < 10; ++i) FrameAfter(kFrameMs);
  EXPECT_EQ(mPlayer->GetState(), MM2DFilmPlayerMolecule::kEnded);
  EXPECT_EQ(ends, 1);
}

// A frame task that finds the next frame due more than the lead time
// before the stage's time drops the sound for the rest of the film: here
// the second frame names a next frame time that far in the past. The
// dropped track's later data is passed over, and the pictures go on.
TEST_F(MM2DFilmPlayerStateTest, SoundTooLateForItsFramesIsDroppedForTheRestOfTheFilm) {
  constexpr int16_t kLead = 500;
  const Bytes sound = LevelSound(4410);
  const struct {
    int32_t mNextTime;
    bool mDropped;
  } kCases[] = {{kFrameMs - kLead, false}, {kFrameMs - kLead - 1, true}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.mNextTime);
    MM2DFilmChunkWriter writer(4);
    const int32_t times[] = {kFrameMs, c.mNextTime, 3 * kFrameMs};
    for (int32_t k = 0; k < 3; ++k) {
      const Bytes frame = mPicture.Frame(k);
      writer.RawFrame(frame.data(), mPicture.FrameBytes());
      writer.SoundData(0, 0, sound.data(), static_cast<int32_t>(sound.size()));
      writer.FrameTime(times[k]);
    }
    const Bytes last = mPicture.Frame(3);
    writer.RawFrame(last.data(), mPicture.FrameBytes());
    writer.End();
    FilmEntry film = Entry(mPicture, writer.GetBytes());
    film.soundTracks = 1;
    film.leadTime = kLead;
    FilmPlayerFixture fixture;
    fixture.Load({film});
    fixture.PlayFromNextFrame();
    ASSERT_EQ(fixture.mPlayer->GetTrackStartFrame(0), 0);
    // Frame 1 at its time, frame 2 at once after it.
    fixture.FrameAfter(kFrameMs);
    EXPECT_EQ(fixture.Shown(), mPicture.Frame(2));
    EXPECT_EQ(fixture.mPlayer->GetTrackStartFrame(0),
              c.mDropped ? MM2DFilmPlayerMolecule::kDropped : 0);
    EXPECT_EQ(fixture.mPlayer->GetTrackChannel(0)->IsPlaying(), !c.mDropped);
    EXPECT_EQ(sound_output::Mix(10)[0], c.mDropped ? 0 : kLevel);
    fixture.FrameAfter(2 * kFrameMs);
    EXPECT_EQ(fixture.Shown(), last);
    EXPECT_EQ(fixture.mPlayer->GetState(), MM2DFilmPlayerMolecule::kEnded);
  }
}

// Keeps what the stage must repaint after each decoded frame.
class DirtyRecorder : public MM2DFilmPlayerMolecule {
 public:
  DirtyRecorder(MMScene* scene, const MMRegion& dirty)
      : MM2DFilmPlayerMolecule(scene), mDirty(dirty) {}
  std::vector<std::vector<UURect>> mAfterFrames;

 protected:
  void DecodeFrame() override {
    MM2DFilmPlayerMolecule::DecodeFrame();
    std::vector<UURect>& rects = mAfterFrames.emplace_back();
    for (int32_t i = 0; i < mDirty.GetCount(); ++i) rects.push_back(mDirty.GetRect(i));
  }

 private:
  const MMRegion& mDirty;
};

// A delta frame invalidates its used dirty rectangles only: not the
// film's bounds, nor rectangles without area.
TEST_F(MM2DFilmPlayerStateTest, ADeltaFrameInvalidatesOnlyItsUsedDirtyRectangles) {
  const MM2DFilmDirtyRect dirty[kMM2DFilmDirtyRectCount] = {
      {34, 44, 40, 60}, {30, 50, 40, 50}, {45, 70, 35, 80}, {36, 20, 36, 30}};
  MM2DFilmDeltaOps ops(4);
  const uint8_t fill[4] = {1, 2, 3, 4};
  ops.AddFill(0, -8, fill);
  const Bytes first = mPicture.Frame(0);
  MM2DFilmChunkWriter writer(4);
  writer.RawFrame(first.data(), mPicture.FrameBytes());
  writer.FrameTime(kFrameMs);
  writer.DeltaFrame(dirty, ops);
  writer.End();
  Load({Entry(mPicture, writer.GetBytes())});
  const auto& act = static_cast<MM2DAct&>(*mRun.mStage->GetAct());
  DirtyRecorder player(&mScene, act.GetDirtyRegion());
  player.PlayFilm(Film());
  mRun.Frame();
  FrameAfter(kFrameMs);
  ASSERT_EQ(player.mAfterFrames.size(), 2u);
  EXPECT_EQ(player.mAfterFrames[1], std::vector<UURect>{UURect(44, 34, 60, 40)});
}

}  // namespace
