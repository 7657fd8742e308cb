#pragma once
// Helpers of the film tests: frames of a known pattern, films made of them
// with the system's chunk writer (every kind of picture chunk, sound, cues,
// holds), film files written with the film file's own writer in either
// byte order, and a started stage with real sound whose 2D act shows a
// scene and whose films stream on a pulse thread.

#include "foundation/af/AFPulseTask.h"
#include "media/films/MM2DFilmChunkWriter.h"
#include "media/films/MM2DFilmResourceFile.h"
#include "media/sound/MMSoundManager.h"
#include "mm/resources/MMGlobalPulseTaskManagers.h"
#include "mm/stage/MMEnclosure.h"
#include "mm/stage/MMScene.h"
#include "mm/stage/MMView.h"
#include "mm/tasks/MMTaskManager.h"
#include "tests/mm/stage/StageTestSupport.h"
#include "tests/support/ResourceFileFixtures.h"
#include "tests/support/SoundOutputSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace film_fixtures {

using Bytes = std::vector<uint8_t>;

// Colours that every surface format shows exactly, 0xRRGGBB.
constexpr std::array<uint32_t, 8> kColours = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF,
                                              0xFFFF00, 0x00FFFF, 0xFF00FF, 0xFFFFFF};
// The palette index of colour i; index 0 stays transparent.
constexpr int32_t kFirstIndex = 1;
constexpr int16_t kLevel = 0x0800;

// A film file's name for the running test, also when its names carry the
// slashes of a parameterised test.
inline std::string FileName() {
  std::string name = resource_fixtures::UniqueName("films.mmf");
  for (char& c : name) c = c == '/' ? '-' : c;
  return name;
}

// Frames of width x height pixels whose colours move with the frame
// number in 4-pixel squares.
struct FilmPicture {
  int32_t width;
  int32_t height;
  int32_t bytesPerPixel;

  int32_t Pitch() const { return (width * bytesPerPixel + 3) / 4 * 4; }
  int32_t FrameBytes() const { return Pitch() * height; }
  static size_t ColourAt(int32_t frame, int32_t x, int32_t y) {
    return static_cast<size_t>(frame + x / 4 + y / 4) % kColours.size();
  }
  uint32_t Expected(int32_t frame, int32_t x, int32_t y) const {
    return kColours[ColourAt(frame, x, y)];
  }
  // In the frame bitmap's memory order.
  Bytes Frame(int32_t frame) const {
    Bytes pixels(static_cast<size_t>(FrameBytes()));
    for (int32_t y = 0; y < height; ++y) {
      for (int32_t x = 0; x < width; ++x) {
        const size_t colour = ColourAt(frame, x, y);
        uint8_t* pixel = &pixels[static_cast<size_t>(y * Pitch() + x * bytesPerPixel)];
        if (bytesPerPixel == 1) {
          pixel[0] = static_cast<uint8_t>(kFirstIndex + colour);
        } else {
          const uint32_t rgb = kColours[colour];
          pixel[0] = static_cast<uint8_t>(rgb);
          pixel[1] = static_cast<uint8_t>(rgb >> 8);
          pixel[2] = static_cast<uint8_t>(rgb >> 16);
        }
      }
    }
    return pixels;
  }
  // The work buffer every chunk of such a film fits in.
  int32_t WorkBufferSize() const { return 3 * FrameBytes() + 64; }
};

inline MMPalette ColourPalette() {
  MMPalette palette;
  for (size_t i = 0; i < kColours.size(); ++i) {
    const uint32_t rgb = kColours[i];
    palette.mEntries[kFirstIndex + i] = {static_cast<uint8_t>(rgb), static_cast<uint8_t>(rgb >> 8),
                                         static_cast<uint8_t>(rgb >> 16), 0};
  }
  return palette;
}

