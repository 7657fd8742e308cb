#include "media/codecs/UUPerceptualAudioBitReader.h"

namespace UUPerceptualAudio {

namespace {

constexpr int kRefillBelow = 16;

}  // namespace

void BitReader::SetInput(const uint8_t* bytes, uint32_t length) {
  mBytes = bytes;
  mLength = length;
  mTaken = 0;
}

void BitReader::Refill() {
  while (mCount <= kRefillBelow) {
    uint32_t word = 0;
    for (int i = 0; i < 2; ++i) {
      word = word << 8 | (mTaken < mLength ? mBytes[mTaken] : 0u);
      ++mTaken;
    }
    mBits |= word << (kRefillBelow - mCount);
    mCount += 16;
  }
}

uint32_t BitReader::Peek(int n) {
  Refill();
  return n == 0 ? 0 : mBits >> (32 - n);
}

uint32_t BitReader::Read(int n) {
  const uint32_t value = Peek(n);
  mBits <<= n;
  mCount -= n;
  return value;
}

void BitReader::AlignToByte() {
  const int drop = mCount % 8;
  mBits <<= drop;
  mCount -= drop;
}

void BitReader::Empty() {
  mBits = 0;
  mCount = 0;
}

}  // namespace UUPerceptualAudio
