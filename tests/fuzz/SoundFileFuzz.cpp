// Opens the input as a sound file and reads everything in it: the table of
// every sound, every sound through its source (from memory or streamed
// from the file) to its end and again after a seek, every envelope, and
// the act switch's reload of a referenced sound.

#include "foundation/uu/UUFile.h"
#include "foundation/uu/UUFileSystem.h"
#include "media/sound/MMSoundLoader.h"
#include "mm/resources/MMGlobalPulseTaskManagers.h"
#include "tests/fuzz/FuzzInputFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

const char* kFileName = "vplsound-fuzz-input.mma";
constexpr uint32_t kPiece = 1000;

// Reads on the calling thread: the manager's thread is never started, so
// a streamed source fills its ring when the reader waits.
AFPulseTaskManager& StreamingManager() {
  static AFPulseTaskManager manager;
  return manager;
}

// A read that waits and still gets nothing before the source's end is a
// stalled stream, which would keep a sound channel silent for ever: the
// fuzzer reports it as a crash.
void ReadToEnd(MMSoundSource& source) {
  uint8_t piece[kPiece];
  while (!source.AtEnd()) {
    if (source.Read(piece, kPiece, true) == 0) {
      std::fprintf(stderr, "the sound stream stalled at byte %d\n", source.GetPosition());
      std::abort();
    }
  }
}

void ReadEverySound(MMSoundLoader& loader) {
  for (int16_t item = 0; item < loader.GetItemCount(); ++item) {
    volatile int64_t sink = int64_t{loader.GetDuration(item)} + loader.GetSize(item) +
                            loader.GetFormat(item).mBits + loader.GetItemLayout(item).mHeadBytes;
    (void)sink;
    if (std::unique_ptr<MMSoundSource> source{loader.CreateSoundSource(item)}) {
      ReadToEnd(*source);
      source->Seek(loader.GetSize(item) / 3);
      ReadToEnd(*source);
    }
    const MMSoundEnvelope envelope = loader.ReadEnvelope(item);
    for (int32_t time = -40; time <= 40 * envelope.GetCount(); time += 40) envelope.GetValue(time);
    loader.PurgeItem(item);
  }
}

void ReloadReferenced(MMSoundLoader& loader) {
  const MMResourceId id = MMMakeSoundId(&loader, 0);
  MMAddSoundReference(id);
  MMResourceCollection::PurgeAllUnreferenced();
  MMResourceCollection::ReloadAllReferenced();
  MMLoadSound(id);
  MMReleaseSoundReference(id);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const UUDirectory directory = WriteFuzzInputFile(kFileName, data, size);
  MMStreamingPulseTaskManager = &StreamingManager();
  if (MMSoundLoader* loader = MMOpenSoundResourceFile(directory, kFileName, true)) {
    ReadEverySound(*loader);
    ReloadReferenced(*loader);
    MMDestroySoundCollections();
  }
  return 0;
}
