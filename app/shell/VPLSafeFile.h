#pragma once
// A file written whole under a hidden temporary name in its folder,
// flushed, and only then given its name: whatever stops the program
// midway, the name holds the old file or the new one, never half of it.
// Temporary names are ".saving <process> <number>"; folder scans skip and
// remove exactly those, never a hidden file of the user's own.

#include "foundation/uu/UUDirectory.h"
#include "foundation/uu/UUFile.h"

class VPLSafeFile {
 public:
  // Creates the temporary file; Stream() fails its writes when it could not.
  explicit VPLSafeFile(const UUDirectory& directory);
  // A file never given its name is deleted.
  ~VPLSafeFile();
  VPLSafeFile(const VPLSafeFile&) = delete;
  VPLSafeFile& operator=(const VPLSafeFile&) = delete;

  UUFile& Stream() { return mFile; }
  // Flushes, closes and renames the file to name, replacing a file there.
  bool Replace(const char* name);
  // Flushes, closes and renames the file to the first free name of
  // "<word> n", n counting from 1, into name (260 bytes); a name taken
  // by another writer in the meantime makes it try the next.
  bool TakeFreeName(const char* word, char* name);

  // Whether a name found in a folder is one of our temporary files.
  static bool IsTemporaryName(const char* name);

 private:
  bool Finish();
  bool MoveTo(const char* name, DWORD flags);

  UUDirectory mDirectory;
  char mName[kUUPathCapacity] = {};
  UUFile mFile;
  bool mNamed = false;
};

// The first n from first on for which "<word> n" names no file or folder
// in directory, its name written into name (260 bytes); 0 when the name
// would not fit.
int32_t VPLFirstFreeNumber(const UUDirectory& directory, const char* word, int32_t first,
                           char* name);
// "<word> n" into name (260 bytes); false when it would not fit.
bool VPLNumberedName(const char* word, int32_t n, char* name);
