#include "media/sound/MMSoundLoader.h"

#include "foundation/af/AFBufferedInputFromAsyncFile.h"
#include "foundation/uu/UUArrayBlock.h"
#include "foundation/uu/UUBufferedInputFromMemory.h"
#include "mm/resources/MMGlobalPulseTaskManagers.h"
#include "mm/resources/MMTimestamp.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int32_t kCounterBytes = 4;
constexpr int32_t kStreaming = -1;
constexpr int32_t kEnvelopeWord = 1;
// The streaming reader reads its ring in quarters.
constexpr int32_t kChunksPerRing = 4;

using ReleaseCallback =
    UUClassCallback1Parameter<MMSoundLoader, void (MMSoundLoader::*)(int16_t), int16_t>;

// Holds the file lock for its lifetime.
class FileLockHolder {
 public:
  explicit FileLockHolder(ALCriticalSection& lock) : mLock(lock) { mLock.Enter(); }
  ~FileLockHolder() { mLock.Leave(); }
  FileLockHolder(const FileLockHolder&) = delete;
  FileLockHolder& operator=(const FileLockHolder&) = delete;

 private:
  ALCriticalSection& mLock;
};

int32_t GetCounter(const uint8_t* block) {
  int32_t counter = 0;
  std::memcpy(&counter, block, sizeof counter);
  return counter;
}

void SetCounter(uint8_t* block, int32_t counter) { std::memcpy(block, &counter, sizeof counter); }

}  // namespace

MMSoundLoader::MMSoundLoader(const MMSoundOpenInfo& info)
    : MMSoundCollection(info.mCollectionNumber),
      mCache("sound resouce cache", info.mItemCount),
      mManager(info.mItemCount, mCache),
      mHelper(this, mCache),
      mFile(info.mFile),
      mItemCount(info.mItemCount) {}

MMSoundLoader::~MMSoundLoader() {
  mCache.FreeAll();
  mFile->Close(false);
  mFile->CloseIfOpen();
  delete mFile;
}

MMSoundItemLayout MMSoundLoader::GetItemLayout(int16_t item) const {
  MMSoundItemLayout layout;
  layout.mEnvelopeBytes = mFile->GetEnvelopeSize(item);
  layout.mDataBytes = mFile->GetSubfileSize(item) - layout.mEnvelopeBytes;
  layout.mHeadBytes = layout.mDataBytes;
  if (mFile->GetStreamMode(item) != 0) {
    layout.mCounterBytes = kCounterBytes;
    // A divisor of 0 would divide by zero: such a sound streams behind a
    // head of the whole device buffer, as with a divisor of 1.
    const int32_t divisor = std::max(mFile->GetHeadDivisor(item), 1);
    const int32_t head = MMSoundBufferBytes(mFile->GetSoundFormat(item)) / divisor;
    layout.mHeadBytes = std::min(head, layout.mDataBytes);
  }
  return layout;
}

bool MMSoundLoader::AllocateItem(int16_t item) {
  if (!mCache.Allocate(item, static_cast<uint32_t>(GetItemLayout(item).GetBlockBytes()))) {
    return false;
  }
  if (mCache.Lock(item)) return true;
  mCache.Free(item);
  return false;
}

bool MMSoundLoader::ReadStored(int16_t item, int32_t offset, uint8_t* destination, int32_t n) {
  if (n == 0) return true;
  UURecoverableCDFile& file = mFile->GetFile();
  FileLockHolder hold(mFileLock);
  const bool read = file.Seek(mFile->GetSubfileOffset(item) + offset, kUUSeekFromStart, nullptr) &&
                    file.Read(destination, static_cast<uint32_t>(n));
  // The stream is shared: a failure here must not stop the other readers.
  if (!read) file.SetError(kUUNoError);
  return read;
}

bool MMSoundLoader::ReadItem(int16_t item) {
  const MMSoundItemLayout layout = GetItemLayout(item);
  uint8_t* block = GetBlock(item);
  if (layout.mCounterBytes != 0) SetCounter(block, 0);
  uint8_t* head = block + layout.mCounterBytes;
  // The envelope leads the subfile; the head is the start of the data.
  return ReadStored(item, 0, head + layout.mHeadBytes, layout.mEnvelopeBytes) &&
         ReadStored(item, layout.mEnvelopeBytes, head, layout.mHeadBytes);
}

bool MMSoundLoader::LockLoading(int16_t item) {
  if (mCache.Lock(item)) return true;
  mCache.Free(item);
  if (!AllocateItem(item)) return false;
  if (ReadItem(item)) return true;
  mCache.Unlock(item);
  mCache.Free(item);
  return false;
}

void MMSoundLoader::LoadItem(int16_t item) {
  if (IsItem(item) && LockLoading(item)) mCache.Unlock(item);
}

bool MMSoundLoader::LoadAndLockItem(int16_t item) { return IsItem(item) && LockLoading(item); }

void MMSoundLoader::PurgeItem(int16_t item) {
  if (IsItem(item)) mCache.Purge(item);
}

int32_t MMSoundLoader::GetSourceCount(int16_t item) {
  if (!IsItem(item) || GetItemLayout(item).mCounterBytes == 0 || !mCache.Lock(item)) return 0;
  const int32_t counter = GetCounter(GetBlock(item));
  mCache.Unlock(item);
  return counter;
}

