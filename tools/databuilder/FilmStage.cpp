#include "tools/databuilder/FilmStage.h"

#include "media/films/MM2DFilmChunkWriter.h"
#include "tools/databuilder/BuildError.h"
#include "tools/databuilder/SoundStage.h"
#include "tools/databuilder/recipes/FilmRecipe.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace databuilder {

namespace {

constexpr int32_t kBytesPerPixel = 4;
constexpr int32_t kFrameBytes = kFilmWidth * kFilmHeight * kBytesPerPixel;
constexpr int32_t kSamplesPerFrame = kSoundRate / kFilmFramesPerSecond;
constexpr int32_t kLeadSamples = kSoundRate * kFilmSoundLeadMilliseconds / 1000;
constexpr int32_t kDataRateUnit = 16;

FilmRecipe ReadFilm(const BuildSources& sources, int32_t film) {
  const std::map<std::string, Recipe> recipes = ReadRecipeFolder(sources.mDataDirectory / "films");
  for (const auto& [name, recipe] : recipes) sources.mManifest.Resolve(ItemKind::kFilm, name);
  const std::string symbol = sources.mManifest.GetSubfileName(ItemKind::kFilm, film);
  const auto recipe = recipes.find(symbol);
  if (recipe == recipes.end()) {
    throw BuildError("data/films: film " + std::to_string(film) + " (" + symbol +
                     ") has no recipe");
  }
  FilmRecipe read = ReadFilmRecipe(recipe->second, sources.mManifest);
  RequireEveryKeyRead(recipe->second);
  return read;
}

int32_t FrameCount(const FilmRecipe& film) {
  return static_cast<int32_t>(std::lround(film.mSeconds * kFilmFramesPerSecond));
}

FilmFrame ToFrame(const ScreenPicture& picture) {
  FilmFrame frame(static_cast<size_t>(kFrameBytes));
  for (size_t i = 0; i < picture.mPixels.size(); ++i) {
    const uint32_t rgb = picture.mPixels[i];
    frame[i * 4] = static_cast<uint8_t>(rgb);
    frame[i * 4 + 1] = static_cast<uint8_t>(rgb >> 8);
    frame[i * 4 + 2] = static_cast<uint8_t>(rgb >> 16);
    frame[i * 4 + 3] = 0xFF;
  }
  return frame;
}

std::vector<FilmFrame> DrawFrames(const FilmRecipe& film, const std::filesystem::path& builtFiles) {
  SceneDrawing drawing(builtFiles, kFilmWidth, kFilmHeight);
  for (const FilmActor& actor : film.mActors) {
    if (!drawing.Add(ActorAt(actor, 0.0))) {
      throw BuildError("films: model " + std::to_string(actor.mModel) + " cannot be drawn from " +
                       builtFiles.string());
    }
  }
  std::vector<FilmFrame> frames;
  for (int32_t k = 0; k < FrameCount(film); ++k) {
    const double seconds = static_cast<double>(k) / kFilmFramesPerSecond;
    for (size_t i = 0; i < film.mActors.size(); ++i) {
      drawing.Place(i, ActorAt(film.mActors[i], seconds));
    }
    frames.push_back(ToFrame(drawing.Draw(film.mCamera)));
  }
  return frames;
}

// 16-bit samples, big-endian as films store them.
std::vector<uint8_t> BigEndianSound(const std::vector<int16_t>& samples) {
  std::vector<uint8_t> bytes;
  bytes.reserve(samples.size() * 2);
  for (int16_t sample : samples) {
    const auto value = static_cast<uint16_t>(sample);
    bytes.push_back(static_cast<uint8_t>(value >> 8));
    bytes.push_back(static_cast<uint8_t>(value));
  }
  return bytes;
}

// Where two frames differ: the player redraws only that; empty when they
// are the same.
MM2DFilmDirtyRect ChangedBounds(const FilmFrame& previous, const FilmFrame& next) {
  int32_t top = kFilmHeight, left = kFilmWidth, bottom = 0, right = 0;
  for (int32_t y = 0; y < kFilmHeight; ++y) {
    for (int32_t x = 0; x < kFilmWidth; ++x) {
      const size_t i = (static_cast<size_t>(y) * kFilmWidth + static_cast<size_t>(x)) * 4;
      if (std::memcmp(&previous[i], &next[i], 4) == 0) continue;
      top = std::min(top, y), bottom = std::max(bottom, y + 1);
      left = std::min(left, x), right = std::max(right, x + 1);
    }
  }
  if (bottom == 0) return {};
  return {static_cast<int16_t>(top), static_cast<int16_t>(left), static_cast<int16_t>(bottom),
          static_cast<int16_t>(right)};
}

// Writes the chunks of every frame: its picture, the sound due a lead time
// later, the time of the next frame; and the table's sizes.
class FilmEncoder {
 public:
  BuiltFilm Encode(const std::vector<FilmFrame>& frames, const std::vector<int16_t>& samples) {
    const std::vector<uint8_t> sound = BigEndianSound(samples);
    size_t soundSent = 0;
    for (size_t k = 0; k < frames.size(); ++k) {
      Picture(frames, k);
      const size_t due = std::min(
          sound.size(),
          2 * static_cast<size_t>((static_cast<int64_t>(k) + 1) * kSamplesPerFrame + kLeadSamples));
      if (due > soundSent) {
        mWriter.SoundData(0, 0, sound.data() + soundSent, static_cast<int32_t>(due - soundSent));
        soundSent = due;
      }
      if (k == 0) mBuilt.mPreloadSize = static_cast<int32_t>(mWriter.GetBytes().size());
      if (k + 1 < frames.size()) {
        mWriter.FrameTime(static_cast<int32_t>((k + 1) * 1000 / kFilmFramesPerSecond));
      }
    }
    mWriter.SoundEnd(0);
    mWriter.End();
    mBuilt.mChunks = mWriter.GetBytes();
    const double seconds = static_cast<double>(frames.size()) / kFilmFramesPerSecond;
    const double rate =
        std::ceil(static_cast<double>(mBuilt.mChunks.size()) / seconds / kDataRateUnit);
    mBuilt.mDataRate = static_cast<int16_t>(std::min(rate, 32767.0));
    return mBuilt;
  }

