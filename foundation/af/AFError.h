#pragma once
// The process-wide error state: the first error raised since the last clear,
// with the directory and file it concerns and the operating system's code.
// Every setter answers false, so a failing operation can end with
// `return AFSetError(...)`.

#include "platform/win32/kernel.h"

#include <cstdint>

class UUDirectory;

// The ten errors every resource-file kind has, in this order; a kind's code
// is its first code plus the offset.
#define AF_FILE_ERROR_CODES(prefix)                                                            \
  prefix##NOT_FOUND, prefix##BAD_OPEN_FOR_READ, prefix##BAD_OPEN_FOR_WRITE, prefix##BAD_CLOSE, \
      prefix##BAD_HEADER, prefix##BAD_VERSION_NUMBER, prefix##BAD_CHECKSUM, prefix##BAD_READ,  \
      prefix##BAD_WRITE, prefix##BAD_SEEK

enum AFErrorCode : int32_t {
  AFE_NO_ERROR,
  AFE_BAD_CURSOR,
  AFE_FAILURE_WITHOUT_ERROR,
  AFE_USER_ERROR,
  AF_FILE_ERROR_CODES(MME_PICTURE_RESOURCE_FILE_),
  AF_FILE_ERROR_CODES(MME_SOUND_RESOURCE_FILE_),
  AF_FILE_ERROR_CODES(MME_FILM_RESOURCE_FILE_),
  AF_FILE_ERROR_CODES(MME_TEXTURE_RESOURCE_FILE_),
  AF_FILE_ERROR_CODES(MME_MODEL_RESOURCE_FILE_),
  AF_FILE_ERROR_CODES(MME_SCRIPT_FILE_),
  MME_SCRIPT_FILE_WRONG_LANGUAGE,
  AFE_ERROR_CODE_COUNT
};

#undef AF_FILE_ERROR_CODES

// Offsets of the ten file errors within a kind's block.
enum AFFileErrorOffset : int32_t {
  AFO_NOT_FOUND,
  AFO_BAD_OPEN_FOR_READ,
  AFO_BAD_OPEN_FOR_WRITE,
  AFO_BAD_CLOSE,
  AFO_BAD_HEADER,
  AFO_BAD_VERSION_NUMBER,
  AFO_BAD_CHECKSUM,
  AFO_BAD_READ,
  AFO_BAD_WRITE,
  AFO_BAD_SEEK
};

inline AFErrorCode AFFileError(AFErrorCode kindNotFound, AFFileErrorOffset offset) {
  return static_cast<AFErrorCode>(static_cast<int32_t>(kindNotFound) +
                                  static_cast<int32_t>(offset));
}

constexpr size_t kAFUserTextSize = 2048;
constexpr size_t kAFMessageSize = 1024;

bool AFSetError(AFErrorCode code, const UUDirectory& directory, const char* fileName,
                DWORD systemError);
// The text is cut to what the 2048-character buffer holds.
bool AFSetUserError(const char* text, const UUDirectory& directory, const char* fileName,
                    DWORD systemError);
bool AFSetFailureWithoutError();
void AFClearError();

bool AFErrorPending();
AFErrorCode AFGetErrorCode();
DWORD AFGetSystemErrorCode();
const UUDirectory& AFGetErrorDirectory();
const char* AFGetErrorFileName();

const char* AFGetErrorName(AFErrorCode code);
// Both answer one shared static buffer: copy the first before asking again.
const char* AFFormatErrorMessage(AFErrorCode code, const UUDirectory& directory,
                                 const char* fileName);
const char* AFFormatSystemError(DWORD systemError);

// Finds the string of a string-table group that begins with the key and
// answers what follows the key's separator; a string whose separator is "="
// names another key to look for.
bool AFLookupKeyedString(const char* key, int group, char* result);
