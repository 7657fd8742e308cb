// Writes the film fuzzer's seed corpus with the system's writers: a file of
// an 8-bit and a 32-bit film whose chunk streams hold every chunk type, and
// whose two sound tracks are of every kind between them.

#include "foundation/uu/UUDirectory.h"
#include "media/films/MM2DFilmChunkWriter.h"
#include "media/films/MM2DFilmResourceFile.h"

#include <cstdio>
#include <vector>

namespace {

constexpr int32_t kWidth = 12;
constexpr int32_t kHeight = 6;
constexpr int32_t kWorkBytes = 8192;

std::vector<uint8_t> Pattern(int32_t n, int32_t seed) {
  std::vector<uint8_t> bytes(static_cast<size_t>(n));
  for (int32_t k = 0; k < n; ++k) bytes[static_cast<size_t>(k)] = static_cast<uint8_t>(k * seed);
  return bytes;
}

std::vector<uint8_t> FilmStream(int32_t bytesPerPixel) {
  const int32_t size = kWidth * bytesPerPixel * kHeight;
  const std::vector<uint8_t> first = Pattern(size, 3);
  std::vector<uint8_t> second = first;
  for (int32_t k = 10; k < size; k += 17) second[static_cast<size_t>(k)] ^= 0x3C;
  const MM2DFilmDirtyRect dirty[kMM2DFilmDirtyRectCount] = {{0, 0, kHeight, kWidth}};
  const uint8_t fill[4] = {1, 2, 3, 4};
  MM2DFilmDeltaOps ops(bytesPerPixel);
  ops.AddFill(8, -12, fill);
  MM2DFilmChunkWriter writer(bytesPerPixel);
  writer.RawFrame(first.data(), size);
  writer.SoundData(0, 0, first.data(), 64);
  writer.SoundData(1, 1, second.data(), 33);
  writer.FrameTime(66);
  writer.DeltaFrame(dirty,
                    MM2DFilmDeltaOps::Encode(first.data(), second.data(), size, bytesPerPixel));
  writer.Cue(3);
  writer.Time(133);
  writer.CompressedFrame(first.data(), size);
  writer.Rectangle(dirty[0]);
  writer.FrameTime(200);
  writer.CompressedDeltaFrame(dirty, ops);
  writer.SoundEnd(0);
  writer.Hold();
  writer.End();
  return writer.GetBytes();
}

bool Describe(MM2DFilmResourceFile& file) {
  bool good = file.AddPalettes(1) && file.SetPaletteKind(0, 2, 0) && file.SetPalettized(0, 1);
  for (int16_t film = 0; film < 2; ++film) {
    good = good && file.SetRectangle(film, UURect(0, 0, kWidth, kHeight)) &&
           file.SetWorkBufferSize(film, kWorkBytes) && file.SetSoundTrackCount(film, 2) &&
           file.SetSoundLeadTime(film, 200) && file.SetSubfileName(film, "film");
  }
  // Track 1 of both is plain 8-bit sound.
  good = good && file.SetSoundCompressed(0, 0, 1) && file.SetSoundStereo(0, 0, 1) &&
         file.SetSound16Bit(1, 0, 1) && file.SetSoundRateCode(1, 0, 2);
  return good && file.RewriteHeader();
}

bool AppendFilm(MM2DFilmResourceFile& file, int16_t film, const std::vector<uint8_t>& stream) {
  UURecoverableCDFile& out = file.GetFile();
  int32_t position = 0;
  out.Seek(0, kUUSeekFromEnd, &position);
  return file.SetSubfileOffset(film, position) &&
         out.Write(stream.data(), static_cast<uint32_t>(stream.size()));
}

bool WriteFilms(const UUDirectory& directory, const char* name) {
  MM2DFilmResourceFile file;
  if (!file.Create(directory, name, UUFileOptions(), 2, 3)) return false;
  const bool written = Describe(file) && AppendFilm(file, 0, FilmStream(1)) &&
                       AppendFilm(file, 1, FilmStream(4)) && file.RecordEndOffset();
  return file.Close(written) && written;
}

}  // namespace

int main(int argumentCount, char** arguments) {
  if (argumentCount != 2) {
    std::fprintf(stderr, "usage: %s <Windows path of the corpus directory>\n", arguments[0]);
    return 2;
  }
  return WriteFilms(UUDirectory(arguments[1]), "films.mmf") ? 0 : 1;
}
