#pragma once
// Internal to the platform layer: the Win32 error code for a host errno.

#include "platform/win32/kernel.h"

namespace vpl::platform {

// ERROR_GEN_FAILURE for a value without a closer code.
DWORD Win32ErrorFromErrno(int error);
// Sets the calling thread's last error from errno and answers it.
DWORD SetLastErrorFromErrno();

}  // namespace vpl::platform
