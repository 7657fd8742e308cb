#include "tools/databuilder/check/SoundChecks.h"

#include "foundation/uu/UUDirectory.h"
#include "media/sound/MMSoundResourceFile.h"
#include "platform/win32/PathMapping.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>

namespace content_check {

namespace {

constexpr double kRate = 22050.0;
constexpr int32_t kRateCode22050 = 1;
constexpr int32_t kHeadDivisor = 4;
constexpr double kFrame = 1.0 / 30.0;
// -3 dBFS.
constexpr double kPeakLimit = 0.7079 * 32767.0;
// The mean may stray at most 1 % of full scale from zero.
constexpr double kDcLimit = 0.01 * 32767.0;
constexpr int32_t kMusic = 66;
constexpr int32_t kLoops[] = {17, 19, 21, 28, 29, 30, 33, 35, 39, 41, 47, 49, 51, 53, 55, 64, 66};
// The jingles and their animations' frames.
const std::map<int32_t, double> kJingleFrames = {
    {42, 60.0}, {43, 50.0}, {44, 120.0}, {45, 120.0}, {56, 120.0}};

// Quieter than this is silence for loudness.
constexpr double kSilenceDecibels = -120.0;
constexpr double kLoudnessTolerance = 6.0;

std::vector<int16_t> ReadPcm(const std::filesystem::path& file, MMSoundResourceFile& sounds,
                             int32_t item) {
  int32_t offset = 0, size = 0;
  if (!sounds.GetSubfileRange(item, &offset, &size)) return {};
  offset += sounds.GetEnvelopeSize(item);
  size -= sounds.GetEnvelopeSize(item);
  std::vector<int16_t> samples(static_cast<size_t>(std::max(0, size) / 2));
  std::ifstream in(file, std::ios::binary);
  in.seekg(offset);
  in.read(reinterpret_cast<char*>(samples.data()),
          static_cast<std::streamsize>(samples.size() * 2));
  return in ? samples : std::vector<int16_t>();
}

void CheckFormat(MMSoundResourceFile& sounds, int32_t item, const SoundRule& rule,
                 const std::string& name, Findings& findings) {
  if (sounds.GetRateCode(item) != kRateCode22050 || !sounds.Is16Bit(item) ||
      sounds.IsStereo(item) || sounds.GetCodec(item) != 0) {
    findings.push_back(name + " must be 22050 Hz, 16-bit, mono PCM");
  }
  const bool streamed = sounds.GetStreamMode(item) != 0;
  if (streamed != rule.streamed || (streamed && sounds.GetHeadDivisor(item) != kHeadDivisor)) {
    findings.push_back(name + (rule.streamed ? " must be streamed behind a head of a quarter"
                                             : " must be held whole"));
  }
}

bool OpenSounds(const std::filesystem::path& folder, MMSoundResourceFile& sounds) {
  const UUDirectory directory(
      vpl::platform::ToWindowsPath(std::filesystem::absolute(folder)).c_str());
  return sounds.Open(directory, "vpl3d.MMA", true, true);
}

}  // namespace

SoundRule SoundRuleOf(int32_t id) {
  const bool loop = std::find(std::begin(kLoops), std::end(kLoops), id) != std::end(kLoops);
  if (id == kMusic) return {30.0 - kFrame, 30.0 + kFrame, true, true};
  const auto jingle = kJingleFrames.find(id);
  if (jingle != kJingleFrames.end()) {
    return {(jingle->second - 1.0) * kFrame, (jingle->second + 1.0) * kFrame, false, false};
  }
  return {0.04, 0.8, loop, false};
}

Findings CheckSoundSamples(const std::vector<int16_t>& samples, const SoundRule& rule,
                           const std::string& name) {
  Findings findings;
  const double seconds = static_cast<double>(samples.size()) / kRate;
  if (seconds < rule.minSeconds - 1e-9 || seconds > rule.maxSeconds + 1e-9) {
    findings.push_back(name + " lasts " + std::to_string(seconds) + " s, outside " +
                       std::to_string(rule.minSeconds) + "-" + std::to_string(rule.maxSeconds));
    return findings;
  }
  double sum = 0.0;
  int32_t peak = 0, largestStep = 0;
  for (size_t i = 0; i < samples.size(); ++i) {
    sum += samples[i];
    peak = std::max(peak, std::abs(static_cast<int32_t>(samples[i])));
    if (i > 0) largestStep = std::max(largestStep, std::abs(samples[i] - samples[i - 1]));
  }
  if (peak > kPeakLimit) findings.push_back(name + " peaks above -3 dBFS");
  if (std::abs(sum / static_cast<double>(samples.size())) > kDcLimit) {
    findings.push_back(name + " has a DC offset");
  }
  if (rule.loop && std::abs(samples.front() - samples.back()) > largestStep) {
    findings.push_back(name + " does not loop seamlessly: its end jumps to its start");
  }
  return findings;
}

Findings CheckSounds(const std::filesystem::path& folder) {
  MMSoundResourceFile sounds;
  if (!OpenSounds(folder, sounds)) return {"vpl3d.MMA does not open"};
  Findings findings;
  for (int32_t item = 0; item < sounds.GetSubfileCount(); ++item) {
    const std::string name = "s " + std::to_string(item);
    const SoundRule rule = SoundRuleOf(item);
    CheckFormat(sounds, item, rule, name, findings);
    const std::vector<int16_t> samples = ReadPcm(folder / "vpl3d.MMA", sounds, item);
    if (samples.empty()) {
      findings.push_back(name + " has no samples");
      continue;
    }
    const Findings found = CheckSoundSamples(samples, rule, name);
    findings.insert(findings.end(), found.begin(), found.end());
  }
  sounds.Close(false);
  return findings;
}

std::vector<std::vector<int16_t>> ReadJingles(const std::filesystem::path& folder) {
  MMSoundResourceFile sounds;
  if (!OpenSounds(folder, sounds)) return {};
  std::vector<std::vector<int16_t>> jingles;
  for (const auto& [id, frames] : kJingleFrames) {
    if (id < sounds.GetSubfileCount()) jingles.push_back(ReadPcm(folder / "vpl3d.MMA", sounds, id));
  }
  sounds.Close(false);
  return jingles;
}

double RmsDecibels(const std::vector<int16_t>& samples) {
  double sum = 0.0;
  for (int16_t sample : samples) sum += static_cast<double>(sample) * sample;
  if (samples.empty() || sum == 0.0) return kSilenceDecibels;
  const double rms = std::sqrt(sum / static_cast<double>(samples.size())) / 32767.0;
  return std::max(kSilenceDecibels, 20.0 * std::log10(rms));
}

Findings CheckLoudness(const std::vector<int16_t>& samples,
                       const std::vector<std::vector<int16_t>>& references,
                       const std::string& name) {
  if (references.empty()) return {name + " has no jingles to be heard beside"};
  double mean = 0.0;
  for (const std::vector<int16_t>& reference : references) mean += RmsDecibels(reference);
  mean /= static_cast<double>(references.size());
  const double level = RmsDecibels(samples);
  if (std::abs(level - mean) <= kLoudnessTolerance) return {};
  return {name + " is " + std::to_string(level - mean) + " dB from the jingles (" +
          std::to_string(mean) + " dB RMS); keep it within 6 dB"};
}

}  // namespace content_check
