#include "foundation/uu/UUPattern.h"

#include <cctype>
#include <cstring>

namespace {

constexpr uint32_t kStart = 1;

bool IsPostfix(char c) { return c == '*' || c == '+' || c == '?'; }

}  // namespace

UUPattern::UUPattern()
    : mNextPosition(1),
      mTransitions{},
      mAccepting(0),
      mCursor(nullptr),
      mIgnoreCase(false),
      mError(kUUPatternNotCompiled) {}

UUPattern::UUPattern(const char* pattern, bool ignoreCase) : UUPattern() {
  Compile(pattern, ignoreCase);
}

bool UUPattern::Fail(int32_t error) {
  if (mError == kUUPatternCompiled) mError = error;
  return false;
}

int32_t UUPattern::Compile(const char* pattern, bool ignoreCase) {
  std::memset(mTransitions, 0, sizeof mTransitions);
  mNextPosition = kStart << 1;
  mAccepting = 0;
  mCursor = pattern != nullptr ? pattern : "";
  mIgnoreCase = ignoreCase;
  mError = kUUPatternCompiled;
  const uint32_t exits = CompileAlternatives(kStart);
  if (mError == kUUPatternCompiled) mAccepting = exits;
  mCursor = nullptr;
  return mError;
}

uint32_t UUPattern::CompileAlternatives(uint32_t entry) {
  uint32_t exits = CompileSequence(entry);
  while (mError == kUUPatternCompiled && *mCursor == '|') {
    ++mCursor;
    exits |= CompileSequence(entry);
  }
  return exits;
}

uint32_t UUPattern::CompileSequence(uint32_t entry) {
  uint32_t exits = CompileElement(entry);
  while (mError == kUUPatternCompiled && *mCursor != '\0' && *mCursor != '|' && *mCursor != ')') {
    exits = CompileElement(exits);
  }
  return exits;
}

uint32_t UUPattern::CompileElement(uint32_t entry) {
  const char c = *mCursor;
  if (c == '\0') return Fail(kUUPatternIncomplete);
  if (c == '|') return Fail(kUUPatternMisplacedBar);
  if (c == ')') return Fail(kUUPatternMisplacedParenthesis);
  if (IsPostfix(c)) return Fail(kUUPatternNothingToRepeat);
  const uint32_t firstBit = mNextPosition;
  uint32_t exits;
  if (c == '(') {
    ++mCursor;
    exits = CompileAlternatives(entry);
    if (mError != kUUPatternCompiled) return 0;
    if (*mCursor != ')') return Fail(kUUPatternOpenGroup);
    ++mCursor;
  } else {
    exits = CompilePosition(entry);
    if (mError != kUUPatternCompiled) return 0;
  }
  if (IsPostfix(*mCursor)) {
    // The element's own positions: the bits taken while compiling it (the
    // subtraction wraps when the last bit was taken).
    const uint32_t elementBits = mNextPosition - firstBit;
    ApplyPostfix(*mCursor++, entry, elementBits, exits);
  }
  return exits;
}

// Repeating copies only the element's own transitions from its entry
// states, so that what other alternatives left there is not repeated.
void UUPattern::ApplyPostfix(char postfix, uint32_t entry, uint32_t elementBits, uint32_t& exits) {
  if (postfix != '?') {
    for (int c = 0; c < 256; ++c) {
      for (int i = 0; i < 32; ++i) {
        if ((entry & (1u << i)) == 0) continue;
        const uint32_t own = mTransitions[c][i] & elementBits;
        for (int j = 0; j < 32; ++j) {
          if ((exits & (1u << j)) != 0) mTransitions[c][j] |= own;
        }
      }
    }
  }
  if (postfix != '+') exits |= entry;
}

uint32_t UUPattern::CompilePosition(uint32_t entry) {
  ByteSet set = {};
  if (!ReadByteSet(set)) return 0;
  if (mNextPosition == 0) return Fail(kUUPatternTooLong);
  const uint32_t position = mNextPosition;
  mNextPosition <<= 1;
  for (int c = 0; c < 256; ++c) {
    if (!set[c]) continue;
    for (int i = 0; i < 32; ++i) {
      if ((entry & (1u << i)) != 0) mTransitions[c][i] |= position;
    }
  }
  return position;
}

bool UUPattern::ReadByteSet(ByteSet& set) {
  const auto c = static_cast<unsigned char>(*mCursor++);
  switch (c) {
    case '.':
      std::memset(set, true, sizeof set);
      return true;
    case '#':
      for (int d = '0'; d <= '9'; ++d) set[d] = true;
      return true;
    case '[':
      return ReadClass(set);
    case '\\': {
      const auto escaped = static_cast<unsigned char>(*mCursor);
      if (escaped == '\0') return Fail(kUUPatternTrailingBackslash);
      ++mCursor;
      set[escaped == 'n' ? 10 : escaped == 'r' ? 13 : escaped == 't' ? 9 : escaped] = true;
      return true;
    }
    default:
      set[c] = true;
      if (mIgnoreCase && std::isalpha(c)) {
        set[std::isupper(c) ? std::tolower(c) : std::toupper(c)] = true;
      }
      return true;
  }
}

bool UUPattern::ReadClass(ByteSet& set) {
  const bool negated = *mCursor == '^';
  if (negated) ++mCursor;
  while (*mCursor != ']') {
    if (*mCursor == '\0') return Fail(kUUPatternOpenClass);
    const auto low = static_cast<unsigned char>(*mCursor++);
    auto high = low;
    if (mCursor[0] == '-' && mCursor[1] != ']' && mCursor[1] != '\0') {
      high = static_cast<unsigned char>(mCursor[1]);
      mCursor += 2;
      if (high < low) return Fail(kUUPatternBadRange);
    }
    for (int c = low; c <= high; ++c) set[c] = true;
  }
  ++mCursor;
  if (mIgnoreCase) AddCase(set);
  if (negated) {
    for (bool& member : set) member = !member;
  }
  return true;
}

void UUPattern::AddCase(ByteSet& set) const {
  for (int c = 'a'; c <= 'z'; ++c) {
    const bool either = set[c] || set[c - 'a' + 'A'];
    set[c] = either;
    set[c - 'a' + 'A'] = either;
  }
}

bool UUPattern::Match(const char* text) const {
  uint32_t states = kStart;
  for (const char* p = text; *p != '\0'; ++p) {
    const auto b = static_cast<unsigned char>(*p);
    uint32_t next = kStart;
    for (int i = 0; i < 32; ++i) {
      if ((states & (1u << i)) != 0) next |= mTransitions[b][i];
    }
    if ((next & mAccepting) != 0) return true;
    states = next;
  }
  return false;
}
