#pragma once
// The data of one film, read ahead into a ring on the streaming pulse
// thread. The ring is the film's preload block, which the loader keeps
// locked for the stream; deleting the stream stops the read-ahead and then
// runs its closing callback, which gives the block back.
//
// The reading input is a member rather than a base: it joins the pulse
// thread as it is made, so it must be whole by then.

#include "foundation/af/AFBufferedInputFromAsyncFile.h"
#include "foundation/uu/UUCallback.h"

#include <cstdint>
#include <memory>

class MM2DFilmStream : public UUBufferedInput {
 public:
  // Registers with the manager; takes the closing callback over.
  MM2DFilmStream(AFPulseTaskManager& manager, uint8_t* ring, int32_t ringSize, int32_t chunkSize,
                 UURandomAccessStream& stream, int32_t regionStart, int32_t regionLength,
                 ALCriticalSection& fileLock, bool prefilled, UUCallback* closing)
      : mInput(manager, ring, ringSize, chunkSize, stream, regionStart, regionLength, fileLock,
               prefilled),
        mClosing(closing) {}
  // No read may still write into the ring when the callback gives it back.
  ~MM2DFilmStream() override;
  MM2DFilmStream(const MM2DFilmStream&) = delete;
  MM2DFilmStream& operator=(const MM2DFilmStream&) = delete;

  bool IsByteSwapped() override { return mInput.IsByteSwapped(); }
  bool AtEnd() override { return mInput.AtEnd(); }
  UUStreamError GetError() override { return mInput.GetError(); }
  int32_t GetPosition() override { return mInput.GetPosition(); }
  int32_t Seek(int32_t position) override { return mInput.Seek(position); }
  void Fill() override { mInput.Fill(); }
  int32_t Peek(const uint8_t** bytes) override { return mInput.Peek(bytes); }
  int32_t Consume(int32_t n) override { return mInput.Consume(n); }
  void Stop() override { mInput.Stop(); }

 private:
  AFBufferedInputFromAsyncFile mInput;
  std::unique_ptr<UUCallback> mClosing;
};
