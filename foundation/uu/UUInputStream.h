#pragma once
// Ordinary reads for the sound system on top of a buffered input, with
// filters that turn the bytes on the way: a plain copy, a 16-bit byte swap,
// and the expansion (or compression) of the one-byte sound codec.

#include "foundation/uu/UUBufferedInput.h"
#include "foundation/uu/UUSoundBytes.h"
#include "foundation/uu/UUWriter.h"

#include <cstdint>

class UUInputStream {
 public:
  virtual ~UUInputStream() = default;
  virtual bool AtEnd() = 0;
  virtual bool IsByteSwapped() = 0;
  virtual int32_t GetPosition() = 0;
  virtual int32_t Seek(int32_t position) = 0;
  // Delivers up to n bytes; fewer when the source ends or, without wait,
  // when nothing is buffered. 0 is a valid answer.
  virtual uint32_t Read(void* buffer, uint32_t n, bool wait) = 0;

  // Copies the rest of the stream to the writer; true when the writer's
  // error is 0.
  bool CopyTo(UUWriter& writer);
};

// A plain copy of an owned buffered input, which it stops and deletes.
class UUInputFromBufferedInput : public UUInputStream {
 public:
  explicit UUInputFromBufferedInput(UUBufferedInput* input);
  ~UUInputFromBufferedInput() override;
  UUInputFromBufferedInput(const UUInputFromBufferedInput&) = delete;
  UUInputFromBufferedInput& operator=(const UUInputFromBufferedInput&) = delete;

  // A unit gathered whole is not at the end yet.
  bool AtEnd() override { return mInput->AtEnd() && mCarried < UnitBytes(); }
  bool IsByteSwapped() override { return mInput->IsByteSwapped(); }
  int32_t GetPosition() override { return mInput->GetPosition() - static_cast<int32_t>(mCarried); }
  int32_t Seek(int32_t position) override;
  uint32_t Read(void* buffer, uint32_t n, bool wait) override;

 protected:
  struct Step {
    uint32_t consumed;  // input bytes used
    uint32_t produced;  // output bytes written
  };
  static constexpr uint32_t kLargestUnit = 2;

  // Turns up to available input bytes into at most room output bytes. A
  // step that produces nothing (no room for a unit) ends the read.
  virtual Step Transfer(const uint8_t* in, uint32_t available, uint8_t* out, uint32_t room);
  // The input bytes that Transfer turns as one.
  virtual uint32_t UnitBytes() const { return 1; }

  UUBufferedInput* mInput;

 private:
  // Moves up to a unit's missing bytes from the span into the carry.
  void Carry(const uint8_t* in, uint32_t available);
  // Transfers the gathered unit; false when there was no room for it.
  bool DeliverCarry(uint8_t* out, uint32_t room, uint32_t* delivered);

  // A unit split by the end of the input's ring is gathered here, so that
  // it goes on whole instead of stalling the stream.
  uint8_t mCarry[kLargestUnit] = {};
  uint32_t mCarried = 0;
};

// Exchanges the two bytes of every 16-bit word on the way.
class UUSwapWordsFromBufferedInput : public UUInputFromBufferedInput {
 public:
  using UUInputFromBufferedInput::UUInputFromBufferedInput;

 protected:
  Step Transfer(const uint8_t* in, uint32_t available, uint8_t* out, uint32_t room) override;
  uint32_t UnitBytes() const override { return 2; }
};

// Expands each code byte into one 16-bit sample; positions are in sample
// bytes outside and code bytes inside.
class UUSoundBytesUncompressFromBufferedInput : public UUInputFromBufferedInput {
 public:
  UUSoundBytesUncompressFromBufferedInput(UUBufferedInput* input, int32_t channelCount);

  // Restarts the prediction at position / 2 codes.
  int32_t Seek(int32_t position) override;

 protected:
  Step Transfer(const uint8_t* in, uint32_t available, uint8_t* out, uint32_t room) override;

 private:
  UUSoundBytesDecoder mDecoder;
};

// Compresses 16-bit samples into one code byte each.
class UUSoundBytesCompressFromBufferedInput : public UUInputFromBufferedInput {
 public:
  UUSoundBytesCompressFromBufferedInput(UUBufferedInput* input, int32_t channelCount);

 protected:
  Step Transfer(const uint8_t* in, uint32_t available, uint8_t* out, uint32_t room) override;
  uint32_t UnitBytes() const override { return 2; }

 private:
  UUSoundBytesEncoder mEncoder;
};
