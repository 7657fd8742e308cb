#pragma once
// Deals the integers low to high - 1 in shuffled order, one per Next, and
// shuffles again when all have been dealt (each full dealing is a pass). A
// new pass never starts with the value that ended the previous one.

#include "foundation/uu/UUGrowableArray.h"

#include <cstdint>

class UURandomDeck {
 public:
  explicit UURandomDeck(int32_t count) : UURandomDeck(0, count) {}
  UURandomDeck(int32_t low, int32_t high) : mLow(low), mHigh(high) {}
  UURandomDeck(const UURandomDeck& other);
  UURandomDeck& operator=(const UURandomDeck& other);
  ~UURandomDeck() = default;

  // Forgets the order: the next deal starts a fresh pass.
  void SetRange(int32_t low, int32_t high);
  // Deals the next value into GetCurrent. An empty range deals low.
  void Next();
  int32_t GetCurrent() const { return mCurrent; }

  bool operator==(const UURandomDeck& other) const;

  friend void UUSwapRandomDecks(UURandomDeck& a, UURandomDeck& b);

 private:
  void Refill();
  void Shuffle();

  UUGrowableArray<int32_t> mValues;
  int32_t mLow;
  int32_t mHigh;
  int32_t mIndex = 0;
  int32_t mCurrent = 0;
  bool mDealt = false;
};

void UUSwapRandomDecks(UURandomDeck& a, UURandomDeck& b);
// Whether the words of [first, last) equal those starting at other.
bool UUEqualWords(const int32_t* first, const int32_t* last, const int32_t* other);
