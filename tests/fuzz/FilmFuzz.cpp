// Opens the input as a film file and reads everything in it: the film
// table of every film, and every film's chunk stream with each picture
// chunk applied to a frame of the film's size and its work buffer, once
// chunk by chunk in memory and once through small windows, as the player
// reads its ring, so that values and runs straddle them. In memory, the
// sound chunks also go to the film's tracks, made by its loader, and are
// read out of them as a channel's refill reads them. The other chunks only
// set the player's state on the stage: the chunk reader checks their sizes.

#include "foundation/uu/UUFile.h"
#include "foundation/uu/UUFileSystem.h"
#include "media/films/MM2DFilmChunkReader.h"
#include "media/films/MM2DFilmFrameDecoder.h"
#include "media/films/MM2DFilmLoader.h"
#include "media/films/MM2DFilmResourceFile.h"
#include "media/films/MM2DFilmSoundSource.h"
#include "tests/fuzz/FuzzInputFile.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

const char* kFileName = "vplfilm-fuzz-input.mmf";
// Larger frames and buffers than this are not worth the fuzzer's memory.
constexpr int64_t kLargestBuffer = 1 << 22;

void ReadTable(MM2DFilmResourceFile& file, int16_t film) {
  // Summed in 64 bits: the fields may hold anything.
  volatile int64_t sink = 0;
  for (const int64_t value :
       {int64_t{file.IsPalettized(film)}, int64_t{file.GetSubFormat(film)},
        int64_t{file.GetFlagBit3(film)}, int64_t{file.GetPaletteKind(film)},
        int64_t{file.GetSoundTrackCount(film)}, int64_t{file.GetSoundLeadTime(film)},
        int64_t{file.GetPreloadSize(film)}, int64_t{file.GetDataRate(film)}}) {
    sink = sink + value;
  }
  for (int32_t track = 0; track < MM2DFilmResourceInfo::kTrackSlots; ++track) {
    sink = sink + file.GetSoundRateCode(film, track) + file.IsSound16Bit(film, track) +
           file.IsSoundStereo(film, track) + file.IsSoundCompressed(film, track);
  }
  const int32_t palette = file.GetPaletteIndex(film);
  if (palette >= 0 && palette < file.GetPaletteCount()) {
    sink = sink + file.GetPalette(palette).mEntries[255].mRed;
  }
  (void)sink;
}

std::vector<uint8_t> ReadSubfile(MM2DFilmResourceFile& file, int16_t film) {
  int32_t offset = 0;
  int32_t size = 0;
  if (!file.GetSubfileRange(film, &offset, &size)) return {};
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  UURecoverableCDFile& stream = file.GetFile();
  if (!stream.Seek(offset, kUUSeekFromStart, nullptr) ||
      !stream.Read(bytes.data(), static_cast<uint32_t>(size))) {
    return {};
  }
  return bytes;
}

// The bytes in windows of at most a few bytes.
class SplitSource : public MM2DFilmByteSource {
 public:
  SplitSource(const std::vector<uint8_t>& bytes, int32_t window) : mBytes(bytes), mWindow(window) {}
  int32_t Window(const uint8_t** bytes) override {
    *bytes = mBytes.data() + mPosition;
    const auto left = static_cast<int32_t>(mBytes.size()) - mPosition;
    return std::min(left, mWindow - mPosition % mWindow);
  }
  void Advance(int32_t n) override { mPosition += n; }

 private:
  const std::vector<uint8_t>& mBytes;
  int32_t mWindow;
  int32_t mPosition = 0;
};

// The film's sound tracks as the player makes them.
class Tracks {
 public:
  Tracks(MM2DFilmLoader& loader, int16_t film) {
    for (int32_t track = 0; track < loader.GetSoundTrackCount(film); ++track) {
      mSources.emplace_back(loader.CreateSoundSource(film, track));
    }
  }

