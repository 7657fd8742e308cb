// The global atom table: counted texts compared without regard to case.

#include "platform/win32/kernel.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

namespace {

constexpr ATOM kFirstStringAtom = 0xC000;

struct AtomEntry {
  std::string text;
  int count;
};

std::mutex gAtomMutex;
std::map<ATOM, AtomEntry>& Atoms() {
  static auto* atoms = new std::map<ATOM, AtomEntry>;
  return *atoms;
}

bool SameText(const std::string& a, const char* b) {
  if (a.size() != std::strlen(b)) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// "#n" (and MAKEINTRESOURCE names) give integer atoms; 0 when not one.
ATOM IntegerAtom(LPCSTR text) {
  if ((reinterpret_cast<uintptr_t>(text) >> 16) == 0)
    return static_cast<ATOM>(reinterpret_cast<uintptr_t>(text));
  if (text[0] != '#' || text[1] == '\0') return 0;
  char* end = nullptr;
  unsigned long value = std::strtoul(text + 1, &end, 10);
  return (*end == '\0' && value > 0 && value < kFirstStringAtom) ? static_cast<ATOM>(value) : 0;
}

ATOM FindLocked(LPCSTR text) {
  for (const auto& [atom, entry] : Atoms()) {
    if (SameText(entry.text, text)) return atom;
  }
  return 0;
}

}  // namespace

HMODULE GetModuleHandleA(LPCSTR name) {
  static char programModule;
  if (name != nullptr) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<HMODULE>(&programModule);
}

ATOM GlobalAddAtomA(LPCSTR text) {
  if (text == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (ATOM integer = IntegerAtom(text)) return integer;
  if (std::strlen(text) > 255) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::lock_guard lock(gAtomMutex);
  if (ATOM atom = FindLocked(text)) {
    ++Atoms()[atom].count;
    return atom;
  }
  for (ATOM atom = kFirstStringAtom; atom != 0; ++atom) {
    if (!Atoms().contains(atom)) {
      Atoms()[atom] = AtomEntry{text, 1};
      return atom;
    }
  }
  SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return 0;
}

ATOM GlobalDeleteAtom(ATOM atom) {
  if (atom < kFirstStringAtom) return 0;
  std::lock_guard lock(gAtomMutex);
  auto found = Atoms().find(atom);
  if (found == Atoms().end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return atom;
  }
  if (--found->second.count == 0) Atoms().erase(found);
  return 0;
}

ATOM GlobalFindAtomA(LPCSTR text) {
  if (text == nullptr) return 0;
  if (ATOM integer = IntegerAtom(text)) return integer;
  std::lock_guard lock(gAtomMutex);
  ATOM atom = FindLocked(text);
  if (atom == 0) SetLastError(ERROR_FILE_NOT_FOUND);
  return atom;
}

UINT GlobalGetAtomNameA(ATOM atom, LPSTR buffer, int size) {
  if (buffer == nullptr || size <= 0) return 0;
  std::string text;
  if (atom != 0 && atom < kFirstStringAtom) {
    text = "#" + std::to_string(atom);
  } else {
    std::lock_guard lock(gAtomMutex);
    auto found = Atoms().find(atom);
    if (found == Atoms().end()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return 0;
    }
    text = found->second.text;
  }
  const size_t length = std::min(text.size(), static_cast<size_t>(size - 1));
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
  return static_cast<UINT>(length);
}
