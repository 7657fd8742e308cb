// Modules loaded at run time, from the layer's table of modules; every
// other name is a missing library, as on a machine without it.

#include "platform/directx/DirectXObjects.h"
#include "platform/directx/SoundMixer.h"
#include "platform/opengl/OpenGLLibrary.h"
#include "platform/quicktime/QuickTimeLibrary.h"
#include "platform/win32/kernel.h"

#include <strings.h>

#include <cstdlib>
#include <cstring>

namespace {

struct ModuleEntry {
  const char* name;
  bool (*open)();
  FARPROC (*lookUp)(const char* name);
};

const ModuleEntry kModules[] = {
    {"OPENGL32.DLL", &vpl::platform::OpenOpenGLLibrary, &vpl::platform::LookUpOpenGLFunction},
    {"DDRAW.DLL", &vpl::platform::OpenDirectDrawLibrary, &vpl::platform::LookUpDirectDrawFunction},
    {"DSOUND.DLL", &vpl::platform::OpenDirectSoundLibrary,
     &vpl::platform::LookUpDirectSoundFunction},
    {"qtmlClient.dll", &vpl::platform::OpenQuickTimeLibrary,
     &vpl::platform::LookUpQuickTimeFunction},
};

const ModuleEntry* EntryOf(HMODULE module) {
  for (const ModuleEntry& entry : kModules) {
    if (module == reinterpret_cast<HMODULE>(const_cast<ModuleEntry*>(&entry))) return &entry;
  }
  return nullptr;
}

// VPL3D_MISSING_MODULES lists module names, separated by ';', that answer as
// missing, so a run can be tried as on a machine without them (the program
// falls back to Direct3D when OpenGL is absent).
bool IsMissingByChoice(const char* name) {
  const char* list = std::getenv("VPL3D_MISSING_MODULES");
  const size_t length = std::strlen(name);
  for (const char* item = list; item != nullptr && *item != '\0';) {
    const char* end = std::strchr(item, ';');
    const size_t itemLength = end != nullptr ? static_cast<size_t>(end - item) : std::strlen(item);
    if (itemLength == length && strncasecmp(item, name, length) == 0) return true;
    item = end != nullptr ? end + 1 : nullptr;
  }
  return false;
}

// A module loaded by its full path is the module of its last component.
const char* ModuleName(LPCSTR path) {
  const char* name = path;
  for (const char* c = path; *c != '\0'; ++c) {
    if (*c == '\\' || *c == '/') name = c + 1;
  }
  return name;
}

// Ordinals (a name pointer below 0x10000) name nothing in our modules.
bool IsOrdinal(LPCSTR name) { return reinterpret_cast<uintptr_t>(name) < 0x10000; }

}  // namespace

HMODULE LoadLibraryA(LPCSTR name) {
  for (const ModuleEntry& entry : kModules) {
    if (name != nullptr && strcasecmp(ModuleName(name), entry.name) == 0 &&
        !IsMissingByChoice(entry.name) && entry.open()) {
      return reinterpret_cast<HMODULE>(const_cast<ModuleEntry*>(&entry));
    }
  }
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
  const ModuleEntry* entry = EntryOf(module);
  if (entry == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  FARPROC function = IsOrdinal(name) ? nullptr : entry->lookUp(name);
  if (function == nullptr) SetLastError(ERROR_PROC_NOT_FOUND);
  return function;
}

BOOL FreeLibrary(HMODULE module) {
  if (EntryOf(module) != nullptr) return TRUE;
  SetLastError(ERROR_INVALID_HANDLE);
  return FALSE;
}
