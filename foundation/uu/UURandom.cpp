#include "foundation/uu/UURandom.h"

#include "foundation/uu/UUByteSwap.h"
#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"

namespace {

constexpr int32_t kMultiplier = 16807;
constexpr int32_t kQuotient = 127773;  // kModulus / kMultiplier
constexpr int32_t kWarmUpSteps = 8;
constexpr int32_t kTableShift = 26;  // 2^31 / 32: an output's table slot

}  // namespace

UURandom::UURandom(int32_t seed) { Reseed(seed); }

int32_t UURandom::StepState() {
  // Schrage's method, kept in 32-bit arithmetic with wrap-around so that
  // every machine produces the same sequence.
  const int32_t q = mState / kQuotient;
  const uint32_t product = static_cast<uint32_t>(kMultiplier) * static_cast<uint32_t>(mState) -
                           static_cast<uint32_t>(q) * static_cast<uint32_t>(kModulus);
  int32_t state = static_cast<int32_t>(product);
  if (state < 0) state += kModulus;
  mState = state;
  return state;
}

void UURandom::Reseed(int32_t seed) {
  if (seed < 0) seed += kModulus;
  if (seed == 0) seed = 1;
  mSeed = seed;
  mState = seed;
  for (int32_t i = 0; i < kWarmUpSteps; ++i) StepState();
  mLastOutput = StepState();
  for (int32_t i = kTableSize - 1; i >= 0; --i) mTable[i] = StepState();
  mLastOutput = mTable[0];
}

int32_t UURandom::Next() {
  // A restored generator may carry any word here; the mask keeps the slot
  // inside the table and changes nothing for outputs the generator makes.
  const uint32_t slot = (static_cast<uint32_t>(mLastOutput) >> kTableShift) & (kTableSize - 1);
  mLastOutput = mTable[slot];
  mTable[slot] = StepState();
  return mLastOutput;
}

int32_t UURandom::Range(int32_t low, int32_t high) {
  const int32_t r = Next();
  const int64_t span = static_cast<int64_t>(high) - low;
  if (span < 0) return low;
  if (span == kModulus) return static_cast<int32_t>(static_cast<int64_t>(low) + r);
  return static_cast<int32_t>(low + r % (span + 1));
}

void UURandom::ToWords(int32_t* words) const {
  words[0] = mSeed;
  for (int32_t i = 0; i < kTableSize; ++i) words[1 + i] = mTable[i];
  words[kTableSize + 1] = mState;
  words[kTableSize + 2] = mLastOutput;
}

void UURandom::FromWords(const int32_t* words) {
  mSeed = words[0];
  for (int32_t i = 0; i < kTableSize; ++i) mTable[i] = words[1 + i];
  mState = words[kTableSize + 1];
  mLastOutput = words[kTableSize + 2];
}

bool UUReadRandoms(UUReader& reader, UURandom* generators, int32_t n) {
  int32_t words[UURandom::kStoredWords];
  for (int32_t i = 0; i < n; ++i) {
    if (!reader.ReadInt32s(words, UURandom::kStoredWords)) break;
    generators[i].FromWords(words);
  }
  return reader.GetError() == kUUNoError;
}

bool UUWriteRandoms(UUWriter& writer, const UURandom* generators, int32_t n) {
  int32_t words[UURandom::kStoredWords];
  for (int32_t i = 0; i < n; ++i) {
    generators[i].ToWords(words);
    if (!writer.WriteInt32s(words, UURandom::kStoredWords)) break;
  }
  return writer.GetError() == kUUNoError;
}

void UUSwapRandoms(UURandom* generators, int32_t n) {
  int32_t words[UURandom::kStoredWords];
  for (int32_t i = 0; i < n; ++i) {
    generators[i].ToWords(words);
    UUSwapInt32s(words, UURandom::kStoredWords);
    generators[i].FromWords(words);
  }
}
