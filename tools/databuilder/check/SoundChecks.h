#pragma once
// The content check's rules for the sounds of vpl3d.MMA, read with the
// program's reader: 22050 Hz, 16-bit, mono, streamed (head divisor 4) only
// for the music; effects 0.04-0.8 s, jingles as long as their animation's
// range within a frame, the music 30 s; peaks at most 3 dB under full
// scale, no DC offset, loops whose last sample runs on into the first.

#include "tools/databuilder/check/ContentCheck.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace content_check {

// What one sound must be, by its id.
struct SoundRule {
  double minSeconds;
  double maxSeconds;
  bool loop;
  bool streamed;
};
SoundRule SoundRuleOf(int32_t id);

// The rules on one sound's samples; name says which in each finding.
Findings CheckSoundSamples(const std::vector<int16_t>& samples, const SoundRule& rule,
                           const std::string& name);

Findings CheckSounds(const std::filesystem::path& folder);

}  // namespace content_check
