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

  bool AtEnd() override { return mInput->AtEnd(); }
  bool IsByteSwapped() override { return mInput->IsByteSwapped(); }
  int32_t GetPosition() override { return mInput->GetPosition(); }
  int32_t Seek(int32_t position) override { return mInput->Seek(position); }
  uint32_t Read(void* buffer, uint32_t n, bool wait) override;

 protected:
  struct Step {
    uint32_t consumed;  // input bytes used
    uint32_t produced;  // output bytes written
  };
  // Turns up to available input bytes into at most room output bytes. A
  // step that produces nothing (a fragment of a unit) ends the read.
  virtual Step Transfer(const uint8_t* in, uint32_t available, uint8_t* out, uint32_t room);

  UUBufferedInput* mInput;
};

// Exchanges the two bytes of every 16-bit word on the way.
class UUSwapWordsFromBufferedInput : public UUInputFromBufferedInput {
 public:
  using UUInputFromBufferedInput::UUInputFromBufferedInput;

 protected:
  Step Transfer(const uint8_t* in, uint32_t available, uint8_t* out, uint32_t room) override;
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

 private:
  UUSoundBytesEncoder mEncoder;
};