UUBufferedInput* MMSoundLoader::ShareBlock(const MMSoundItemLayout& layout, uint8_t* block) {
  if (layout.mCounterBytes != 0) SetCounter(block, GetCounter(block) + 1);
  return new UUBufferedInputFromMemory(block + layout.mCounterBytes, layout.mHeadBytes);
}

UUBufferedInput* MMSoundLoader::StreamFromFile(int16_t item, const MMSoundItemLayout& layout,
                                               uint8_t* block) {
  AFPulseTaskManager* manager = MMGetStreamingPulseTaskManager();
  if (manager == nullptr || GetCounter(block) == kStreaming) return nullptr;
  // From now on the head is the reader's ring: the block goes with the
  // source.
  SetCounter(block, kStreaming);
  const int32_t start = mFile->GetSubfileOffset(item) + layout.mEnvelopeBytes;
  return new AFBufferedInputFromAsyncFile(*manager, block + layout.mCounterBytes, layout.mHeadBytes,
                                          layout.mHeadBytes / kChunksPerRing, mFile->GetFile(),
                                          start, layout.mDataBytes, mFileLock, true);
}

UUInputStream* MMSoundLoader::MakeInput(int16_t item, UUBufferedInput* bytes) {
  if (mFile->GetCodec(item) != 0) {
    return new UUSoundBytesUncompressFromBufferedInput(bytes, mFile->IsStereo(item) != 0 ? 2 : 1);
  }
  if (mFile->Is16Bit(item) != 0 && mFile->IsSwapped()) {
    return new UUSwapWordsFromBufferedInput(bytes);
  }
  return new UUInputFromBufferedInput(bytes);
}

MMSoundSource* MMSoundLoader::CreateSoundSource(int16_t item) {
  if (!IsItem(item) || !LockLoading(item)) return nullptr;
  const MMSoundItemLayout layout = GetItemLayout(item);
  uint8_t* block = GetBlock(item);
  UUBufferedInput* bytes = layout.mHeadBytes == layout.mDataBytes
                               ? ShareBlock(layout, block)
                               : StreamFromFile(item, layout, block);
  if (bytes == nullptr) {
    mCache.Unlock(item);
    return nullptr;
  }
  return new MMLoaderSoundSource(GetFormat(item), MakeInput(item, bytes),
                                 new ReleaseCallback(this, &MMSoundLoader::ReleaseSource, item));
}

void MMSoundLoader::ReleaseSource(int16_t item) {
  const MMSoundItemLayout layout = GetItemLayout(item);
  bool free = false;
  if (layout.mCounterBytes != 0) {
    uint8_t* block = GetBlock(item);
    const int32_t counter = GetCounter(block);
    // A streamed head was overwritten by the stream: read it again next time.
    if (counter > 0) {
      SetCounter(block, counter - 1);
    } else {
      free = true;
    }
  }
  mCache.Unlock(item);
  if (free) mCache.Free(item);
}

MMSoundEnvelope MMSoundLoader::ReadEnvelope(int16_t item) {
  if (!IsItem(item) || !HasEnvelope(item)) return MMSoundEnvelope();
  const MMSoundItemLayout layout = GetItemLayout(item);
  if (layout.mEnvelopeBytes == 0) return MMSoundEnvelope();
  auto* values = static_cast<int8_t*>(UUAllocateArrayBlock(
      static_cast<size_t>(layout.mEnvelopeBytes), ALGlobalAllocator, kALMayFail));
  if (values == nullptr) return MMSoundEnvelope();
  bool read = false;
  if (LockLoading(item)) {
    std::memcpy(values, GetBlock(item) + layout.mCounterBytes + layout.mHeadBytes,
                static_cast<size_t>(layout.mEnvelopeBytes));
    mCache.Unlock(item);
    read = true;
  } else {
    read = ReadStored(item, 0, reinterpret_cast<uint8_t*>(values), layout.mEnvelopeBytes);
  }
  if (!read) {
    UUFreeArrayBlock(values);
    return MMSoundEnvelope();
  }
  return MMSoundEnvelope(values, layout.mEnvelopeBytes, kEnvelopeWord);
}

bool MMOpenSoundResourceFileInfo(const UUDirectory& directory, const char* name, bool keepNames,
                                 MMSoundOpenInfo* info) {
  auto* file = new (ALGlobalAllocator) MMSoundResourceFile();
  if (!file->Open(directory, name, keepNames, false)) {
    file->CloseIfOpen();
    delete file;
    return false;
  }
  MMCheckTimestamp(file->GetKindCode(), file->GetCollectionNumber(), file->GetStamp1(),
                   file->GetStamp2());
  info->mFile = file;
  info->mItemCount = file->GetSubfileCount();
  info->mCollectionNumber = static_cast<uint16_t>(file->GetCollectionNumber());
  return true;
}

MMSoundLoader* MMOpenSoundResourceFile(const UUDirectory& directory, const char* name,
                                       bool keepNames) {
  MMSoundOpenInfo info;
  if (!MMOpenSoundResourceFileInfo(directory, name, keepNames, &info)) return nullptr;
  return new (ALGlobalAllocator) MMSoundLoader(info);
}
