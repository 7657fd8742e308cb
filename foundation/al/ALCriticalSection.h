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

// Holds a critical section from its making to the end of its scope, so that
// no return path can leave the section entered.
class ALCriticalSectionLock {
 public:
  explicit ALCriticalSectionLock(ALCriticalSection& section) : mSection(section) {
    mSection.Enter();
  }
  ~ALCriticalSectionLock() { mSection.Leave(); }
  ALCriticalSectionLock(const ALCriticalSectionLock&) = delete;
  ALCriticalSectionLock& operator=(const ALCriticalSectionLock&) = delete;

 private:
  ALCriticalSection& mSection;
};
