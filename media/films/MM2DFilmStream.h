#pragma once
// The data of one film, read ahead into a ring on the streaming pulse
// thread. The ring is the film's preload block, which the loader keeps
// locked for the stream; deleting the stream stops the read-ahead and then
// runs its closing callback, which gives the block back.

#include "foundation/af/AFBufferedInputFromAsyncFile.h"
#include "foundation/uu/UUCallback.h"

#include <cstdint>
#include <memory>

class MM2DFilmStream : public AFBufferedInputFromAsyncFile {
 public:
  // Registers with the manager; takes the closing callback over.
  MM2DFilmStream(AFPulseTaskManager& manager, uint8_t* ring, int32_t ringSize, int32_t chunkSize,
                 UURandomAccessStream& stream, int32_t regionStart, int32_t regionLength,
                 ALCriticalSection& fileLock, bool prefilled, UUCallback* closing)
      : AFBufferedInputFromAsyncFile(manager, ring, ringSize, chunkSize, stream, regionStart,
                                     regionLength, fileLock, prefilled),
        mClosing(closing) {}
  // No read may still write into the ring when the callback gives it back.
  ~MM2DFilmStream() override;
  MM2DFilmStream(const MM2DFilmStream&) = delete;
  MM2DFilmStream& operator=(const MM2DFilmStream&) = delete;

 private:
  std::unique_ptr<UUCallback> mClosing;
};
