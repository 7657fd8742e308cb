#pragma once
// The content check's rules for the sounds of vpl3d.MMA, read with the
// program's reader: 22050 Hz, 16-bit, mono, streamed (head divisor 4) only
// for the music; effects 0.04-0.8 s, jingles as long as their animation's
// range within a frame, the music 30 s; peaks at most 3 dB under full
// scale, no DC offset, loops whose last sample runs on into the first;
// and what plays beside them (the intro's films) as loud within 6 dB.

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

// The samples of every jingle of the built sound file; none for a sound
// that cannot be read.
std::vector<std::vector<int16_t>> ReadJingles(const std::filesystem::path& folder);

// Loudness as the ear takes a whole sound: its RMS level in dB of full
// scale (silence counts as very quiet).
double RmsDecibels(const std::vector<int16_t>& samples);

// A sound heard beside the references (the jingles) lies within 6 dB of
// their mean RMS level; name says which in the finding.
Findings CheckLoudness(const std::vector<int16_t>& samples,
                       const std::vector<std::vector<int16_t>>& references,
                       const std::string& name);

}  // namespace content_check
