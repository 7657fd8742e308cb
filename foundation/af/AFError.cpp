#include "foundation/af/AFError.h"

#include "foundation/al/ALCriticalSection.h"
#include "foundation/uu/UUDirectory.h"
#include "foundation/uu/UUFileSystem.h"
#include "foundation/uu/UUString.h"
#include "platform/win32/user.h"

#include <array>
#include <cstring>
#include <string>

namespace {

constexpr size_t kFileNameSize = 260;
constexpr size_t kTemplateSize = 256;
constexpr int32_t kStringSize = 256;
constexpr UINT kUnknownFileString = 426;
constexpr UINT kUnknownSystemError = 428;
// A table whose keys refer to each other in a circle must not hang the lookup.
constexpr int kMaxKeyRedirections = 64;

struct ErrorState {
  AFErrorCode code = AFE_NO_ERROR;
  DWORD systemError = 0;
  UUDirectory directory;
  char fileName[kFileNameSize] = {};
  char userText[kAFUserTextSize] = {};
};

ErrorState gState;
char gMessage[kAFMessageSize];

// Errors are raised from the main, stage and pulse threads alike.
ALCriticalSection& StateLock() {
  static ALCriticalSection lock;
  return lock;
}

class StateGuard {
 public:
  StateGuard() { StateLock().Enter(); }
  ~StateGuard() { StateLock().Leave(); }
  StateGuard(const StateGuard&) = delete;
  StateGuard& operator=(const StateGuard&) = delete;
};

bool Record(AFErrorCode code, const UUDirectory& directory, const char* fileName, DWORD systemError,
            const char* userText) {
  StateGuard guard;
  if (gState.code != AFE_NO_ERROR) return false;
  gState.code = code;
  gState.directory.Assign(directory);
  UUCopyString(fileName, gState.fileName, kFileNameSize);
  gState.systemError = systemError;
  if (userText != nullptr) UUCopyString(userText, gState.userText, kAFUserTextSize);
  return false;
}

// The kinds of file whose errors fill the catalogue, in code order.
struct FileKind {
  const char* upperName;    // in the symbolic names
  const char* description;  // in the messages
  const char* seekDescription;
};

constexpr FileKind kFileKinds[] = {
    {"PICTURE_RESOURCE", "picture resource file", "picture resource file"},
    {"SOUND_RESOURCE", "sound resource file", "sound resource file"},
    {"FILM_RESOURCE", "film resource file", "film resource file"},
    {"TEXTURE_RESOURCE", "texture resource file", "texture resource file"},
    {"MODEL_RESOURCE", "model resource file", "model resource file"},
    {"SCRIPT", "script file", "script resource file"},
};

struct FileErrorText {
  const char* suffix;
  const char* before;  // message text before the kind's description
};

constexpr FileErrorText kFileErrors[] = {
    {"NOT_FOUND", "Cannot find "},
    {"BAD_OPEN_FOR_READ", "Cannot open "},
    {"BAD_OPEN_FOR_WRITE", "Cannot create "},
    {"BAD_CLOSE", "Cannot save "},
    {"BAD_HEADER", "Bad header in "},
    {"BAD_VERSION_NUMBER", "Bad version number in "},
    {"BAD_CHECKSUM", "Bad checksum in "},
    {"BAD_READ", "Error reading "},
    {"BAD_WRITE", "Error writing "},
    {"BAD_SEEK", "Seek error on "},
};

struct Catalogue {
  std::array<std::string, AFE_ERROR_CODE_COUNT> names;
  std::array<std::string, AFE_ERROR_CODE_COUNT> templates;

  Catalogue() {
    Set(AFE_NO_ERROR, "AFE_NO_ERROR", "No error.");
    Set(AFE_BAD_CURSOR, "AFE_BAD_CURSOR", "Could not load cursor.");
    Set(AFE_FAILURE_WITHOUT_ERROR, "AFE_FAILURE_WITHOUT_ERROR", "Failed without error.");
    Set(AFE_USER_ERROR, "AFE_USER_ERROR", "User error message.");
    int code = MME_PICTURE_RESOURCE_FILE_NOT_FOUND;
    for (const FileKind& kind : kFileKinds) {
      for (const FileErrorText& error : kFileErrors) {
        const bool seek = std::strcmp(error.suffix, "BAD_SEEK") == 0;
        Set(code++, std::string("MME_") + kind.upperName + "_FILE_" + error.suffix,
            std::string(error.before) + (seek ? kind.seekDescription : kind.description) +
                " '%s'.");
      }
    }
    Set(MME_SCRIPT_FILE_WRONG_LANGUAGE, "MME_SCRIPT_FILE_WRONG_LANGUAGE",
        "Incorrect language in script file '%s'.");
  }

