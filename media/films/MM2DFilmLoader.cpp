#include "media/films/MM2DFilmLoader.h"

#include "mm/drawing/MMImageDescription.h"
#include "mm/resources/MMGlobalPulseTaskManagers.h"
#include "mm/resources/MMTimestamp.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int32_t kInUseBytes = 4;
constexpr int32_t kRingGranule = 4096;
// The data rate counts 16 bytes a second; the lead time milliseconds.
constexpr int64_t kRateUnit = 16;
constexpr int64_t kMillisecondsPerSecond = 1000;
// The rate multiple of each rate code.
constexpr int32_t kRateMultiples[] = {1, 2, 4, 4};

using ClosingCallback =
    UUClassCallback1Parameter<MM2DFilmLoader, void (MM2DFilmLoader::*)(int16_t), int16_t>;

int32_t GetInUse(const uint8_t* block) {
  int32_t inUse = 0;
  std::memcpy(&inUse, block, sizeof inUse);
  return inUse;
}

void SetInUse(uint8_t* block, int32_t inUse) { std::memcpy(block, &inUse, sizeof inUse); }

}  // namespace

MM2DFilmLoader::MM2DFilmLoader(const MM2DFilmOpenInfo& info)
    : MM2DFilmCollection(info.mCollectionNumber),
      mCache("film resource cache", info.mFilmCount),
      mManager(info.mFilmCount, mCache),
      mHelper(this, mCache),
      mFile(info.mFile),
      mFilmCount(info.mFilmCount) {}

MM2DFilmLoader::~MM2DFilmLoader() {
  mCache.FreeAll();
  mFile->Close(false);
  mFile->CloseIfOpen();
  delete mFile;
}

int32_t MM2DFilmLoader::GetPixelFormat(int16_t film) {
  return mFile->IsPalettized(film) != 0 ? kMMFormat8 : kMMFormat32;
}

bool MM2DFilmLoader::HasPalette(int16_t film) {
  const int32_t index = mFile->GetPaletteIndex(film);
  return index >= 0 && index < mFile->GetPaletteCount();
}

const MMPalette& MM2DFilmLoader::GetPalette(int16_t film) {
  return mFile->GetPalette(mFile->GetPaletteIndex(film));
}

// The table's values are the file's: the sizes are computed wide and
// kept within what a ring can be.
int32_t MM2DFilmLoader::GetChunkSize(int16_t film) const {
  const int64_t bytes = int64_t{mFile->GetDataRate(film)} * mFile->GetSoundLeadTime(film) *
                        kRateUnit / kMillisecondsPerSecond;
  return static_cast<int32_t>(std::clamp<int64_t>(bytes, 0, INT32_MAX));
}

int32_t MM2DFilmLoader::GetPreloadBlockSize(int16_t film) const {
  const int64_t wanted =
      int64_t{std::max(mFile->GetPreloadSize(film), 0)} + GetChunkSize(film) + kRingGranule - 1;
  // A film with neither preload nor chunk still needs a ring to read
  // through.
  const int64_t rounded = std::max<int64_t>(wanted / kRingGranule * kRingGranule, kRingGranule);
  return static_cast<int32_t>(std::min<int64_t>(rounded, GetRegion(film).mSize));
}

MM2DFilmLoader::Region MM2DFilmLoader::GetRegion(int16_t film) const {
  Region region;
  if (!mFile->GetSubfileRange(film, &region.mOffset, &region.mSize)) region = Region();
  return region;
}

MM2DFilmSoundSource* MM2DFilmLoader::CreateSoundSource(int16_t film, int32_t track) {
  if (!IsFilm(film) || track < 0 || track >= GetSoundTrackCount(film)) return nullptr;
  MMSoundFormat format;
  format.mBits = static_cast<uint32_t>(kRateMultiples[mFile->GetSoundRateCode(film, track)]);
  if (mFile->IsSoundStereo(film, track) != 0) format.mBits |= MMSoundFormat::kStereo;
  if (mFile->IsSoundCompressed(film, track) != 0) {
    // The codes always expand to 16-bit samples.
    format.mBits |= MMSoundFormat::k16Bit;
    return new (ALGlobalAllocator)
        MM2DFilmSoundSourceSoundBytesUncompress(format, format.GetChannelCount());
  }
  if (mFile->IsSound16Bit(film, track) != 0) {
    format.mBits |= MMSoundFormat::k16Bit;
    return new (ALGlobalAllocator) MM2DFilmSoundSourceSwapWords(format);
  }
  return new (ALGlobalAllocator) MM2DFilmSoundSourceNormal(format);
}

