#pragma once
// Text consoles for diagnostic output: a log file and a C run-time stream.

#include "foundation/uu/UUFile.h"

#include <cstdio>

class UUConsole {
 public:
  virtual ~UUConsole() = default;
  virtual void Write(const char* text) = 0;
};

// Formats into 1000 bytes (at most 999 characters; a longer text is cut)
// and writes the result.
void UUConsolePrintf(UUConsole& console, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// Writes to a file it keeps open for its lifetime. A file that failed to
// open keeps its error and ignores writes.
class UULogFileConsole : public UUConsole {
 public:
  // keep: the existing contents stay and writing continues at their end;
  // otherwise the file is created empty.
  UULogFileConsole(const UUDirectory& directory, const char* name, const UUFileOptions& options,
                   bool keep);
  ~UULogFileConsole() override;

  void Write(const char* text) override;
  UUFile& GetFile() { return mFile; }

 private:
  UUFile mFile;
};

// Writes to a C run-time stream it does not own; nothing when it is null.
class UUStandardFileIOConsole : public UUConsole {
 public:
  explicit UUStandardFileIOConsole(std::FILE* stream) : mStream(stream) {}
  void Write(const char* text) override;

 protected:
  std::FILE* mStream;
};
