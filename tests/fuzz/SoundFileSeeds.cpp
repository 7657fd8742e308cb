// Writes the sound fuzzer's seed corpus with the system's writer: the same
// sounds (8-bit with an envelope, streamed 8-bit, 16-bit stereo, coded) in
// a little-endian and a big-endian file.

#include "foundation/uu/UUDirectory.h"
#include "media/sound/MMSoundFileWriter.h"

#include <cstdio>
#include <vector>

namespace {

using Pcm = std::vector<uint8_t>;

Pcm Pattern(size_t bytes) {
  Pcm pcm(bytes);
  for (size_t k = 0; k < bytes; ++k) pcm[k] = static_cast<uint8_t>(k * 29 + k / 7);
  return pcm;
}

MMSoundFileEntry Entry(const Pcm& pcm, const char* name) {
  MMSoundFileEntry entry;
  entry.mName = name;
  entry.mPcm = pcm.data();
  entry.mPcmBytes = static_cast<int32_t>(pcm.size());
  return entry;
}

bool WriteSounds(const UUDirectory& directory, const char* name, UUByteOrder order) {
  const Pcm small = Pattern(600);
  const Pcm streamed = Pattern(1500);
  const Pcm stereo = Pattern(400);
  MMSoundFileEntry sounds[] = {Entry(small, "small"), Entry(streamed, "streamed"),
                               Entry(stereo, "stereo"), Entry(stereo, "coded")};
  sounds[0].mEnvelope = true;
  // A head of 16384 / 31 = 528 bytes of the 1500.
  sounds[1].mStreamMode = 1;
  sounds[1].mHeadDivisor = 31;
  sounds[2].mRateCode = 1;
  sounds[2].m16Bit = true;
  sounds[2].mStereo = true;
  sounds[3].mCodec = 1;
  sounds[3].mEnvelope = true;
  sounds[3].mStreamMode = 2;
  sounds[3].mHeadDivisor = 31;
  return MMWriteSoundResourceFile(directory, name, 2, sounds, 4, order);
}

}  // namespace

int main(int argumentCount, char** arguments) {
  if (argumentCount != 2) {
    std::fprintf(stderr, "usage: %s <Windows path of the corpus directory>\n", arguments[0]);
    return 2;
  }
  const UUDirectory directory(arguments[1]);
  return WriteSounds(directory, "little.mma", kUUNativeByteOrder) &&
                 WriteSounds(directory, "big.mma", kUUSwappedByteOrder)
             ? 0
             : 1;
}
