#pragma once
// The sound collection over a sound resource file. Each sound's bytes live
// in one block of the "sound resouce cache":
//   [counter: int32, streamed-mode sounds only] [head] [envelope]
// A sound held whole in memory has all its data as the head, and every
// source plays from the block. A streamed sound keeps only a head; its one
// source at a time reads the rest from the file on the streaming pulse
// thread, using the head's bytes as its ring. The counter holds the number
// of sources playing from the block, or -1 while one streams.

#include "foundation/al/ALCriticalSection.h"
#include "foundation/uu/UUBufferedInput.h"
#include "foundation/uu/UUDirectory.h"
#include "media/sound/MMSoundCollection.h"
#include "media/sound/MMSoundResourceFile.h"
#include "mm/resources/MMResourceCache.h"
#include "mm/resources/MMStandardResourceHelper.h"

#include <cstdint>

// An open sound file and what its loader is made from.
struct MMSoundOpenInfo {
  MMSoundResourceFile* mFile = nullptr;
  int16_t mItemCount = 0;
  uint16_t mCollectionNumber = 0;
};

// Where one sound's parts lie, in bytes.
struct MMSoundItemLayout {
  int32_t mCounterBytes = 0;  // 4 for a sound whose stream mode is not 0
  int32_t mHeadBytes = 0;     // the data held in the block
  int32_t mDataBytes = 0;     // the stored sound data: PCM or code bytes
  int32_t mEnvelopeBytes = 0;

  int32_t GetBlockBytes() const { return mCounterBytes + mHeadBytes + mEnvelopeBytes; }
};

class MMSoundLoader : public MMSoundCollection {
 public:
  // Takes the open file over.
  explicit MMSoundLoader(const MMSoundOpenInfo& info);
  // Frees every block and closes the file; no source may outlive it.
  ~MMSoundLoader() override;

  int16_t GetItemCount() const override { return mItemCount; }
  bool LoadReferenced() override { return mHelper.LoadReferenced(); }
  void EndLoadReferenced(bool success) override { mHelper.EndLoadReferenced(success); }
  void PurgeUnreferenced() override { mHelper.PurgeUnreferenced(); }

  // Every item operation ignores an item outside the file (0, null or
  // empty answers).
  MMSoundFormat GetFormat(int16_t item) override { return mFile->GetSoundFormat(item); }
  int32_t GetDuration(int16_t item) override { return mFile->GetDuration(item); }
  int32_t GetSize(int16_t item) override { return mFile->GetDataSize(item); }
  // Null when there is no memory for the sound, its bytes cannot be read,
  // or another source already streams it.
  MMSoundSource* CreateSoundSource(int16_t item) override;
  bool HasEnvelope(int16_t item) override { return mFile->GetEnvelopeMode(item) != 0; }
  MMSoundEnvelope ReadEnvelope(int16_t item) override;
  MMReferenceManager* GetReferenceManager() override { return &mManager; }
  // Leaves the sound in memory, unlocked.
  void LoadItem(int16_t item) override;
  void PurgeItem(int16_t item) override;

  MMSoundItemLayout GetItemLayout(int16_t item) const;
  // Leaves the sound in memory and locked; false when it cannot.
  bool LoadAndLockItem(int16_t item);
  void UnlockItem(int16_t item) { mCache.Unlock(item); }
  // The counter of a streamed-mode sound in memory.
  int32_t GetSourceCount(int16_t item);

  // The reload machinery's operations: a locked block of the item's size,
  // and the item's envelope and head read into it.
  bool AllocateItem(int16_t item);
  bool ReadItem(int16_t item);
  // Called back when a source of the item goes.
  void ReleaseSource(int16_t item);

  MMSoundResourceFile* GetFile() const { return mFile; }
  MMResourceCache& GetCache() { return mCache; }

 private:
  bool IsItem(int16_t item) const { return item >= 0 && item < mItemCount; }
  // Locks the item, reading it into a new block when it has none.
  bool LockLoading(int16_t item);
  uint8_t* GetBlock(int16_t item) { return static_cast<uint8_t*>(mCache.GetAddress(item)); }
  // Reads n bytes at offset into the sound's subfile under the file lock.
  bool ReadStored(int16_t item, int32_t offset, uint8_t* destination, int32_t n);
  // The bytes of a source: the block itself, or a ring streamed from the
  // file; null when the sound cannot have another source now.
  UUBufferedInput* ShareBlock(const MMSoundItemLayout& layout, uint8_t* block);
  UUBufferedInput* StreamFromFile(int16_t item, const MMSoundItemLayout& layout, uint8_t* block);
  // The adapter that turns the stored bytes into PCM.
  UUInputStream* MakeInput(int16_t item, UUBufferedInput* bytes);

  MMResourceCache mCache;
  MMStandardReferenceManager mManager;
  MMStandardResourceHelper<MMSoundLoader> mHelper;
  MMSoundResourceFile* mFile;
  int16_t mItemCount;
  // Serialises every seek-and-read on the file: the loader's own and its
  // streaming readers'.
  ALCriticalSection mFileLock;
};

// Opens a sound file (without checking its checksum) and fills the info,
// the caller owning the file; false (with the error recorded) when it
// cannot be opened.
bool MMOpenSoundResourceFileInfo(const UUDirectory& directory, const char* name, bool keepNames,
                                 MMSoundOpenInfo* info);
// Opens a sound file and makes its loader; null (with the error recorded)
// when it cannot be opened.
MMSoundLoader* MMOpenSoundResourceFile(const UUDirectory& directory, const char* name,
                                       bool keepNames);
