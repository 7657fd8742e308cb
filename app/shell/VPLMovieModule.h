#pragma once
// The movie module the exports make movies with, "qtmlClient.dll": loaded
// and started at entry, stopped and freed at the end. Only a module whose
// three start calls all succeeded makes movies; whatever did start is
// stopped again, in the reverse order.

#include "platform/win32/kernel.h"

class VPLMovieModule {
 public:
  VPLMovieModule() = default;
  ~VPLMovieModule() { Stop(); }
  VPLMovieModule(const VPLMovieModule&) = delete;
  VPLMovieModule& operator=(const VPLMovieModule&) = delete;

  // Loads the module and starts it; at the first call that fails, message
  // 112 is shown once and the start ends. True when movies can be made.
  bool Start();
  // Ends what started and frees the module; safe when nothing started.
  void Stop();

 private:
  bool StartCalls();

  HMODULE mModule = nullptr;
  bool mInitialized = false;
  bool mEntered = false;
};
