#include "tools/databuilder/check/FilmChecks.h"

#include "foundation/uu/UUDirectory.h"
#include "media/films/MM2DFilmChunkReader.h"
#include "media/films/MM2DFilmFrameDecoder.h"
#include "media/films/MM2DFilmResourceFile.h"
#include "platform/win32/PathMapping.h"
#include "tools/databuilder/FilmStage.h"
#include "tools/databuilder/SoundStage.h"
#include "tools/databuilder/check/SoundChecks.h"

#include <algorithm>
#include <string>

namespace content_check {

namespace {

using databuilder::kFilmFramesPerSecond;
using databuilder::kFilmHeight;
using databuilder::kFilmWidth;

constexpr char kFilmFile[] = "vpl3d.MMF";
constexpr int32_t kBytesPerPixel = 4;
// A sound data chunk's fields before its samples: length, track, start.
constexpr int32_t kSoundFields = 12;
constexpr double kFilmSeconds = 6.0;

std::string Named(int16_t film, const std::string& what) {
  return std::string(kFilmFile) + " film " + std::to_string(film) + ": " + what;
}

struct OpenFilm {
  MM2DFilmResourceFile mFile;
  std::vector<uint8_t> mChunks;
};

bool ReadFilm(const std::filesystem::path& folder, int16_t film, OpenFilm& open) {
  const UUDirectory directory(
      vpl::platform::ToWindowsPath(std::filesystem::absolute(folder)).c_str());
  int32_t offset = 0, size = 0;
  if (!open.mFile.Open(directory, kFilmFile, false, true) || film >= open.mFile.GetSubfileCount() ||
      !open.mFile.GetSubfileRange(film, &offset, &size) || size <= 0) {
    return false;
  }
  open.mChunks.resize(static_cast<size_t>(size));
  return open.mFile.GetFile().Seek(offset, kUUSeekFromStart, nullptr) &&
         open.mFile.GetFile().Read(open.mChunks.data(), static_cast<uint32_t>(size));
}

void CheckTable(const MM2DFilmResourceFile& file, int16_t film, DecodedFilm& decoded) {
  const UURect& rect = file.GetRectangle(film);
  if (rect.mLeft != 0 || rect.mTop != 0 || rect.mRight != kFilmWidth ||
      rect.mBottom != kFilmHeight) {
    decoded.mFindings.push_back(Named(film, "must cover (0, 0, 800, 600)"));
  }
  if (file.IsPalettized(film) != 0 || file.GetSoundTrackCount(film) != 1 ||
      file.GetSoundRateCode(film, 0) != 1 || file.IsSound16Bit(film, 0) != 1 ||
      file.IsSoundStereo(film, 0) != 0 || file.GetSoundLeadTime(film) != 250) {
    decoded.mFindings.push_back(
        Named(film, "must be 32-bit with one 22050 Hz 16-bit mono track led by 250 ms"));
  }
}

// The chunk's 16-bit big-endian samples, as many as its declared length
// and its payload both hold.
void AppendSamples(const MM2DFilmChunk& chunk, std::vector<int16_t>& samples) {
  const int64_t declared = MMReadBigEndian32(chunk.mPayload);
  const int64_t bytes = std::min<int64_t>(declared, chunk.mLength - kSoundFields);
  for (int64_t i = 0; i + 1 < bytes; i += 2) {
    samples.push_back(MMReadBigEndian16(chunk.mPayload + kSoundFields + i));
  }
}

void DecodeChunks(const OpenFilm& open, int16_t film, DecodedFilm& decoded) {
  const int32_t workSize = open.mFile.GetWorkBufferSize(film);
  std::vector<uint8_t> work(static_cast<size_t>(std::max(workSize, 0)));
  std::vector<uint8_t> frame(static_cast<size_t>(kFilmWidth * kFilmHeight * kBytesPerPixel));
  MM2DFilmFrameDecoder decoder(frame.data(), kFilmHeight, kFilmWidth * kBytesPerPixel,
                               kBytesPerPixel, work.empty() ? nullptr : work.data(), workSize);
  MM2DFilmChunkReader reader(open.mChunks.data(), static_cast<int32_t>(open.mChunks.size()));
  MM2DFilmChunk chunk;
  bool ended = false;
  while (!ended && reader.Next(chunk)) {
    if (MM2DFilmFrameDecoder::IsPicture(chunk.mType)) {
      if (!decoder.Apply(chunk, nullptr)) {
        decoded.mFindings.push_back(Named(film, "a picture chunk does not decode"));
        return;
      }
    } else if (chunk.mType == kMM2DFilmSoundData && chunk.mLength >= kSoundFields) {
      decoded.mSoundBytes += MMReadBigEndian32(chunk.mPayload);
      AppendSamples(chunk, decoded.mSound);
    } else if (chunk.mType == kMM2DFilmFrameTime || chunk.mType == kMM2DFilmEnd) {
      decoded.mFrameHashes.push_back(HashFrame(frame));
      ended = chunk.mType == kMM2DFilmEnd;
    }
  }
  if (reader.IsDamaged() || !ended) {
    decoded.mFindings.push_back(Named(film, "its chunks are damaged or never end"));
  }
}

}  // namespace

uint64_t HashFrame(const std::vector<uint8_t>& pixels) {
  uint64_t hash = 14695981039346656037ull;
  for (uint8_t byte : pixels) hash = (hash ^ byte) * 1099511628211ull;
  return hash;
}

DecodedFilm DecodeFilm(const std::filesystem::path& folder, int16_t film) {
  DecodedFilm decoded;
  OpenFilm open;
  if (!ReadFilm(folder, film, open)) {
    decoded.mFindings.push_back(Named(film, "cannot be read"));
    return decoded;
  }
  CheckTable(open.mFile, film, decoded);
  DecodeChunks(open, film, decoded);
  return decoded;
}

Findings CheckFilms(const std::filesystem::path& folder) {
  Findings findings;
  const auto frames = static_cast<size_t>(kFilmSeconds * kFilmFramesPerSecond);
  const auto soundBytes = static_cast<int64_t>(kFilmSeconds * databuilder::kSoundRate * 2);
  const int64_t frameBytes = databuilder::kSoundRate * 2 / kFilmFramesPerSecond;
  const std::vector<std::vector<int16_t>> jingles = ReadJingles(folder);
  for (int16_t film = 0; film < 2; ++film) {
    const DecodedFilm decoded = DecodeFilm(folder, film);
    findings.insert(findings.end(), decoded.mFindings.begin(), decoded.mFindings.end());
    if (decoded.mFrameHashes.size() != frames) {
      findings.push_back(Named(film, "must have " + std::to_string(frames) + " frames"));
    }
    if (std::abs(decoded.mSoundBytes - soundBytes) > frameBytes) {
      findings.push_back(Named(film, "its sound must last the film within a frame"));
    }
    const Findings loudness = CheckLoudness(decoded.mSound, jingles, Named(film, "its sound"));
    findings.insert(findings.end(), loudness.begin(), loudness.end());
  }
  return findings;
}

}  // namespace content_check
