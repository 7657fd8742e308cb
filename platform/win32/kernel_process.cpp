// The process's command line.

#include "platform/win32/kernel.h"
#include "platform/win32/testhooks.h"

#include <cstring>
#include <mutex>
#include <string>

namespace {

std::mutex gCommandLineMutex;
std::string gCommandLine;

void AppendArgument(std::string& line, const char* argument) {
  if (!line.empty()) line += ' ';
  const bool quote = argument[0] == '\0' || std::strpbrk(argument, " \t") != nullptr;
  if (quote) line += '"';
  line += argument;
  if (quote) line += '"';
}

}  // namespace

namespace vpl::platform {

void SetCommandLine(int argumentCount, const char* const* arguments) {
  std::string line;
  for (int i = 0; i < argumentCount; ++i) AppendArgument(line, arguments[i]);
  std::lock_guard lock(gCommandLineMutex);
  gCommandLine = std::move(line);
}

}  // namespace vpl::platform

LPSTR GetCommandLineA() {
  std::lock_guard lock(gCommandLineMutex);
  return gCommandLine.data();
}
