#include "foundation/af/AFBufferedInputFromAsyncFile.h"

#include <algorithm>
#include <climits>

namespace {

constexpr int32_t kFullRingDelay = 250;
// What ReadChunk answers while another thread reads into the ring, and
// when the pulse task comes back then.
constexpr int32_t kAnotherFills = -1;
constexpr int32_t kAnotherFillsDelay = 1;

}  // namespace

AFBufferedInputFromAsyncFile::AFBufferedInputFromAsyncFile(
    AFPulseTaskManager& manager, uint8_t* ring, int32_t ringSize, int32_t chunkSize,
    UURandomAccessStream& stream, int32_t regionStart, int32_t regionLength,
    ALCriticalSection& fileLock, bool prefilled)
    : mManager(manager),
      mRing(ring),
      mRingSize(std::max(ringSize, 1)),
      mChunkSize(std::max(chunkSize, 1)),
      mRefillMark(std::max(std::min(mChunkSize, mRingSize / 2), 1)),
      mStream(stream),
      mRegionStart(regionStart),
      mRegionLength(std::max(regionLength, 0)),
      mFileLock(fileLock) {
  if (prefilled) mFilledPosition.store(std::min(mRingSize, mRegionLength.load()));
  mManager.AddTask(this);
}

AFBufferedInputFromAsyncFile::~AFBufferedInputFromAsyncFile() {
  if (GetManager() != nullptr) Stop();
}

bool AFBufferedInputFromAsyncFile::AtEnd() {
  return mReadPosition.load(std::memory_order_relaxed) >=
         mRegionLength.load(std::memory_order_acquire);
}

int32_t AFBufferedInputFromAsyncFile::ReadAt(int32_t position, uint8_t* bytes, int32_t n) {
  if (!mStream.Seek(position, kUUSeekFromStart, nullptr)) return 0;
  if (mStream.Read(bytes, static_cast<uint32_t>(n))) return n;
  // A failed read may still have delivered the bytes before the failure:
  // the stream's position tells how many.
  const UUStreamError error = mStream.GetError();
  mStream.SetError(kUUNoError);
  int32_t reached = -1;
  const bool known = mStream.Tell(&reached);
  mStream.SetError(error);
  return known ? std::clamp(reached - position, 0, n) : 0;
}

int32_t AFBufferedInputFromAsyncFile::ReadFromFile(int32_t position, uint8_t* bytes, int32_t n,
                                                   UUStreamError* error) {
  ALCriticalSectionLock lock(mFileLock);
  // An error another reader left on the shared stream is that reader's: it
  // is set aside for this read and left as it was.
  const UUStreamError others = mStream.GetError();
  mStream.SetError(kUUNoError);
  const int32_t got = ReadAt(position, bytes, n);
  *error = mStream.GetError();
  mStream.SetError(others);
  return got;
}

int32_t AFBufferedInputFromAsyncFile::ReadChunk(int32_t limit) {
  mLock.Enter();
  if (mFilling) {
    mLock.Leave();
    return kAnotherFills;
  }
  const int32_t read = mReadPosition.load();
  const int32_t filled = mFilledPosition.load();
  const int32_t length = mRegionLength.load();
  const int32_t offset = filled % mRingSize;
  const int32_t n =
      std::min({read + mRingSize - filled, length - filled, mRingSize - offset, limit});
  if (n <= 0) {
    mLock.Leave();
    return 0;
  }
  // The room from filled on is this reader's until it hands the bytes
  // over: the consumer reads only before filled, and a second filler waits.
  mFilling = true;
  const int32_t resets = mResets;
  mLock.Leave();
  UUStreamError error = kUUNoError;
  const int32_t got = ReadFromFile(mRegionStart + filled, mRing + offset, n, &error);
  mLock.Enter();
  mFilling = false;
  // A seek that emptied the ring meanwhile has made these bytes stale.
  if (resets == mResets) {
    mFilledPosition.store(filled + got);
    if (got < n) {
      mError.store(error != kUUNoError ? error : kUUErrorShortRead, std::memory_order_relaxed);
      mRegionLength.store(filled + got);
    }
  }
  mLock.Leave();
  return got;
}

int32_t AFBufferedInputFromAsyncFile::Pulse() {
  // The reader waiting in Fill reads the room itself: come back soon.
  if (ReadChunk(mChunkSize) == kAnotherFills) return kAnotherFillsDelay;
  const int32_t filled = mFilledPosition.load();
  const int32_t read = mReadPosition.load();
  return filled >= mRegionLength.load() ? INT_MAX : filled == read + mRingSize ? kFullRingDelay : 0;
}

void AFBufferedInputFromAsyncFile::Fill() {
  // The reader waits: all the room there is, in as few reads as the ring's
  // end allows. The pulse thread's read in progress is waited for on the
  // file lock it reads under.
  for (int32_t got = 0; (got = ReadChunk(mRingSize)) != 0;) {
    if (got == kAnotherFills) ALCriticalSectionLock wait(mFileLock);
  }
}

int32_t AFBufferedInputFromAsyncFile::Peek(const uint8_t** bytes) {
  const int32_t read = mReadPosition.load(std::memory_order_relaxed);
  const int32_t filled = mFilledPosition.load(std::memory_order_acquire);
  const int32_t offset = read % mRingSize;
  *bytes = mRing + offset;
  return std::max(std::min(filled - read, mRingSize - offset), 0);
}

void AFBufferedInputFromAsyncFile::AdvanceTo(int32_t position) {
  const int32_t before = mReadPosition.exchange(position);
  const int32_t full = mFilledPosition.load() - mRingSize;
  if (before - full < mRefillMark && position - full >= mRefillMark) CallAgainIn(0);
}

int32_t AFBufferedInputFromAsyncFile::Consume(int32_t n) {
  AdvanceTo(mReadPosition.load(std::memory_order_relaxed) + n);
  return n;
}

int32_t AFBufferedInputFromAsyncFile::Seek(int32_t position) {
  mLock.Enter();
  position = std::clamp(position, 0, mRegionLength.load(std::memory_order_relaxed));
  const int32_t read = mReadPosition.load(std::memory_order_relaxed);
  const int32_t filled = mFilledPosition.load(std::memory_order_relaxed);
  if (read <= position && position < filled) {
    AdvanceTo(position);
  } else {
    mReadPosition.store(position, std::memory_order_release);
    mFilledPosition.store(position, std::memory_order_release);
    ++mResets;
    CallAgainIn(0);
  }
  mLock.Leave();
  return position;
}

void AFBufferedInputFromAsyncFile::Stop() { mManager.RemoveTask(this); }

int32_t AFPlatformCheck() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExA(&version)) return 1;
  return version.dwPlatformId == VER_PLATFORM_WIN32s ? 2 : 0;
}
