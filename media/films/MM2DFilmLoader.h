#pragma once
// The film collection over a film resource file. Each film's block in the
// "film resource cache" is its preload block:
//   [in use: int32] [the first R bytes of the film's data]
// so that a film starts at once. A stream takes the block over as its ring
// (in use 1) and keeps it locked until it is deleted; the block is then
// freed, for its bytes were overwritten by the read-ahead. A film has one
// stream at a time: another stream would share the ring, so it is refused.
//
// Chunk size C = data rate x lead time x 16 / 1000 bytes: each read-ahead
// step carries lead-time milliseconds of the film's data. Ring size
// R = (preload size + C + 4095) rounded down to 4096, at most the film's
// size.

#include "foundation/al/ALCriticalSection.h"
#include "foundation/uu/UUDirectory.h"
#include "media/films/MM2DFilmCollection.h"
#include "media/films/MM2DFilmResourceFile.h"
#include "mm/resources/MMResourceCache.h"
#include "mm/resources/MMStandardResourceHelper.h"

#include <cstdint>

// An open film file and what its loader is made from.
struct MM2DFilmOpenInfo {
  MM2DFilmResourceFile* mFile = nullptr;
  uint16_t mCollectionNumber = 0;
  int16_t mFilmCount = 0;
};

class MM2DFilmLoader : public MM2DFilmCollection {
 public:
  // Takes the open file over.
  explicit MM2DFilmLoader(const MM2DFilmOpenInfo& info);
  // Frees every block and closes the file; no stream may outlive it.
  ~MM2DFilmLoader() override;

  bool LoadReferenced() override { return mHelper.LoadReferenced(); }
  void EndLoadReferenced(bool success) override { mHelper.EndLoadReferenced(success); }
  void PurgeUnreferenced() override { mHelper.PurgeUnreferenced(); }

  // The film operations take a film of the file, 0 to the count - 1.
  int16_t GetFilmCount() const override { return mFilmCount; }
  int32_t GetPixelFormat(int16_t film) override;
  int32_t GetSubFormat(int16_t film) override { return mFile->GetSubFormat(film); }
  // Only a film that names one of the file's palettes has one.
  bool HasPalette(int16_t film) override;
  const MMPalette& GetPalette(int16_t film) override;
  const UURect& GetRectangle(int16_t film) override { return mFile->GetRectangle(film); }
  int32_t GetWorkBufferSize(int16_t film) override { return mFile->GetWorkBufferSize(film); }
  int32_t GetSoundTrackCount(int16_t film) override { return mFile->GetSoundTrackCount(film); }
  int32_t GetSoundLeadTime(int16_t film) override { return mFile->GetSoundLeadTime(film); }
  // Null for a track the film does not have.
  MM2DFilmSoundSource* CreateSoundSource(int16_t film, int32_t track) override;
  // Null when the film's block cannot be had or read, when another stream
  // of the film is open, or without a streaming pulse-task manager.
  MM2DFilmStream* OpenStream(int16_t film) override;
  MMReferenceManager* GetReferenceManager() override { return &mManager; }
  // Leaves the preload block in memory, unlocked.
  void LoadItem(int16_t film) override;
  void PurgeItem(int16_t film) override;

  int32_t GetChunkSize(int16_t film) const;
  int32_t GetPreloadBlockSize(int16_t film) const;
  // A locked block of R + 4 bytes.
  bool AllocatePreload(int16_t film);
  // The film's first R bytes read into its block, marked not in use.
  bool ReadPreload(int16_t film);
  // Gives the block of a closed stream back.
  void OnStreamClosed(int16_t film);

  MM2DFilmResourceFile* GetFile() const { return mFile; }
  MMResourceCache& GetCache() { return mCache; }

 private:
  // The act-switch passes call the preload operations.
  class PreloadHelper : public MMStandardResourceHelperBase {
   public:
    PreloadHelper(MM2DFilmLoader* loader, MMResourceCache& cache)
        : MMStandardResourceHelperBase(cache), mLoader(loader) {}
    bool AllocateItem(int16_t film) override { return mLoader->AllocatePreload(film); }
    bool ReadItem(int16_t film) override { return mLoader->ReadPreload(film); }

   private:
    MM2DFilmLoader* mLoader;
  };

  // Where a film's data lies in the file.
  struct Region {
    int32_t mOffset = 0;
    int32_t mSize = 0;
  };

  bool IsFilm(int16_t film) const { return film >= 0 && film < mFilmCount; }
  // An offset table that points outside the file gives the film no data.
  Region GetRegion(int16_t film) const;
  // Locks the block, reading it into a new one when it has none.
  bool EnsurePreloaded(int16_t film);
  uint8_t* GetBlock(int16_t film) { return static_cast<uint8_t*>(mCache.GetAddress(film)); }

  MMResourceCache mCache;
  MMStandardReferenceManager mManager;
  PreloadHelper mHelper;
  MM2DFilmResourceFile* mFile;
  int16_t mFilmCount;
  // Serialises every seek-and-read on the file: the preload reads and the
  // read-ahead of all of its streams.
  ALCriticalSection mFileLock;
};

// Opens a film file (without checking its checksum) and fills the info,
// the caller owning the file; false (with the error recorded) when it
// cannot be opened.
bool MM2DOpenFilmResourceFileOnly(const UUDirectory& directory, const char* name, bool keepNames,
                                  MM2DFilmOpenInfo* info);
// Opens a film file and makes its loader; null (with the error recorded)
// when it cannot be opened.
MM2DFilmLoader* MM2DOpenFilmResourceFile(const UUDirectory& directory, const char* name,
                                         bool keepNames);
