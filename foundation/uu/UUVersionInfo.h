#pragma once
// The texts of a file's version resource, in the file's first translation,
// and the three texts the program reads of its own version.

#include "foundation/al/ALAllocator.h"
#include "foundation/uu/UUDirectory.h"

#include <cstdint>

class UUVersionInfo {
 public:
  // Reads the version resource of directory + file name into a block from
  // the allocator (the C run time when null; the allocation may fail). A
  // file without a version resource or a translation gives an object whose
  // queries answer false.
  UUVersionInfo(const UUDirectory& directory, const char* fileName, ALAllocator* allocator);
  ~UUVersionInfo();
  UUVersionInfo(const UUVersionInfo&) = delete;
  UUVersionInfo& operator=(const UUVersionInfo&) = delete;

  // The text of a version string ("FileVersion"...) into a buffer of
  // kUUStringCapacity bytes; false and an empty text when it is absent.
  bool Query(const char* key, char* text) const;

 private:
  // The first translation, as 8 hexadecimal digits (language, code page).
  void ReadTranslation();

  bool mValid = false;
  void* mData = nullptr;
  uint32_t mHandle = 0;
  char mTranslation[9] = {};
};

// The program's own version texts, into buffers of kUUStringCapacity
// bytes; false and an empty text when absent.
bool UUGetFileVersionText(char* text);
bool UUGetVersionDescription(char* text);
bool UUGetVersionComments(char* text);
