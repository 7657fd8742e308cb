#pragma once
// A random-access stream over an operating-system file named by a directory
// and a file name. Failed calls record the system's error code; a short read
// records 38 and a short write 29.

#include <cstdint>

#include "foundation/uu/UUDirectory.h"
#include "foundation/uu/UURandomAccessStream.h"
#include "platform/win32/kernel.h"

// Carries nothing; passed as the last argument of opening.
struct UUFileOptions {};

// 0 reads an existing file (shared for reading); 1 creates it empty; any
// other value opens it or creates it, keeping its contents. Both writing
// modes read too and share nothing.
enum UUFileMode : int32_t { kUUFileRead = 0, kUUFileCreate = 1, kUUFileOpenOrCreate = 2 };

class UUFile : public UUStandardRandomAccessStream {
 public:
  UUFile() = default;
  UUFile(const UUDirectory& directory, const char* name);
  UUFile(const UUDirectory& directory, const char* name, int32_t mode,
         const UUFileOptions& options);
  ~UUFile() override;
  UUFile(const UUFile&) = delete;
  UUFile& operator=(const UUFile&) = delete;

  // Clears the error first; a file still open is closed before.
  bool Open(const UUDirectory& directory, const char* name, int32_t mode,
            const UUFileOptions& options);
  // Closes the handle whatever the state; a failure becomes the error.
  bool Close();
  // Ends the file at the current position.
  bool Truncate();
  // Puts what was written on the disk before answering.
  bool FlushToDisk();
  bool IsOpen() const { return mOpen; }
  bool IsReadOnly() const { return mReadOnly; }

  bool Read(void* buffer, uint32_t n) override;
  bool Write(const void* buffer, uint32_t n) override;
  bool Seek(int32_t offset, int32_t origin, int32_t* newPosition) override;

 protected:
  // One ReadFile, recorded as Read records it; systemError receives the
  // call's own error code (0 when the call succeeded), read the bytes it
  // delivered.
  bool ReadRecordingSystemError(void* buffer, uint32_t n, DWORD& systemError, DWORD& read);
  HANDLE Handle() const { return mHandle; }

 private:
  HANDLE mHandle = INVALID_HANDLE_VALUE;
  bool mOpen = false;
  bool mReadOnly = true;
};
