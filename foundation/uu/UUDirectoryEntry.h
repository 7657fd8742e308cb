#pragma once
// Enumerating the entries of a directory.

#include "foundation/uu/UUDirectory.h"

#include <cstdint>

struct UUDirectoryEntry {
  char mName[kUUPathCapacity];
  bool mIsFile;
  int32_t mSize;       // low 32 bits of a file's size; -1 for directories
  uint32_t mModified;  // DOS date << 16 | DOS time of the last write; 0 for directories
};

class UUDirectoryEntryProcessor {
 public:
  virtual ~UUDirectoryEntryProcessor() = default;
  // false stops the enumeration.
  virtual bool ProcessEntry(const UUDirectoryEntry& entry) = 0;
};

// Hands every entry but "." and ".." to the processor, in the order the
// file system gives them; false when the directory is missing or the
// processor stopped.
bool UUForEachDirectoryEntry(const UUDirectory& directory, UUDirectoryEntryProcessor& processor);
