#include "platform/win32/kernel.h"

#include <cstdio>
#include <cstdlib>

void OutputDebugStringA(LPCSTR text) {
  if (text != nullptr && std::getenv("VPL3D_DEBUG") != nullptr) std::fputs(text, stderr);
}
