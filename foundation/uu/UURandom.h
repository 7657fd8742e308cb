#pragma once
// A portable random-number generator: the minimal standard multiplicative
// congruential generator (multiplier 16807, modulus 2^31 - 1) behind a
// 32-entry shuffle table. Its whole state is 35 words, so a saved generator
// continues exactly where it stopped.

#include <cstdint>

class UUReader;
class UUWriter;

class UURandom {
 public:
  static constexpr int32_t kModulus = 2147483647;
  static constexpr int32_t kTableSize = 32;
  // The words a generator is stored as: seed, table, state, last output.
  static constexpr int32_t kStoredWords = kTableSize + 3;

  explicit UURandom(int32_t seed);

  void Reseed(int32_t seed);
  // The next shuffled output, in [1, 2147483646].
  int32_t Next();
  // An integer in [low, high].
  int32_t Range(int32_t low, int32_t high);
  // The next raw state, bypassing the shuffle table.
  int32_t StepState();

  int32_t GetSeed() const { return mSeed; }

  // The stored form, in the order seed, table, state, last output.
  void ToWords(int32_t* words) const;
  void FromWords(const int32_t* words);

 private:
  int32_t mSeed = 1;
  int32_t mTable[kTableSize] = {};
  int32_t mLastOutput = 0;
  int32_t mState = 1;
};

// Each generator is stored as 35 signed 32-bit values (140 bytes), in the
// stream's byte order on reading; true when the stream has no error.
bool UUReadRandoms(UUReader& reader, UURandom* generators, int32_t n);
bool UUWriteRandoms(UUWriter& writer, const UURandom* generators, int32_t n);
// Reverses the bytes of the 35 stored words of each generator in place.
void UUSwapRandoms(UURandom* generators, int32_t n);
