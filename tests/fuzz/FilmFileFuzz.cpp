// Opens the input as a film file and reads everything in it: the film
// table of every film, and every film's chunk stream with each picture
// chunk applied to a frame of the film's size and its work buffer, once
// chunk by chunk in memory and once through small windows, as the player
// reads its ring, so that values and runs straddle them.

#include "foundation/uu/UUFile.h"
#include "foundation/uu/UUFileSystem.h"
#include "media/films/MM2DFilmChunkReader.h"
#include "media/films/MM2DFilmFrameDecoder.h"
#include "media/films/MM2DFilmResourceFile.h"
#include "tests/fuzz/FuzzInputFile.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

namespace {

const char* kFileName = "vplfilm-fuzz-input.mmf";
// Larger frames and buffers than this are not worth the fuzzer's memory.
constexpr int64_t kLargestBuffer = 1 << 22;

void ReadTable(MM2DFilmResourceFile& file, int16_t film) {
  volatile int64_t sink = file.IsPalettized(film) + file.GetSubFormat(film) +
                          file.GetFlagBit3(film) + file.GetPaletteKind(film) +
                          file.GetSoundTrackCount(film) + file.GetSoundLeadTime(film) +
                          file.GetPreloadSize(film) + file.GetDataRate(film);
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

void DecodeFilm(MM2DFilmResourceFile& file, int16_t film) {
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
  while (reader.Next(chunk)) decoder.Apply(chunk, dirty);
  DecodeThroughWindows(stream, decoder);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const UUDirectory directory = WriteFuzzInputFile(kFileName, data, size);
  MM2DFilmResourceFile file;
  if (!file.Open(directory, kFileName, true, false)) return 0;
  for (int16_t film = 0; film < file.GetSubfileCount(); ++film) {
    ReadTable(file, film);
    DecodeFilm(file, film);
  }
  file.Close(false);
  return 0;
}
