#include "foundation/uu/UUString.h"

#include "platform/win32/kernel.h"

#include <cstdio>
#include <cstring>

namespace {

// The bytes of the character at text: 2 for a lead byte with its trail.
int32_t CharacterSize(const char* text) {
  return IsDBCSLeadByte(static_cast<BYTE>(text[0])) && text[1] != '\0' ? 2 : 1;
}

// How many bytes of text fit in room bytes with a terminator after them,
// whole characters only; sets complete when all of it fits.
int32_t FittingLength(const char* text, int32_t room, bool& complete) {
  int32_t taken = 0;
  while (text[taken] != '\0') {
    const int32_t size = CharacterSize(text + taken);
    if (taken >= room - size) {
      complete = false;
      return taken;
    }
    taken += size;
  }
  complete = true;
  return taken;
}

}  // namespace

bool UUCopyString(const char* text, char* buffer, int32_t capacity) {
  if (capacity < 1) return false;
  if (text == nullptr || text[0] == '\0') {
    buffer[0] = '\0';
    return true;
  }
  bool complete;
  const int32_t taken = FittingLength(text, capacity, complete);
  if (text != buffer) std::memmove(buffer, text, static_cast<size_t>(taken));
  buffer[taken] = '\0';
  return complete;
}

bool UUAppendString(const char* text, char* buffer, int32_t capacity) {
  if (text == nullptr || text[0] == '\0') return true;
  const size_t length = ::strnlen(buffer, capacity < 0 ? 0 : static_cast<size_t>(capacity));
  const int32_t room = capacity - static_cast<int32_t>(length);
  bool complete;
  const int32_t taken = FittingLength(text, room, complete);
  if (taken == 0) return false;
  std::memmove(buffer + length, text, static_cast<size_t>(taken));
  buffer[length + static_cast<size_t>(taken)] = '\0';
  return complete;
}

bool UUPrependString(const char* prefix, char* text, int32_t capacity, char* scratch) {
  const bool prefixFitted = UUCopyString(prefix, scratch, capacity);
  const bool textFitted = UUAppendString(text, scratch, capacity);
  UUCopyString(scratch, text, capacity);
  return prefixFitted && textFitted;
}

bool UUFormatStringV(char* buffer, int32_t capacity, const char* format, va_list arguments) {
  if (capacity < 1) return false;
  char formatted[1024];
  const int length = std::vsnprintf(formatted, sizeof formatted, format, arguments);
  if (length < 0) {
    buffer[0] = '\0';
    return false;
  }
  const bool copied = UUCopyString(formatted, buffer, capacity);
  return copied && static_cast<size_t>(length) < sizeof formatted;
}

bool UUFormatString(char* buffer, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const bool fitted = UUFormatStringV(buffer, kUUStringCapacity, format, arguments);
  va_end(arguments);
  return fitted;
}

void UUCopyBytes(const void* source, void* destination, size_t n) {
  if (source != destination) std::memmove(destination, source, n);
}

int32_t UUCountCharacters(const char* text) {
  int32_t count = 0;
  for (const char* p = text; *p != '\0'; p += CharacterSize(p)) ++count;
  return count;
}

bool UUIsSingleByteChar(char byte) { return !IsDBCSLeadByte(static_cast<BYTE>(byte)); }

const char* UUPreviousChar(const char* start, const char* current) {
  return CharPrevA(start, current);
}

ptrdiff_t UUPreviousCharOffset(const char* start, ptrdiff_t offset) {
  return CharPrevA(start, start + offset) - start;
}

void UUToUpper(char* text) { CharUpperA(text); }
void UUToLower(char* text) { CharLowerA(text); }

namespace {

template <typename Convert>
void ConvertByCharacter(char* text, Convert convert) {
  for (char* p = text; *p != '\0'; p = CharNextA(p)) {
    if (UUIsSingleByteChar(*p)) {
      *p = static_cast<char>(reinterpret_cast<uintptr_t>(
          convert(reinterpret_cast<LPSTR>(static_cast<uintptr_t>(static_cast<BYTE>(*p))))));
    }
  }
}

}  // namespace

void UUMakeUpper(char* text) { ConvertByCharacter(text, CharUpperA); }
void UUMakeLower(char* text) { ConvertByCharacter(text, CharLowerA); }

int UUCompareText(const char* a, const char* b) {
  return CompareStringA(LOCALE_USER_DEFAULT, 0, a, -1, b, -1) - CSTR_EQUAL;
}

int UUCompareTextN(const char* a, int16_t lengthA, const char* b, int16_t lengthB) {
  return CompareStringA(LOCALE_USER_DEFAULT, 0, a, lengthA, b, lengthB) - CSTR_EQUAL;
}
