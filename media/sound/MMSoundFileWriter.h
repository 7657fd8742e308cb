#pragma once
// Makes a complete sound resource file from PCM: the sound table, each
// sound's envelope computed from its samples, its data stored as PCM or in
// the sound-byte code. The files of the program's own content and every
// test fixture are made with it.

#include "foundation/uu/UUDirectory.h"
#include "foundation/uu/UUReader.h"

#include <cstdint>

// One sound of a file being written.
struct MMSoundFileEntry {
  const char* mName = "";
  // Little-endian samples, interleaved left, right when stereo.
  const void* mPcm = nullptr;
  int32_t mPcmBytes = 0;
  int32_t mRateCode = 0;  // 0 11025 Hz, 1 22050 Hz, 2 44100 Hz
  bool m16Bit = false;
  bool mStereo = false;
  // 0 held whole in memory; 1 to 3 streamed behind a head of the device
  // buffer divided by the head divisor (1 to 31).
  int32_t mStreamMode = 0;
  int32_t mHeadDivisor = 0;
  bool mEnvelope = false;
  // 1 to 3 stores 16-bit PCM as one code byte per sample.
  int32_t mCodec = 0;
};

// Writes count sounds into the file; with the swapped order every number
// and every stored 16-bit sample is big-endian ("MM"). False with the
// kind's error recorded when the file cannot be written.
bool MMWriteSoundResourceFile(const UUDirectory& directory, const char* name,
                              int16_t collectionNumber, const MMSoundFileEntry* sounds,
                              int16_t count, UUByteOrder order);
