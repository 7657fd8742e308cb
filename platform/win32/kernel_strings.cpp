// Byte-string copies.

#include "platform/win32/kernel.h"

#include <cstring>

LPSTR lstrcpynA(LPSTR destination, LPCSTR source, int size) {
  if (destination == nullptr || source == nullptr || size < 1) return nullptr;
  const size_t length = strnlen(source, static_cast<size_t>(size - 1));
  std::memcpy(destination, source, length);
  destination[length] = '\0';
  return destination;
}
