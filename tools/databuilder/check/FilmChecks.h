#pragma once
// The intro's films as the program reads them: the film table, every
// chunk, every frame decoded with the program's own decoder into a frame
// of the table's rectangle with the table's work buffer, and the sound
// track.

#include "tools/databuilder/check/ContentCheck.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace content_check {

struct DecodedFilm {
  // A hash of each frame's pixels in the frame bitmap's memory order.
  std::vector<uint64_t> mFrameHashes;
  // The bytes of track 0's sound, as its chunks declare them, and the
  // samples they carry.
  int64_t mSoundBytes = 0;
  std::vector<int16_t> mSound;
  Findings mFindings;
};

// The film's frames and sound as the program would decode them.
DecodedFilm DecodeFilm(const std::filesystem::path& folder, int16_t film);

// The hash DecodeFilm gives a frame of those bytes.
uint64_t HashFrame(const std::vector<uint8_t>& pixels);

// Each film has the intro's size and rate, decodes without fault and
// carries its whole sound, as loud as the jingles within 6 dB.
Findings CheckFilms(const std::filesystem::path& folder);

}  // namespace content_check
