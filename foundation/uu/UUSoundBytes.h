#pragma once
// The one-byte-per-sample sound codec of the sound and film files. A code
// whose low seven bits are 0 to 47, and the code 248, is an absolute level;
// every other code adds its table value to the channel's previous sample.
// Channels are interleaved; each call goes on with the channel after the
// previous call's last sample, so runs of any length may be handed over.

#include <array>
#include <cstdint>

// The 256 values indexed by the code byte.
extern const std::array<int16_t, 256> UUSoundByteTable;

class UUSoundBytesDecoder {
 public:
  explicit UUSoundBytesDecoder(int32_t channelCount);

  void Decode(const uint8_t* codes, uint32_t n, int16_t* samples);
  // As Decode, into a buffer of any alignment.
  void DecodeInto(const uint8_t* codes, uint32_t n, void* samples);
  // Forgets the previous samples: the prediction restarts with the code at
  // this index of the stream.
  void Reset(uint32_t codeIndex = 0);

 private:
  int16_t mPrevious[2] = {0, 0};

  int32_t mChannelCount;
  uint32_t mChannel = 0;
};

class UUSoundBytesEncoder {
 public:
  explicit UUSoundBytesEncoder(int32_t channelCount);

  void Encode(const int16_t* samples, uint32_t n, uint8_t* codes);
  // As Encode, from a buffer of any alignment.
  void EncodeFrom(const void* samples, uint32_t n, uint8_t* codes);

 private:
  uint8_t EncodeOne(int16_t value, int32_t channel);

  int16_t mPrevious[2] = {0, 0};
  int32_t mChannelCount;
  uint32_t mChannel = 0;
};
