#include "foundation/uu/UUInputStream.h"

#include <algorithm>
#include <cstring>

#include "foundation/al/ALBytes.h"

namespace {

constexpr uint32_t kCopyChunk = 1024;

}  // namespace

bool UUInputStream::CopyTo(UUWriter& writer) {
  uint8_t chunk[kCopyChunk];
  while (!AtEnd() && writer.GetError() == kUUNoError) {
    const uint32_t n = Read(chunk, kCopyChunk, true);
    if (n == 0) break;  // the source can make no more progress
    writer.Write(chunk, n);
  }
  return writer.GetError() == kUUNoError;
}

UUInputFromBufferedInput::UUInputFromBufferedInput(UUBufferedInput* input) : mInput(input) {}

UUInputFromBufferedInput::~UUInputFromBufferedInput() {
  mInput->Stop();
  delete mInput;
}

int32_t UUInputFromBufferedInput::Seek(int32_t position) {
  mCarried = 0;
  return mInput->Seek(position);
}

uint32_t UUInputFromBufferedInput::Read(void* buffer, uint32_t n, bool wait) {
  auto* out = static_cast<uint8_t*>(buffer);
  uint32_t delivered = 0;
  while (delivered < n) {
    if (mCarried == UnitBytes()) {
      if (!DeliverCarry(out + delivered, n - delivered, &delivered)) break;
      continue;
    }
    if (mInput->AtEnd()) break;
    const uint8_t* in = nullptr;
    const int32_t available = mInput->Peek(&in);
    if (available <= 0) {
      if (!wait) break;
      mInput->Fill();
      continue;
    }
    if (mCarried > 0 || static_cast<uint32_t>(available) < UnitBytes()) {
      Carry(in, static_cast<uint32_t>(available));
      continue;
    }
    const Step step =
        Transfer(in, static_cast<uint32_t>(available), out + delivered, n - delivered);
    if (step.produced == 0) break;
    mInput->Consume(static_cast<int32_t>(step.consumed));
    delivered += step.produced;
  }
  return delivered;
}

void UUInputFromBufferedInput::Carry(const uint8_t* in, uint32_t available) {
  const uint32_t k = std::min(available, UnitBytes() - mCarried);
  std::memcpy(mCarry + mCarried, in, k);
  mInput->Consume(static_cast<int32_t>(k));
  mCarried += k;
}

bool UUInputFromBufferedInput::DeliverCarry(uint8_t* out, uint32_t room, uint32_t* delivered) {
  const Step step = Transfer(mCarry, mCarried, out, room);
  if (step.produced == 0) return false;
  mCarried = 0;
  *delivered += step.produced;
  return true;
}

UUInputFromBufferedInput::Step UUInputFromBufferedInput::Transfer(const uint8_t* in,
                                                                  uint32_t available, uint8_t* out,
                                                                  uint32_t room) {
  const uint32_t k = std::min(available, room);
  std::memcpy(out, in, k);
  return {k, k};
}

UUInputFromBufferedInput::Step UUSwapWordsFromBufferedInput::Transfer(const uint8_t* in,
                                                                      uint32_t available,
                                                                      uint8_t* out, uint32_t room) {
  const uint32_t k = std::min(available, room) & ~uint32_t{1};
  ALCopySwapBytes16(out, in, k);
  return {k, k};
}

UUSoundBytesUncompressFromBufferedInput::UUSoundBytesUncompressFromBufferedInput(
    UUBufferedInput* input, int32_t channelCount)
    : UUInputFromBufferedInput(input), mDecoder(channelCount) {}

int32_t UUSoundBytesUncompressFromBufferedInput::Seek(int32_t position) {
  const int32_t reached = mInput->Seek(position / 2);
  mDecoder.Reset(static_cast<uint32_t>(reached));
  return reached * 2;
}

UUInputFromBufferedInput::Step UUSoundBytesUncompressFromBufferedInput::Transfer(const uint8_t* in,
                                                                                 uint32_t available,
                                                                                 uint8_t* out,
                                                                                 uint32_t room) {
  const uint32_t samples = std::min(available, room / 2);
  mDecoder.DecodeInto(in, samples, out);
  return {samples, 2 * samples};
}

UUSoundBytesCompressFromBufferedInput::UUSoundBytesCompressFromBufferedInput(UUBufferedInput* input,
                                                                             int32_t channelCount)
    : UUInputFromBufferedInput(input), mEncoder(channelCount) {}

UUInputFromBufferedInput::Step UUSoundBytesCompressFromBufferedInput::Transfer(const uint8_t* in,
                                                                               uint32_t available,
                                                                               uint8_t* out,
                                                                               uint32_t room) {
  const uint32_t samples = std::min(available / 2, room);
  mEncoder.EncodeFrom(in, samples, out);
  return {2 * samples, samples};
}