// What a made film holds besides its frames.
struct FilmScript {
  int32_t frames = 8;
  int32_t frameMilliseconds = 100;
  // Bytes of 16-bit sound per frame on track 0; none when 0.
  int32_t soundBytesPerFrame = 0;
  // The frame whose chunks carry cue 7, and the frame after which the film
  // holds when the next one is due; -1 for none.
  int32_t cueFrame = -1;
  int32_t holdFrame = -1;
  // Where the film is shown: its dirty rectangles are in the scene's
  // coordinates.
  UUPoint origin{0, 0};
};

constexpr int32_t kCue = 7;

// 16-bit samples of kLevel, big-endian as films store them.
inline Bytes LevelSound(int32_t bytes) {
  Bytes sound(static_cast<size_t>(bytes));
  for (size_t i = 0; i + 1 < sound.size(); i += 2) {
    sound[i] = static_cast<uint8_t>(kLevel >> 8);
    sound[i + 1] = static_cast<uint8_t>(kLevel & 0xFF);
  }
  return sound;
}

// Frame k is a raw, compressed, delta or compressed delta chunk in turn
// (frame 0 raw), followed by its sound, its cue and the time of the next
// frame; the last frame ends the film.
inline Bytes MakeFilm(const FilmPicture& picture, const FilmScript& script) {
  MM2DFilmChunkWriter writer(picture.bytesPerPixel);
  const MM2DFilmDirtyRect dirty[kMM2DFilmDirtyRectCount] = {
      {static_cast<int16_t>(script.origin.mY), static_cast<int16_t>(script.origin.mX),
       static_cast<int16_t>(script.origin.mY + picture.height),
       static_cast<int16_t>(script.origin.mX + picture.width)}};
  const Bytes sound = LevelSound(script.soundBytesPerFrame);
  Bytes previous;
  for (int32_t k = 0; k < script.frames; ++k) {
    const Bytes frame = picture.Frame(k);
    const int32_t size = picture.FrameBytes();
    const MM2DFilmDeltaOps ops = k == 0 ? MM2DFilmDeltaOps(picture.bytesPerPixel)
                                        : MM2DFilmDeltaOps::Encode(previous.data(), frame.data(),
                                                                   size, picture.bytesPerPixel);
    switch (k % 4) {
      case 0:
        writer.RawFrame(frame.data(), size);
        break;
      case 1:
        writer.CompressedFrame(frame.data(), size);
        break;
      case 2:
        writer.DeltaFrame(dirty, ops);
        break;
      default:
        writer.CompressedDeltaFrame(dirty, ops);
        break;
    }
    if (!sound.empty()) writer.SoundData(0, 0, sound.data(), static_cast<int32_t>(sound.size()));
    if (k == script.cueFrame) writer.Cue(kCue);
    if (k + 1 == script.frames) {
      writer.End();
      break;
    }
    writer.FrameTime((k + 1) * script.frameMilliseconds);
    // A step of its own when the next frame is due: the film holds there.
    if (k == script.holdFrame) writer.Hold();
    previous = frame;
  }
  return writer.GetBytes();
}

// One film of a film file.
struct FilmEntry {
  UURect rect;
  FilmPicture picture{0, 0, 4};
  Bytes data;
  bool palette = false;  // the file's palette 0
  int32_t workBufferSize = 0;
  int32_t soundTracks = 0;  // 16-bit mono tracks at 22050 Hz
  int16_t leadTime = 500;
  int32_t preloadSize = 0;
  int16_t dataRate = 0;
};

