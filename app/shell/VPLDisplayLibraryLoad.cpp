#include "app/shell/VPLDisplayLibraryLoad.h"

VPLDisplayLibraryLoad::~VPLDisplayLibraryLoad() {
  if (mModule != nullptr) FreeLibrary(mModule);
}

void VPLDisplayLibraryLoad::Run() { mModule = LoadLibraryA(mLibrary); }
