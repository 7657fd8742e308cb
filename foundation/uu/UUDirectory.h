#pragma once
// A directory path of at most 259 characters in a 260-byte buffer: either
// empty, or a path with a valid drive or share root ending in a backslash.

#include <cstdint>

// The size of every path buffer of the system.
constexpr int32_t kUUPathCapacity = 260;

// The length of the path's root: 3 for a drive ("C:\"), the index past the
// share's backslash for a share ("\\server\share\"); -1 when invalid.
int32_t UUDirectoryRootLength(const char* path);

class UUDirectory {
 public:
  UUDirectory();
  explicit UUDirectory(const char* text);

  // Takes the text with a backslash appended when it lacks one; a text
  // without a valid root, or longer than 258 characters, empties the
  // directory. Answers the root length, -1 when emptied.
  int32_t Set(const char* text);
  int32_t Normalize();
  int32_t RootLength() const;
  void Clear();
  bool IsSet() const;
  void Assign(const UUDirectory& other);

  const char* Text() const { return mPath; }

 private:
  char mPath[kUUPathCapacity];
};

// Equal without regard to case; an empty directory equals only another
// empty one.
bool UUSameDirectory(const UUDirectory& a, const UUDirectory& b);
