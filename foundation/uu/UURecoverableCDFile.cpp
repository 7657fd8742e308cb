#include "foundation/uu/UURecoverableCDFile.h"

#include "platform/win32/user.h"

#include <cstring>

namespace {

char gMessage[256] = {};
char gCaption[256] = {};
bool gMessagesLoaded = false;

bool IsDeviceOrMediaError(DWORD code) {
  switch (code) {
    case ERROR_NOT_READY:
    case ERROR_CRC:
    case ERROR_SEEK:
    case ERROR_READ_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_WRONG_DISK:
    case ERROR_MEDIA_CHANGED:
    case ERROR_NO_MEDIA_IN_DRIVE:
    case ERROR_IO_DEVICE:
      return true;
    default:
      return false;
  }
}

}  // namespace

void UULoadCDMessages() {
  if (gMessagesLoaded) return;
  gMessagesLoaded = true;
  if (gMessage[0] == '\0') UULoadStringItemWithDefault(375, 0, gMessage, "Reinsert the CD");
  if (gCaption[0] == '\0') UULoadStringItemWithDefault(375, 1, gCaption, "Missing CD");
}

UURecoverableCDFile::UURecoverableCDFile() { CopyMessages(); }

UURecoverableCDFile::UURecoverableCDFile(const UUDirectory& directory, const char* name)
    : UUFile(directory, name) {
  CopyMessages();
}

void UURecoverableCDFile::CopyMessages() {
  UULoadCDMessages();
  std::memcpy(mMessage, gMessage, sizeof mMessage);
  std::memcpy(mCaption, gCaption, sizeof mCaption);
}

bool UURecoverableCDFile::AskRetry() {
  return MessageBoxA(nullptr, mMessage, mCaption, MB_SYSTEMMODAL | MB_ICONERROR) == IDOK;
}

// Each retry starts again where the request started, so bytes a failed
// attempt delivered are not skipped. The start is worked out only when a
// read fails, so that a good read asks nothing but the read.
bool UURecoverableCDFile::Read(void* buffer, uint32_t n) {
  for (;;) {
    DWORD systemError = ERROR_SUCCESS;
    DWORD read = 0;
    if (ReadRecordingSystemError(buffer, n, systemError, read)) return true;
    if (!IsDeviceOrMediaError(systemError)) return false;
    const DWORD reached = SetFilePointer(Handle(), 0, nullptr, FILE_CURRENT);
    if (reached == INVALID_SET_FILE_POINTER || !AskRetry()) return false;
    SetError(kUUNoError);
    if (!Seek(static_cast<int32_t>(reached - read), kUUSeekFromStart, nullptr)) return false;
  }
}
