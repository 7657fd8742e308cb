#pragma once
// Loads the library of a 3D driver on a thread of its own, so that the
// driver made later finds it loaded: the first load of a 3D library reads
// and links the whole drawing stack, which the child would otherwise wait
// for between the intro and the creation screen. The library stays loaded
// until the object goes; its owner waits with WaitForExit before using the
// driver and before deleting the object.

#include "foundation/al/ALThread.h"

class VPLDisplayLibraryLoad : public ALUserThread {
 public:
  explicit VPLDisplayLibraryLoad(const char* library) : mLibrary(library) {}
  ~VPLDisplayLibraryLoad() override;

  void Run() override;

 private:
  const char* mLibrary;
  HMODULE mModule = nullptr;
};
