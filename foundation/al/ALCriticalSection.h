#pragma once

#include "platform/win32/kernel.h"

// A recursive lock: the thread that holds it may enter again and must leave
// as often.
class ALCriticalSection {
 public:
  ALCriticalSection() { InitializeCriticalSection(&mSection); }
  ~ALCriticalSection() { DeleteCriticalSection(&mSection); }
  ALCriticalSection(const ALCriticalSection&) = delete;
  ALCriticalSection& operator=(const ALCriticalSection&) = delete;

  void Enter() { EnterCriticalSection(&mSection); }
  void Leave() { LeaveCriticalSection(&mSection); }

 private:
  CRITICAL_SECTION mSection;
};
