#include "foundation/uu/VPLFormatName.h"

#include "foundation/uu/UUDirectory.h"
#include "foundation/uu/UUString.h"

#include <cstdarg>

bool VPLFormatName(char* dest, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const bool fitted = UUFormatStringV(dest, kUUPathCapacity, format, arguments);
  va_end(arguments);
  return fitted;
}