 private:
  // The player gathers a chunk's compressed bytes in the work buffer,
  // behind a delta's operations when it has them.
  void Picture(const std::vector<FilmFrame>& frames, size_t k) {
    const size_t before = mWriter.GetBytes().size();
    size_t opsBytes = 0;
    if (k == 0) {
      mWriter.CompressedFrame(frames[0].data(), kFrameBytes);
    } else {
      const MM2DFilmDeltaOps ops = MM2DFilmDeltaOps::Encode(frames[k - 1].data(), frames[k].data(),
                                                            kFrameBytes, kBytesPerPixel);
      MM2DFilmDirtyRect dirty[kMM2DFilmDirtyRectCount] = {};
      dirty[0] = ChangedBounds(frames[k - 1], frames[k]);
      mWriter.CompressedDeltaFrame(dirty, ops);
      opsBytes = ops.GetBytes().size();
    }
    const size_t need = opsBytes + mWriter.GetBytes().size() - before;
    mBuilt.mWorkBufferSize = std::max(mBuilt.mWorkBufferSize, static_cast<int32_t>(need));
  }

  MM2DFilmChunkWriter mWriter{kBytesPerPixel};
  BuiltFilm mBuilt;
};

}  // namespace

std::vector<FilmFrame> DrawFilmFrames(const BuildSources& sources, int32_t film,
                                      const std::filesystem::path& builtFiles) {
  return DrawFrames(ReadFilm(sources, film), builtFiles);
}

std::vector<BuiltFilm> BuildFilms(const BuildSources& sources,
                                  const std::filesystem::path& builtFiles) {
  std::vector<BuiltFilm> films;
  for (int32_t id = 0; id < sources.mManifest.GetCount(ItemKind::kFilm); ++id) {
    const FilmRecipe film = ReadFilm(sources, id);
    films.push_back(
        FilmEncoder().Encode(DrawFrames(film, builtFiles), MakeSound(film.mSound, kSoundRate)));
  }
  return films;
}

}  // namespace databuilder
