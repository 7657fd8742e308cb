#pragma once
// Helpers of the sound tests: PCM patterns, sound files written with the
// system's writer in either byte order, and patches of single fields.

#include "media/sound/MMSoundFileWriter.h"
#include "media/sound/MMSoundResourceFile.h"
#include "tests/support/ResourceFileFixtures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace sound_fixtures {

using Pcm = std::vector<uint8_t>;

// 16-bit little-endian samples, sample k being value(k).
template <typename F>
Pcm Samples16(int32_t count, F value) {
  Pcm pcm(static_cast<size_t>(2 * count));
  for (int32_t k = 0; k < count; ++k) {
    const auto v = static_cast<uint16_t>(value(k));
    pcm[static_cast<size_t>(2 * k)] = static_cast<uint8_t>(v);
    pcm[static_cast<size_t>(2 * k + 1)] = static_cast<uint8_t>(v >> 8);
  }
  return pcm;
}

// A ramp of 16-bit samples whose two bytes differ, so a missed or extra
// swap shows.
inline Pcm Ramp16(int32_t count) {
  return Samples16(count, [](int32_t k) { return 0x0102 + 37 * k; });
}

inline Pcm Ramp8(int32_t count) {
  Pcm pcm(static_cast<size_t>(count));
  for (int32_t k = 0; k < count; ++k) pcm[static_cast<size_t>(k)] = static_cast<uint8_t>(k * 7);
  return pcm;
}

// A sound entry over pcm, which must outlive the entry.
inline MMSoundFileEntry Entry(const Pcm& pcm, int32_t rateCode, bool is16Bit, bool stereo) {
  MMSoundFileEntry entry;
  entry.mName = "sound";
  entry.mPcm = pcm.data();
  entry.mPcmBytes = static_cast<int32_t>(pcm.size());
  entry.mRateCode = rateCode;
  entry.m16Bit = is16Bit;
  entry.mStereo = stereo;
  return entry;
}

inline void WriteSounds(const std::string& name, const std::vector<MMSoundFileEntry>& sounds,
                        UUByteOrder order = kUUNativeByteOrder, int16_t collection = 1) {
  ASSERT_TRUE(MMWriteSoundResourceFile(resource_fixtures::TempDirectory(), name.c_str(), collection,
                                       sounds.data(), static_cast<int16_t>(sounds.size()), order));
}

// Where the sound table of a file of n sounds starts.
constexpr int32_t SoundTableStart(int32_t n) { return 42 + 40 * n; }

// Overwrites size bytes at offset with value, in the order of the file.
inline void Patch(const std::string& name, int32_t offset, uint32_t value, int size,
                  bool bigEndian = false) {
  std::vector<uint8_t> bytes = resource_fixtures::ReadBytes(name);
  for (int i = 0; i < size; ++i) {
    const int shift = 8 * (bigEndian ? size - 1 - i : i);
    bytes[static_cast<size_t>(offset + i)] = static_cast<uint8_t>(value >> shift);
  }
  resource_fixtures::WriteBytes(name, bytes);
}

// A unique name for the running test, also when its names carry the
// slashes of a parameterised test.
inline std::string FileName(const char* what) {
  std::string name = resource_fixtures::UniqueName(what);
  for (char& c : name) c = c == '/' ? '-' : c;
  return name;
}

// The host path of a file in the test directory: the layer maps drive C:
// to the root and backslashes to slashes.
inline std::string HostPath(const std::string& name) {
  std::string path = std::string(resource_fixtures::TempDirectory().Text() + 2) + name;
  for (char& c : path) c = c == '\\' ? '/' : c;
  return path;
}

// Names the running test's file and removes it at the end.
class SoundFileTest : public testing::Test {
 protected:
  void SetUp() override { AFClearError(); }
  void TearDown() override {
    resource_fixtures::Remove(mName);
    AFClearError();
  }
  std::string mName = FileName("sounds.mma");
};

}  // namespace sound_fixtures
