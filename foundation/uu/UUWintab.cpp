#include "foundation/uu/UUWintab.h"

#include <cstdlib>

namespace {

// Stands in for every entry point while the library is not loaded.
void NotLoaded() { std::abort(); }

constexpr UUWintabEntryPoints kPlaceholders = {NotLoaded, NotLoaded, NotLoaded, NotLoaded,
                                               NotLoaded, NotLoaded, NotLoaded};

HMODULE gLibrary = nullptr;
UUWintabEntryPoints gEntryPoints = kPlaceholders;

FARPROC Ordinal(int ordinal) {
  return GetProcAddress(gLibrary, reinterpret_cast<LPCSTR>(static_cast<uintptr_t>(ordinal)));
}

}  // namespace

bool UUWintabLoad() {
  gLibrary = LoadLibraryA("WINTAB32.DLL");
  if (gLibrary == nullptr) return false;
  gEntryPoints = {Ordinal(20), Ordinal(21), Ordinal(22), Ordinal(24),
                  Ordinal(40), Ordinal(41), Ordinal(85)};
  return true;
}

bool UUWintabIsLoaded() { return gLibrary != nullptr; }

void UUWintabUnload() {
  if (gLibrary == nullptr) return;
  FreeLibrary(gLibrary);
  gLibrary = nullptr;
  gEntryPoints = kPlaceholders;
}

const UUWintabEntryPoints& UUWintabGetEntryPoints() { return gEntryPoints; }
