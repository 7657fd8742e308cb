// The system's texts for the error codes the layer answers.

#include "platform/win32/user.h"

#include <cstring>

namespace {

struct ErrorText {
  DWORD code;
  const char* text;
};

constexpr ErrorText kErrorTexts[] = {
    {ERROR_SUCCESS, "The operation completed successfully."},
    {ERROR_INVALID_FUNCTION, "Incorrect function."},
    {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified."},
    {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified."},
    {ERROR_TOO_MANY_OPEN_FILES, "The system cannot open the file."},
    {ERROR_ACCESS_DENIED, "Access is denied."},
    {ERROR_INVALID_HANDLE, "The handle is invalid."},
    {ERROR_NOT_ENOUGH_MEMORY, "Not enough storage is available to process this command."},
    {ERROR_BAD_FORMAT, "An attempt was made to load a program with an incorrect format."},
    {ERROR_OUTOFMEMORY, "Not enough storage is available to complete this operation."},
    {ERROR_NO_MORE_FILES, "There are no more files."},
    {ERROR_WRITE_PROTECT, "The media is write protected."},
    {ERROR_NOT_READY, "The device is not ready."},
    {ERROR_CRC, "Data error (cyclic redundancy check)."},
    {ERROR_SEEK, "The drive cannot locate a specific area or track on the disk."},
    {ERROR_WRITE_FAULT, "The system cannot write to the specified device."},
    {ERROR_READ_FAULT, "The system cannot read from the specified device."},
    {ERROR_GEN_FAILURE, "A device attached to the system is not functioning."},
    {ERROR_SHARING_VIOLATION,
     "The process cannot access the file because it is being used by another process."},
    // The system's text names the disc asked for, which is not known here.
    {ERROR_WRONG_DISK, "The wrong diskette is in the drive."},
    {ERROR_HANDLE_EOF, "Reached the end of the file."},
    {ERROR_FILE_EXISTS, "The file exists."},
    {ERROR_INVALID_PARAMETER, "The parameter is incorrect."},
    {ERROR_DISK_FULL, "There is not enough space on the disk."},
    {ERROR_INSUFFICIENT_BUFFER, "The data area passed to a system call is too small."},
    {ERROR_NEGATIVE_SEEK,
     "An attempt was made to move the file pointer before the beginning of the file."},
    {ERROR_FILENAME_EXCED_RANGE, "The filename or extension is too long."},
    {ERROR_NO_MORE_ITEMS, "No more data is available."},
    {ERROR_MEDIA_CHANGED, "The media in the drive may have changed."},
    {ERROR_NO_MEDIA_IN_DRIVE, "No media in drive."},
    {ERROR_IO_DEVICE, "The request could not be performed because of an I/O device error."},
    {ERROR_INVALID_WINDOW_HANDLE, "Invalid window handle."},
    {ERROR_INVALID_THREAD_ID, "Invalid thread identifier."},
};

const char* TextOf(DWORD code) {
  for (const ErrorText& entry : kErrorTexts) {
    if (entry.code == code) return entry.text;
  }
  return nullptr;
}

}  // namespace

DWORD FormatMessageA(DWORD flags, LPCVOID, DWORD messageId, DWORD, LPSTR buffer, DWORD size,
                     void*) {
  const char* text = (flags & FORMAT_MESSAGE_FROM_SYSTEM) ? TextOf(messageId) : nullptr;
  if (text == nullptr || buffer == nullptr || size == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const size_t length = std::strlen(text);
  if (length >= size) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(buffer, text, length + 1);
  return static_cast<DWORD>(length);
}