  void Set(int code, std::string name, std::string text) {
    names[static_cast<size_t>(code)] = std::move(name);
    templates[static_cast<size_t>(code)] = std::move(text);
  }
};

const Catalogue& TheCatalogue() {
  static const Catalogue catalogue;
  return catalogue;
}

bool IsCatalogued(AFErrorCode code) { return code >= 0 && code < AFE_ERROR_CODE_COUNT; }

// A string-table entry, or the given default when the table has none.
void LoadStringOr(UINT id, const char* fallback, char* buffer, int32_t size) {
  if (LoadStringA(nullptr, id, buffer, size) <= 0) {
    UUCopyString(fallback, buffer, size);
  }
}

// The path named in a message: the full path as the person's machine
// names it when the directory still exists and the message stays within
// its buffer, else the bare file name.
void MessagePath(const UUDirectory& directory, const char* fileName, size_t templateLength,
                 char* path) {
  char systemPath[kUUPathCapacity];
  if (directory.IsSet() && UUMakeFilePath(systemPath, directory, fileName)) {
    const DWORD length = GetHostPathNameA(systemPath, kAFMessageSize, path);
    if (length > 0 && length < kAFMessageSize && length + templateLength <= kAFMessageSize) {
      return;
    }
  }
  if (fileName != nullptr && fileName[0] != '\0') {
    UUCopyString(fileName, path, kFileNameSize);
  } else {
    LoadStringOr(kUnknownFileString, "<unknown file>", path, kStringSize);
  }
}

// Puts the path at the template's one "%s"; the path is never read as a
// format, and the result always fits the shared buffer.
void Substitute(const char* pattern, const char* path, char* out) {
  const char* marker = std::strstr(pattern, "%s");
  out[0] = '\0';
  if (marker == nullptr) {
    UUCopyString(pattern, out, kAFMessageSize);
    return;
  }
  std::string text(pattern, marker);
  text += path;
  text += marker + 2;
  UUCopyString(text.c_str(), out, kAFMessageSize);
}

}  // namespace

bool AFSetError(AFErrorCode code, const UUDirectory& directory, const char* fileName,
                DWORD systemError) {
  return Record(code, directory, fileName, systemError, nullptr);
}

bool AFSetUserError(const char* text, const UUDirectory& directory, const char* fileName,
                    DWORD systemError) {
  return Record(AFE_USER_ERROR, directory, fileName, systemError, text ? text : "");
}

bool AFSetFailureWithoutError() {
  return Record(AFE_FAILURE_WITHOUT_ERROR, UUDirectory(), "", 0, nullptr);
}

void AFClearError() {
  StateGuard guard;
  gState.code = AFE_NO_ERROR;
  gState.fileName[0] = '\0';
  gState.directory.Clear();
  gState.systemError = 0;
}

bool AFErrorPending() { return AFGetErrorCode() != AFE_NO_ERROR; }

AFErrorCode AFGetErrorCode() {
  StateGuard guard;
  return gState.code;
}

DWORD AFGetSystemErrorCode() {
  StateGuard guard;
  return gState.systemError;
}

const UUDirectory& AFGetErrorDirectory() { return gState.directory; }
const char* AFGetErrorFileName() { return gState.fileName; }

const char* AFGetErrorName(AFErrorCode code) {
  return IsCatalogued(code) ? TheCatalogue().names[static_cast<size_t>(code)].c_str() : "";
}

const char* AFFormatErrorMessage(AFErrorCode code, const UUDirectory& directory,
                                 const char* fileName) {
  if (code == AFE_USER_ERROR) {
    // The user's own text is shown as it stands: it is never a template.
    UUCopyString(gState.userText, gMessage, kAFMessageSize);
    return gMessage;
  }
  char pattern[kTemplateSize];
  UUCopyString(
      IsCatalogued(code) ? TheCatalogue().templates[static_cast<size_t>(code)].c_str() : "",
      pattern, kTemplateSize);
  char path[kAFMessageSize];
  MessagePath(directory, fileName, std::strlen(pattern), path);
  Substitute(pattern, path, gMessage);
  return gMessage;
}

const char* AFFormatSystemError(DWORD systemError) {
  gMessage[0] = '\0';
  if (systemError == 0) return gMessage;
  if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, systemError, 0, gMessage, kAFMessageSize,
                     nullptr) == 0) {
    LoadStringOr(kUnknownSystemError, "Unknown system error.", gMessage, kStringSize);
  }
  return gMessage;
}

bool AFLookupKeyedString(const char* key, int group, char* result) {
  char wanted[kStringSize];
  UUCopyString(key, wanted, kStringSize);
  result[0] = '\0';
  int redirections = 0;
  for (int index = 0;; ++index) {
    char entry[kStringSize];
    const auto id = static_cast<UINT>(group * 1000 + index);
    if (LoadStringA(nullptr, id, entry, kStringSize) <= 0) return false;
    const size_t keyLength = std::strlen(wanted);
    if (std::strncmp(entry, wanted, keyLength) != 0) continue;
    const char* rest = entry + keyLength;
    if (*rest == '=') {
      if (++redirections > kMaxKeyRedirections) return false;
      UUCopyString(rest + 1, wanted, kStringSize);
      index = -1;
      continue;
    }
    UUCopyString(*rest ? rest + 1 : rest, result, kStringSize);
    return true;
  }
}
