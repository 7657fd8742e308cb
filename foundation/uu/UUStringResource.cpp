#include "foundation/uu/UUStringResource.h"

#include "foundation/uu/UUString.h"
#include "platform/win32/user.h"

bool UULoadString(uint32_t id, char* buffer) {
  if (LoadStringA(nullptr, id, buffer, kUUStringCapacity) > 0) return true;
  buffer[0] = '\0';
  return false;
}

bool UULoadStringWithDefault(uint32_t id, char* buffer, const char* defaultText) {
  if (UULoadString(id, buffer)) return true;
  UUCopyString(defaultText, buffer, kUUStringCapacity);
  return false;
}

bool UULoadStringItem(uint32_t group, uint32_t item, char* buffer) {
  return UULoadString(group * 1000 + item, buffer);
}

bool UULoadStringItemWithDefault(uint32_t group, uint32_t item, char* buffer,
                                 const char* defaultText) {
  return UULoadStringWithDefault(group * 1000 + item, buffer, defaultText);
}