bool MM2DFilmLoader::AllocatePreload(int16_t film) {
  const auto bytes = static_cast<uint32_t>(GetPreloadBlockSize(film) + kInUseBytes);
  if (!mCache.Allocate(film, bytes)) return false;
  if (mCache.Lock(film)) return true;
  mCache.Free(film);
  return false;
}

bool MM2DFilmLoader::ReadPreload(int16_t film) {
  UURecoverableCDFile& file = mFile->GetFile();
  uint8_t* block = GetBlock(film);
  ALCriticalSectionLock hold(mFileLock);
  SetInUse(block, 0);
  const bool read =
      file.Seek(GetRegion(film).mOffset, kUUSeekFromStart, nullptr) &&
      file.Read(block + kInUseBytes, static_cast<uint32_t>(GetPreloadBlockSize(film)));
  // The stream is shared: a failure here must not stop the streams.
  if (!read) file.SetError(kUUNoError);
  return read;
}

bool MM2DFilmLoader::EnsurePreloaded(int16_t film) {
  if (mCache.Lock(film)) return true;
  mCache.Free(film);
  if (!AllocatePreload(film)) return false;
  if (ReadPreload(film)) return true;
  mCache.Unlock(film);
  mCache.Free(film);
  return false;
}

void MM2DFilmLoader::LoadItem(int16_t film) {
  if (IsFilm(film) && EnsurePreloaded(film)) mCache.Unlock(film);
}

void MM2DFilmLoader::PurgeItem(int16_t film) {
  if (IsFilm(film)) mCache.Purge(film);
}

MM2DFilmStream* MM2DFilmLoader::OpenStream(int16_t film) {
  AFPulseTaskManager* manager = MMGetStreamingPulseTaskManager();
  // A film without data has nothing to stream.
  if (!IsFilm(film) || manager == nullptr || GetPreloadBlockSize(film) <= 0 ||
      !EnsurePreloaded(film)) {
    return nullptr;
  }
  uint8_t* block = GetBlock(film);
  if (GetInUse(block) != 0) {
    mCache.Unlock(film);
    return nullptr;
  }
  SetInUse(block, 1);
  const int32_t ring = GetPreloadBlockSize(film);
  const int32_t chunk = GetChunkSize(film);
  const Region region = GetRegion(film);
  // From here the block is the stream's ring, until the stream is deleted.
  return new (ALGlobalAllocator) MM2DFilmStream(
      *manager, block + kInUseBytes, ring, chunk > 0 ? chunk : ring, mFile->GetFile(),
      region.mOffset, region.mSize, mFileLock, true,
      new (ALGlobalAllocator) ClosingCallback(this, &MM2DFilmLoader::OnStreamClosed, film));
}

void MM2DFilmLoader::OnStreamClosed(int16_t film) {
  mCache.Unlock(film);
  mCache.Free(film);
}

bool MM2DOpenFilmResourceFileOnly(const UUDirectory& directory, const char* name, bool keepNames,
                                  MM2DFilmOpenInfo* info) {
  auto* file = new (ALGlobalAllocator) MM2DFilmResourceFile();
  if (!file->Open(directory, name, keepNames, false)) {
    file->CloseIfOpen();
    delete file;
    return false;
  }
  info->mFile = file;
  info->mCollectionNumber = static_cast<uint16_t>(file->GetCollectionNumber());
  info->mFilmCount = file->GetSubfileCount();
  return true;
}

MM2DFilmLoader* MM2DOpenFilmResourceFile(const UUDirectory& directory, const char* name,
                                         bool keepNames) {
  MM2DFilmOpenInfo info;
  if (!MM2DOpenFilmResourceFileOnly(directory, name, keepNames, &info)) return nullptr;
  MMCheckTimestamp(info.mFile->GetKindCode(), info.mFile->GetCollectionNumber(),
                   info.mFile->GetStamp1(), info.mFile->GetStamp2());
  return new (ALGlobalAllocator) MM2DFilmLoader(info);
}
