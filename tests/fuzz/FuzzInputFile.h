#pragma once
// The readers under fuzzing open their files by name: each fuzzer writes
// its input as a file of its own name in the temporary directory, with the
// error state cleared, and reads it from there.

#include "foundation/af/AFError.h"
#include "foundation/uu/UUFile.h"
#include "foundation/uu/UUFileSystem.h"

#include <cstddef>
#include <cstdint>

inline UUDirectory WriteFuzzInputFile(const char* name, const uint8_t* data, size_t size) {
  UUDirectory directory;
  UUGetTempDirectory(directory);
  {
    UUFile file(directory, name, kUUFileCreate, UUFileOptions());
    file.Write(data, static_cast<uint32_t>(size));
  }
  AFClearError();
  return directory;
}
