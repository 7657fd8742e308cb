#include "foundation/uu/UUDebugOutput.h"

#include "platform/win32/kernel.h"

void UUDebugOutput(const char* text) { OutputDebugStringA(text); }

// The viewers' shared buffer exists only on the Windows 95 family; this
// platform is of the NT family, whose debug channel is OutputDebugStringA,
// so there is nothing to write.
void UUDebugWindowOutput(const char*) {}
