#include "foundation/uu/UUFile.h"

#include "foundation/uu/UUFileSystem.h"

namespace {

struct OpenParameters {
  DWORD access;
  DWORD sharing;
  DWORD disposition;
};

OpenParameters ParametersOf(int32_t mode) {
  switch (mode) {
    case kUUFileRead:
      return {GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING};
    case kUUFileCreate:
      return {GENERIC_READ | GENERIC_WRITE, 0, CREATE_ALWAYS};
    default:
      return {GENERIC_READ | GENERIC_WRITE, 0, OPEN_ALWAYS};
  }
}

}  // namespace

UUFile::UUFile(const UUDirectory& directory, const char* name) {
  Open(directory, name, kUUFileRead, UUFileOptions{});
}

UUFile::UUFile(const UUDirectory& directory, const char* name, int32_t mode,
               const UUFileOptions& options) {
  Open(directory, name, mode, options);
}

UUFile::~UUFile() {
  if (mOpen) Close();
}

bool UUFile::Open(const UUDirectory& directory, const char* name, int32_t mode,
                  const UUFileOptions&) {
  if (mOpen) Close();
  SetError(kUUNoError);
  mReadOnly = mode == kUUFileRead;
  // A missing directory leaves the path empty, which no file has.
  char path[kUUPathCapacity] = {};
  UUMakeFilePath(path, directory, name);
  const OpenParameters parameters = ParametersOf(mode);
  mHandle = CreateFileA(path, parameters.access, parameters.sharing, nullptr,
                        parameters.disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (mHandle == INVALID_HANDLE_VALUE) SetError(static_cast<UUStreamError>(GetLastError()));
  mOpen = GetError() == kUUNoError;
  return mOpen;
}

bool UUFile::Close() {
  if (!CloseHandle(mHandle)) SetError(static_cast<UUStreamError>(GetLastError()));
  mHandle = INVALID_HANDLE_VALUE;
  mOpen = false;
  return GetError() == kUUNoError;
}

bool UUFile::Truncate() {
  if (GetError() != kUUNoError) return false;
  if (!SetEndOfFile(mHandle)) SetError(static_cast<UUStreamError>(GetLastError()));
  return GetError() == kUUNoError;
}

bool UUFile::FlushToDisk() {
  if (GetError() != kUUNoError) return false;
  if (!FlushFileBuffers(mHandle)) SetError(static_cast<UUStreamError>(GetLastError()));
  return GetError() == kUUNoError;
}

bool UUFile::ReadRecordingSystemError(void* buffer, uint32_t n, DWORD& systemError, DWORD& read) {
  systemError = ERROR_SUCCESS;
  read = 0;
  if (GetError() != kUUNoError) return false;
  if (!ReadFile(mHandle, buffer, n, &read, nullptr)) {
    systemError = GetLastError();
    SetError(static_cast<UUStreamError>(systemError));
  } else if (read != n) {
    SetError(kUUErrorShortRead);
  }
  return GetError() == kUUNoError;
}

bool UUFile::Read(void* buffer, uint32_t n) {
  DWORD systemError;
  DWORD read;
  return ReadRecordingSystemError(buffer, n, systemError, read);
}

bool UUFile::Write(const void* buffer, uint32_t n) {
  if (GetError() != kUUNoError) return false;
  DWORD written = 0;
  if (!WriteFile(mHandle, buffer, n, &written, nullptr)) {
    SetError(static_cast<UUStreamError>(GetLastError()));
  }
  if (written != n) SetError(kUUErrorShortWrite);
  return GetError() == kUUNoError;
}

bool UUFile::Seek(int32_t offset, int32_t origin, int32_t* newPosition) {
  if (newPosition) *newPosition = -1;
  if (GetError() != kUUNoError) return false;
  const DWORD position = SetFilePointer(mHandle, offset, nullptr, static_cast<DWORD>(origin));
  if (position == INVALID_SET_FILE_POINTER) {
    SetError(static_cast<UUStreamError>(GetLastError()));
    return false;
  }
  if (newPosition) *newPosition = static_cast<int32_t>(position);
  return true;
}
