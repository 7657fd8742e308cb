#pragma once
// The film stage: the intro's films, each drawn frame by frame by the
// program's own engine through the offscreen OpenGL driver from the models
// and textures already built into the output folder, at 800 x 600 and 15
// frames a second, 32-bit: a compressed first frame, then compressed deltas
// (the camera stands still, so they stay small), with one 22050 Hz 16-bit
// mono track sent a lead time ahead of its frames. The table values are
// computed from the chunks.

#include "tools/databuilder/BuildSources.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace databuilder {

constexpr int32_t kFilmWidth = 800;
constexpr int32_t kFilmHeight = 600;
constexpr int32_t kFilmFramesPerSecond = 15;
constexpr int16_t kFilmSoundLeadMilliseconds = 250;

struct BuiltFilm {
  std::vector<uint8_t> mChunks;
  int32_t mWorkBufferSize = 0;
  int32_t mPreloadSize = 0;
  int16_t mDataRate = 0;  // 16 bytes a second
};

// A film's frame in the frame bitmap's memory order (B, G, R, A per pixel,
// the top row first), drawn with the scene's models as they stand then.
using FilmFrame = std::vector<uint8_t>;

// The frames of the film of that id, drawn from the built files in the
// folder; throws BuildError when they cannot be drawn.
std::vector<FilmFrame> DrawFilmFrames(const BuildSources& sources, int32_t film,
                                      const std::filesystem::path& builtFiles);

// Every film by id; throws BuildError on a missing recipe or files that
// cannot be drawn from.
std::vector<BuiltFilm> BuildFilms(const BuildSources& sources,
                                  const std::filesystem::path& builtFiles);

}  // namespace databuilder