// Writes the films with the film file's own writer; its one palette is
// ColourPalette().
inline void WriteFilms(const std::string& name, int16_t collection,
                       const std::vector<FilmEntry>& films,
                       UUByteOrder order = kUUNativeByteOrder) {
  MM2DFilmResourceFile file;
  const auto n = static_cast<int16_t>(films.size());
  ASSERT_TRUE(file.Create(resource_fixtures::TempDirectory(), name.c_str(), UUFileOptions(), n,
                          collection, order));
  ASSERT_TRUE(file.AddPalettes(1));
  ASSERT_TRUE(file.SetPalette(0, ColourPalette()));
  for (int16_t i = 0; i < n; ++i) {
    const FilmEntry& film = films[static_cast<size_t>(i)];
    ASSERT_TRUE(file.SetPalettized(i, film.picture.bytesPerPixel == 1 ? 1 : 0));
    ASSERT_TRUE(file.SetPaletteKind(i, film.palette ? 2 : 0, 0));
    ASSERT_TRUE(file.SetRectangle(i, film.rect));
    ASSERT_TRUE(file.SetWorkBufferSize(i, film.workBufferSize));
    ASSERT_TRUE(file.SetSoundTrackCount(i, film.soundTracks));
    for (int32_t track = 0; track < film.soundTracks; ++track) {
      ASSERT_TRUE(file.SetSoundRateCode(i, track, 1));
      ASSERT_TRUE(file.SetSound16Bit(i, track, 1));
    }
    ASSERT_TRUE(file.SetSoundLeadTime(i, film.leadTime));
    ASSERT_TRUE(file.SetPreloadSize(i, film.preloadSize));
    ASSERT_TRUE(file.SetDataRate(i, film.dataRate));
  }
  ASSERT_TRUE(file.RewriteHeader());
  for (int16_t i = 0; i < n; ++i) {
    const Bytes& data = films[static_cast<size_t>(i)].data;
    int32_t position = 0;
    file.GetFile().Seek(0, kUUSeekFromEnd, &position);
    ASSERT_TRUE(file.SetSubfileOffset(i, position));
    file.GetFile().Write(data.data(), static_cast<uint32_t>(data.size()));
  }
  ASSERT_TRUE(file.RecordEndOffset());
  ASSERT_TRUE(file.Close(true));
}

// The streaming pulse-task manager with its thread, while it lives.
class StreamingPulseThread {
 public:
  StreamingPulseThread() {
    MMStreamingPulseTaskManager = &mManager;
    mManager.Start();
  }
  ~StreamingPulseThread() {
    mManager.Stop();
    MMStreamingPulseTaskManager = nullptr;
  }
  StreamingPulseThread(const StreamingPulseThread&) = delete;
  StreamingPulseThread& operator=(const StreamingPulseThread&) = delete;

 private:
  AFPulseTaskManager mManager;
};

// A started stage with its own sound manager, held output and a scene on
// a 2D view over the whole stage.
struct FilmStage {
  ~FilmStage() {
    mScene.ResignFocus();
    mView.Detach();
  }
  // A drawing frame that many milliseconds of stage time later.
  void FrameAfter(int32_t milliseconds) {
    mRun.mStage->RequestUpdate(mRun.mStage->GetTaskManager()->GetNow() + milliseconds, true);
    mRun.mStage->RunPendingUpdate();
  }
  MMTaskCallback Counter(int& count) {
    return MMTaskCallback(mScene.GetTaskClient(), new (ALGlobalAllocator) StageLogCallback(
                                                      mRun.mLog, "fired", [&count] { ++count; }));
  }

  // Held from the start; a test that listens to the device's own output
  // lets it go.
  std::optional<sound_output::HeldOutput> mHeld{std::in_place};
  StageOnTestThread mRun{[this](MMStage* stage) {
                           return new (ALGlobalAllocator) LoggingAct(stage, mRun.mLog, "act");
                         },
                         false};
  bool mStarted = (mRun.Start(), mRun.mLog.clear(), true);
  MM2DPlanarEnclosure mEnclosure{mRun.mStage};
  MM2DPlanarView mView{mRun.mStage->GetAct()->GetViewServices(), &mEnclosure,
                       mRun.mStage->GetLocalRect(), 0};
  MMScene mScene{mRun.mStage->GetAct()->GetSceneServices(), &mEnclosure};
};

}  // namespace film_fixtures
