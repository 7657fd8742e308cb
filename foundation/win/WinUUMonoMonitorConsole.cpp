#include "foundation/win/WinUUMonoMonitorConsole.h"

// No monochrome monitor device exists on this platform, and opening "MONO"
// in an appending mode would create a file of that name instead.
WinUUMonoMonitorConsole::WinUUMonoMonitorConsole() : UUStandardFileIOConsole(nullptr) {}

WinUUMonoMonitorConsole::~WinUUMonoMonitorConsole() {
  if (mStream != nullptr) std::fclose(mStream);
  mStream = nullptr;
}

void WinUUMonoMonitorConsole::Write(const char* text) {
  if (mStream == nullptr) return;
  std::fputs(text, mStream);
  std::fflush(mStream);
}
