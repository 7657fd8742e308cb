#pragma once
// A compact regular-expression matcher: a pattern of at most 31 positions
// compiles into a bit-parallel automaton whose state is one 32-bit word
// (bit 0 the start), and a text matches when some substring of it does.
//
// Syntax: "." any byte, "#" a digit, "[...]" a class (ranges x-y, "^"
// first negates), backslash + n, r or t for 10, 13, 9 and + any other byte
// for that byte, "(" ... ")" a group, "|" between alternatives, and one
// postfix "*", "+" or "?" per element. A ")" outside any group ends the
// pattern. With ignore case, ASCII letters match both cases.

#include <cstdint>

enum UUPatternStatus : int32_t {
  kUUPatternCompiled = 0,
  kUUPatternNotCompiled = 1,
  kUUPatternNothingToRepeat = 2,
  kUUPatternTrailingBackslash = 3,
  kUUPatternTooLong = 4,
  kUUPatternOpenGroup = 5,
  kUUPatternOpenClass = 6,
  kUUPatternBadRange = 7,
  kUUPatternMisplacedBar = 8,
  kUUPatternMisplacedParenthesis = 9,
  // The pattern ends where a position is expected (empty, or ending in "|"
  // or "(").
  kUUPatternIncomplete = 10,
};

class UUPattern {
 public:
  UUPattern();
  UUPattern(const char* pattern, bool ignoreCase);

  // Clears everything and compiles; a failed pattern must not be matched.
  int32_t Compile(const char* pattern, bool ignoreCase);
  int32_t Status() const { return mError; }
  // True when some substring of the text matches; never for an empty text.
  bool Match(const char* text) const;

 private:
  using ByteSet = bool[256];

  // Each answers the exit states of what it compiled from the entry states.
  uint32_t CompileAlternatives(uint32_t entry);
  uint32_t CompileSequence(uint32_t entry);
  uint32_t CompileElement(uint32_t entry);
  uint32_t CompilePosition(uint32_t entry);
  bool ReadByteSet(ByteSet& set);
  bool ReadClass(ByteSet& set);
  void AddCase(ByteSet& set) const;
  void ApplyPostfix(char postfix, uint32_t entry, uint32_t elementBits, uint32_t& exits);
  bool Fail(int32_t error);

  uint32_t mNextPosition;
  uint32_t mTransitions[256][32];
  uint32_t mAccepting;
  const char* mCursor;
  bool mIgnoreCase;
  int32_t mError;
};
