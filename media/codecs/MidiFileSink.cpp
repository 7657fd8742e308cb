#include "media/codecs/MidiFileSink.h"

#include <algorithm>
#include <cstring>

#include "foundation/al/ALAllocator.h"

namespace {

// Above this many bytes (buffered plus new) a write goes straight through.
constexpr uint32_t kDirectWriteThreshold = 2 * MidiBufferedFileSink::kBufferSize;
constexpr int kMaxVarLenBytes = 4;
constexpr uint8_t kSysExStart = 0xF0;
constexpr uint8_t kSysExContinuation = 0xF7;
constexpr uint8_t kMetaStatus = 0xFF;

// Program change and channel pressure carry one data byte, the rest two.
int DataByteCount(uint8_t status) { return status >= 0xC0 && status <= 0xDF ? 1 : 2; }

}  // namespace

MidiBufferedFileSink::MidiBufferedFileSink(UUWriter& writer)
    : mWriter(writer),
      mBuffer(static_cast<uint8_t*>(ALAllocate(kBufferSize, ALGlobalAllocator, kALMayFail))) {}

MidiBufferedFileSink::~MidiBufferedFileSink() {
  if (mBuffer != nullptr) ALFree(mBuffer);
}

bool MidiBufferedFileSink::Begin(int16_t division) {
  mBuffered = 0;
  mTicks = 0;
  mLastEventTicks = 0;
  return MidiSink::Begin(division);
}

bool MidiBufferedFileSink::Delta(int32_t ticks) {
  mTicks += static_cast<uint32_t>(ticks);
  return true;
}

bool MidiBufferedFileSink::End(bool) {
  Put(nullptr, 0);
  return WriterGood();
}

void MidiBufferedFileSink::WriteBuffer() {
  if (mBuffered > 0) mWriter.Write(mBuffer, mBuffered);
  mBuffered = 0;
}

void MidiBufferedFileSink::Put(const uint8_t* data, uint32_t n) {
  if (mBuffer == nullptr) {
    if (n > 0) mWriter.Write(data, n);
    return;
  }
  if (n == 0) {
    WriteBuffer();
    return;
  }
  if (n > 1 && mBuffered + n > kDirectWriteThreshold) {
    WriteBuffer();
    mWriter.Write(data, n);
    return;
  }
  while (n > 0) {
    const uint32_t piece = std::min(n, kBufferSize - mBuffered);
    std::memcpy(mBuffer + mBuffered, data, piece);
    mBuffered += piece;
    data += piece;
    n -= piece;
    if (mBuffered == kBufferSize) WriteBuffer();
  }
}

bool MidiBufferedFileSink::WriteVarLen(uint32_t value) {
  uint8_t bytes[kMaxVarLenBytes + 1];  // a uint32 needs at most five
  int count = 0;
  do {
    bytes[count++] = static_cast<uint8_t>(value & 0x7F);
    value >>= 7;
  } while (value != 0);
  uint8_t ordered[kMaxVarLenBytes + 1];
  for (int i = 0; i < count; ++i) {
    ordered[i] = static_cast<uint8_t>(bytes[count - 1 - i] | (i + 1 < count ? 0x80 : 0));
  }
  Put(ordered, static_cast<uint32_t>(count));
  return WriterGood();
}

bool MidiBufferedFileSink::WriteDelta() {
  const uint32_t delta = mTicks - mLastEventTicks;
  mLastEventTicks = mTicks;
  return WriteVarLen(delta);
}

bool MidiFileSinkMidi::Begin(int16_t division) {
  mRunningStatus = 0;
  return MidiBufferedFileSink::Begin(division);
}

bool MidiFileSinkMidi::ShortMessage(int32_t message) {
  if (!WriteDelta()) return false;
  const auto status = static_cast<uint8_t>(message & 0xFF);
  if (status != mRunningStatus) {
    mRunningStatus = status;
    PutByte(status);
  }
  const uint8_t data[2] = {static_cast<uint8_t>(message >> 8), static_cast<uint8_t>(message >> 16)};
  Put(data, static_cast<uint32_t>(DataByteCount(status)));
  return WriterGood();
}

bool MidiFileSinkMidi::SysEx(bool continuation, int32_t length, const uint8_t* data) {
  mRunningStatus = 0;
  if (!WriteDelta()) return false;
  PutByte(continuation ? kSysExContinuation : kSysExStart);
  WriteVarLen(static_cast<uint32_t>(length));
  Put(data, static_cast<uint32_t>(length));
  return WriterGood();
}

bool MidiFileSinkMidi::Meta(uint8_t type, int32_t length, const uint8_t* data) {
  if (type == kMidiMetaEndOfTrack) return true;  // End writes it
  if (!WriteDelta()) return false;
  const uint8_t head[2] = {kMetaStatus, type};
  Put(head, 2);
  WriteVarLen(static_cast<uint32_t>(length));
  Put(data, static_cast<uint32_t>(length));
  return WriterGood();
}

bool MidiFileSinkMidi::End(bool aborted) {
  if (!aborted) {
    const uint8_t endOfTrack[3] = {kMetaStatus, kMidiMetaEndOfTrack, 0};
    if (WriteDelta()) Put(endOfTrack, 3);
  }
  return MidiBufferedFileSink::End(aborted);
}

void MidiFileSinkWindows::PutRecord(uint32_t event) {
  const uint32_t words[3] = {mTicks - mLastEventTicks, 0, event};
  mLastEventTicks = mTicks;
  uint8_t record[kRecordSize];
  for (uint32_t i = 0; i < kRecordSize; ++i) {
    record[i] = static_cast<uint8_t>(words[i / 4] >> (8 * (i % 4)));
  }
  Put(record, kRecordSize);
}

bool MidiFileSinkWindows::ShortMessage(int32_t message) {
  PutRecord(static_cast<uint32_t>(message));
  return WriterGood();
}

bool MidiFileSinkWindows::Meta(uint8_t type, int32_t length, const uint8_t* data) {
  if (type != kMidiMetaTempo || length < kMidiTempoLength) return true;
  PutRecord(kTempoEvent | static_cast<uint32_t>(data[0]) << 16 |
            static_cast<uint32_t>(data[1]) << 8 | data[2]);
  return WriterGood();
}

bool MidiFileSinkWindows::End(bool aborted) {
  if (!aborted) PutRecord(kEndOfTrackEvent);
  return MidiBufferedFileSink::End(aborted);
}
