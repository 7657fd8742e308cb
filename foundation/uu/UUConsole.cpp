#include "foundation/uu/UUConsole.h"

#include <cstdarg>
#include <cstring>

namespace {

constexpr size_t kPrintfBuffer = 1000;

}  // namespace

void UUConsolePrintf(UUConsole& console, const char* format, ...) {
  char text[kPrintfBuffer];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  console.Write(text);
}

UULogFileConsole::UULogFileConsole(const UUDirectory& directory, const char* name,
                                   const UUFileOptions& options, bool keep) {
  mFile.Open(directory, name, keep ? kUUFileOpenOrCreate : kUUFileCreate, options);
  // A kept log grows: new lines go after what it already holds.
  if (keep) mFile.Seek(0, kUUSeekFromEnd, nullptr);
}

UULogFileConsole::~UULogFileConsole() {
  if (mFile.IsOpen()) mFile.Close();
}

void UULogFileConsole::Write(const char* text) {
  mFile.Write(text, static_cast<uint32_t>(std::strlen(text)));
}

void UUStandardFileIOConsole::Write(const char* text) {
  if (mStream != nullptr) std::fputs(text, mStream);
}
