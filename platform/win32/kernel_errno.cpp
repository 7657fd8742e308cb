#include "platform/win32/ErrnoMapping.h"

#include <cerrno>

namespace vpl::platform {

DWORD Win32ErrorFromErrno(int error) {
  switch (error) {
    case 0:
      return ERROR_SUCCESS;
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
      return ERROR_ACCESS_DENIED;
    case EROFS:
      return ERROR_WRITE_PROTECT;
    case EMFILE:
    case ENFILE:
      return ERROR_TOO_MANY_OPEN_FILES;
    case EBADF:
      return ERROR_INVALID_HANDLE;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case EINVAL:
      return ERROR_INVALID_PARAMETER;
    case EEXIST:
      return ERROR_FILE_EXISTS;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return ERROR_DISK_FULL;
    case ENAMETOOLONG:
      return ERROR_FILENAME_EXCED_RANGE;
    case ESPIPE:
      return ERROR_SEEK;
    case EIO:
      return ERROR_IO_DEVICE;
    case ENOMEDIUM:
    case ENXIO:
    case ENODEV:
      return ERROR_NOT_READY;
    case EMEDIUMTYPE:
      return ERROR_WRONG_DISK;
    default:
      return ERROR_GEN_FAILURE;
  }
}

DWORD SetLastErrorFromErrno() {
  const DWORD code = Win32ErrorFromErrno(errno);
  SetLastError(code);
  return code;
}

}  // namespace vpl::platform