  // Sound data lends its whole samples to the track for one read-out; a
  // sound end ends the track.
  void Apply(const MM2DFilmChunk& chunk) {
    MM2DFilmMemorySource payload(chunk.mPayload, chunk.mLength);
    uint32_t bytes = 0;
    if (chunk.mType == kMM2DFilmSoundData && payload.ReadBE32(&bytes)) {
      MM2DFilmSoundSource* source = ReadTrack(payload);
      uint32_t start = 0;
      if (source == nullptr || !payload.ReadBE32(&start)) return;
      constexpr int32_t kHeaderBytes = 12;
      // No more than the chunk's own 32-bit length holds.
      auto n = static_cast<int32_t>(std::min<int64_t>(bytes, chunk.mLength - kHeaderBytes));

      n -= n % source->GetUnitBytes();
      source->SetWindow(chunk.mPayload + kHeaderBytes, n);
      // An odd room, so that a sample may not fit at the end of a read.
      uint8_t out[1021];
      while (source->Read(out, sizeof out, false) > 0) {
      }
      source->ClearWindow();
    } else if (chunk.mType == kMM2DFilmSoundEnd) {
      if (MM2DFilmSoundSource* source = ReadTrack(payload)) source->SetAtEnd();
    }
  }

 private:
  MM2DFilmSoundSource* ReadTrack(MM2DFilmByteSource& payload) {
    uint32_t track = 0;
    if (!payload.ReadBE32(&track) || track >= mSources.size()) return nullptr;
    return mSources[track].get();
  }

  std::vector<std::unique_ptr<MM2DFilmSoundSource>> mSources;
};

// Reads chunks as the player does: picture chunks decoded, the rest
// passed over by their length.
void DecodeThroughWindows(const std::vector<uint8_t>& stream, MM2DFilmFrameDecoder& decoder) {
  constexpr int32_t kWindow = 61;
  SplitSource source(stream, kWindow);
  uint32_t type = 0;
  uint32_t length = 0;
  while (source.ReadBE32(&type) && source.ReadBE32(&length)) {
    const auto size = static_cast<int32_t>(std::min<uint32_t>(length, INT32_MAX));
    if (MM2DFilmFrameDecoder::IsPicture(type)) {
      decoder.Decode(type, size, source, nullptr);
    } else if (!source.Skip(size)) {
      return;
    }
  }
}

void DecodeFilm(MM2DFilmLoader& loader, int16_t film) {
  MM2DFilmResourceFile& file = *loader.GetFile();
  const UURect& rect = file.GetRectangle(film);
  const int32_t bytesPerPixel = file.IsPalettized(film) != 0 ? 1 : 4;
  const int64_t pitch = (int64_t{rect.GetWidth()} * bytesPerPixel + 3) / 4 * 4;
  const int64_t frameBytes = pitch * rect.GetHeight();
  const int64_t workBytes = file.GetWorkBufferSize(film);
  if (rect.IsEmpty() || frameBytes > kLargestBuffer || workBytes < 0 ||
      workBytes > kLargestBuffer) {
    return;
  }
  const std::vector<uint8_t> stream = ReadSubfile(file, film);
  std::vector<uint8_t> frame(static_cast<size_t>(frameBytes));
  std::vector<uint8_t> work(static_cast<size_t>(workBytes));
  MM2DFilmFrameDecoder decoder(frame.data(), rect.GetHeight(), static_cast<int32_t>(pitch),
                               bytesPerPixel, work.data(), static_cast<int32_t>(workBytes));
  MM2DFilmChunkReader reader(stream.data(), static_cast<int32_t>(stream.size()));
  MM2DFilmChunk chunk;
  MM2DFilmDirtyRect dirty[kMM2DFilmDirtyRectCount];
  Tracks tracks(loader, film);
  while (reader.Next(chunk)) {
    decoder.Apply(chunk, dirty);
    tracks.Apply(chunk);
  }
  DecodeThroughWindows(stream, decoder);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const UUDirectory directory = WriteFuzzInputFile(kFileName, data, size);
  MM2DFilmOpenInfo info;
  if (!MM2DOpenFilmResourceFileOnly(directory, kFileName, true, &info)) return 0;
  MM2DFilmLoader loader(info);
  for (int16_t film = 0; film < loader.GetFilmCount(); ++film) {
    ReadTable(*loader.GetFile(), film);
    DecodeFilm(loader, film);
  }
  return 0;
}
