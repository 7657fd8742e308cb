#include "foundation/uu/UUDirectory.h"

#include <cctype>
#include <cstring>

namespace {

// Longest text Set takes: a backslash and the terminator must still fit.
constexpr size_t kMaxSetLength = kUUPathCapacity - 2;

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The index of the backslash ending a server or share name that starts at
// start, or -1 when a colon or the end comes first or the name is empty.
int32_t EndOfName(const char* path, int32_t start) {
  int32_t i = start;
  while (path[i] != '\\') {
    if (path[i] == '\0' || path[i] == ':') return -1;
    ++i;
  }
  return i > start ? i : -1;
}

}  // namespace

int32_t UUDirectoryRootLength(const char* path) {
  if (path == nullptr || path[0] == '\0') return -1;
  if (IsAsciiLetter(path[0]) && path[1] == ':' && path[2] == '\\') return 3;
  if (path[0] != '\\' || path[1] != '\\' || path[2] == '\\') return -1;
  const int32_t serverEnd = EndOfName(path, 2);
  if (serverEnd < 0 || path[serverEnd + 1] == '\\') return -1;
  const int32_t shareEnd = EndOfName(path, serverEnd + 1);
  return shareEnd < 0 ? -1 : shareEnd + 1;
}

UUDirectory::UUDirectory() { Clear(); }

UUDirectory::UUDirectory(const char* text) { Set(text); }

int32_t UUDirectory::Set(const char* text) {
  const size_t length = text == nullptr ? 0 : ::strnlen(text, kMaxSetLength + 1);
  if (length == 0 || length > kMaxSetLength) {
    Clear();
    return -1;
  }
  std::memmove(mPath, text, length);
  mPath[length] = '\0';
  if (mPath[length - 1] != '\\') {
    mPath[length] = '\\';
    mPath[length + 1] = '\0';
  }
  const int32_t root = UUDirectoryRootLength(mPath);
  if (root < 0) Clear();
  return root;
}

int32_t UUDirectory::Normalize() {
  char copy[kUUPathCapacity];
  std::memcpy(copy, mPath, sizeof copy);
  copy[kUUPathCapacity - 1] = '\0';
  return Set(copy);
}

int32_t UUDirectory::RootLength() const { return UUDirectoryRootLength(mPath); }

void UUDirectory::Clear() { std::memset(mPath, 0, sizeof mPath); }

bool UUDirectory::IsSet() const { return mPath[0] != '\0'; }

void UUDirectory::Assign(const UUDirectory& other) {
  std::memcpy(mPath, other.mPath, sizeof mPath);
}

bool UUSameDirectory(const UUDirectory& a, const UUDirectory& b) {
  const char* p = a.Text();
  const char* q = b.Text();
  for (; *p != '\0' && *q != '\0'; ++p, ++q) {
    if (std::tolower(static_cast<unsigned char>(*p)) !=
        std::tolower(static_cast<unsigned char>(*q))) {
      return false;
    }
  }
  return *p == *q;
}
