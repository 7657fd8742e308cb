// The sound loader's cost: opening a sound file of 100 sounds of 2 s
// (22050 Hz, 16-bit mono) and reading every sound to its end through its
// source, held whole in memory or streamed behind a head, as a ratio over a
// plain unbuffered read of the same subfile bytes from the same file.

#include "foundation/af/AFError.h"
#include "foundation/uu/UUFileSystem.h"
#include "media/sound/MMSoundFileWriter.h"
#include "media/sound/MMSoundLoader.h"
#include "mm/resources/MMGlobalPulseTaskManagers.h"

#include <benchmark/benchmark.h>

#include "bench/RatioOverFloor.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int16_t kSounds = 100;
constexpr int32_t kSoundBytes = 2 * 22050 * 2;
constexpr uint32_t kPiece = 16384;
const char* kMemoryFile = "vplsound-bench-memory.mma";
const char* kStreamedFile = "vplsound-bench-streamed.mma";

UUDirectory TempDirectory() {
  UUDirectory directory;
  UUGetTempDirectory(directory);
  return directory;
}

// The layer maps drive C: to the root and backslashes to slashes.
std::string HostPath(const char* name) {
  std::string path = std::string(TempDirectory().Text() + 2) + name;
  for (char& c : path) c = c == '\\' ? '/' : c;
  return path;
}

void WriteFile(const char* name, int32_t streamMode, int32_t headDivisor) {
  std::vector<uint8_t> pcm(kSoundBytes);
  for (size_t k = 0; k < pcm.size(); ++k) pcm[k] = static_cast<uint8_t>(k * 31 + k / 511);
  std::vector<MMSoundFileEntry> sounds(kSounds);
  for (MMSoundFileEntry& sound : sounds) {
    sound.mPcm = pcm.data();
    sound.mPcmBytes = kSoundBytes;
    sound.mRateCode = 1;
    sound.m16Bit = true;
    sound.mStreamMode = streamMode;
    sound.mHeadDivisor = headDivisor;
  }
  MMWriteSoundResourceFile(TempDirectory(), name, 1, sounds.data(), kSounds, kUUNativeByteOrder);
}

int64_t ReadEverySound(const char* name) {
  std::unique_ptr<MMSoundLoader> loader(MMOpenSoundResourceFile(TempDirectory(), name, false));
  std::vector<uint8_t> piece(kPiece);
  int64_t total = 0;
  for (int16_t item = 0; item < kSounds; ++item) {
    std::unique_ptr<MMSoundSource> source(loader->CreateSoundSource(item));
    while (!source->AtEnd()) total += source->Read(piece.data(), kPiece, true);
    source.reset();
    // Each sound is read from the file again in the next pass.
    loader->PurgeItem(item);
  }
  return total;
}

// The floor: one unbuffered read of every subfile's bytes of the file, in
// pieces as the sources are read.
class PlainRead {
 public:
  explicit PlainRead(const char* name) : mPath(HostPath(name)), mPiece(kPiece) {
    MMSoundOpenInfo info;
    MMOpenSoundResourceFileInfo(TempDirectory(), name, false, &info);
    for (int16_t item = 0; item < kSounds; ++item) {
      mOffsets.push_back(info.mFile->GetSubfileOffset(item));
    }
    info.mFile->Close(false);
    delete info.mFile;
  }

  int64_t ReadEverySound() {
    std::FILE* file = std::fopen(mPath.c_str(), "rb");
    std::setvbuf(file, nullptr, _IONBF, 0);
    int64_t total = 0;
    for (const int32_t offset : mOffsets) {
      std::fseek(file, offset, SEEK_SET);
      for (int32_t left = kSoundBytes; left > 0; left -= static_cast<int32_t>(kPiece)) {
        total += static_cast<int64_t>(std::fread(
            mPiece.data(), 1, std::min<size_t>(kPiece, static_cast<size_t>(left)), file));
      }
    }
    std::fclose(file);
    return total;
  }

 private:
  std::string mPath;
  std::vector<uint8_t> mPiece;
  std::vector<int32_t> mOffsets;
};

// range(0): 0 every sound held whole in memory, 1 every sound streamed
// behind a head of the 65536-byte device buffer divided by range(1); each
// against the plain read of the same file's sounds.
void BM_LoadAndReadSoundsOverPlainRead(benchmark::State& state) {
  const bool streamed = state.range(0) != 0;
  const char* name = streamed ? kStreamedFile : kMemoryFile;
  WriteFile(name, streamed ? 1 : 0, static_cast<int32_t>(state.range(1)));
  AFPulseTaskManager manager;
  manager.Start();
  MMStreamingPulseTaskManager = &manager;
  PlainRead plain(name);
  ReportRatioOverFloor(
      state, [&plain] { benchmark::DoNotOptimize(plain.ReadEverySound()); },
      [name] { benchmark::DoNotOptimize(ReadEverySound(name)); });
  MMStreamingPulseTaskManager = nullptr;
  manager.Stop();
  UUDeleteFile(TempDirectory(), name);
}
BENCHMARK(BM_LoadAndReadSoundsOverPlainRead)
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({1, 4})
    ->ArgNames({"streamed", "divisor"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
