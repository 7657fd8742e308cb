#pragma once
// The console of a monochrome debug monitor: the "MONO" device. Where the
// device is not installed every write does nothing; a file of that name is
// never created.

#include "foundation/uu/UUConsole.h"

class WinUUMonoMonitorConsole : public UUStandardFileIOConsole {
 public:
  WinUUMonoMonitorConsole();
  ~WinUUMonoMonitorConsole() override;
  WinUUMonoMonitorConsole(const WinUUMonoMonitorConsole&) = delete;
  WinUUMonoMonitorConsole& operator=(const WinUUMonoMonitorConsole&) = delete;

  void Write(const char* text) override;
};
