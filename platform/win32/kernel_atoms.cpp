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

// Integer atoms are named by MAKEINTATOM values (pointers below 0x10000)
// or by "#n" texts. Answers whether the name is of that form, and in atom
// its value: 0 for values no integer atom has (0, and 0xC000 up, where the
// string atoms are).
bool IsIntegerAtomName(LPCSTR text, ATOM& atom) {
  const auto value = reinterpret_cast<uintptr_t>(text);
  if ((value >> 16) == 0) {
    atom = value < kFirstStringAtom ? static_cast<ATOM>(value) : 0;
    return true;
  }
  if (text[0] != '#' || text[1] == '\0') return false;
  char* end = nullptr;
  const unsigned long number = std::strtoul(text + 1, &end, 10);
  if (*end != '\0' || number == 0 || number >= kFirstStringAtom) return false;
  atom = static_cast<ATOM>(number);
  return true;
}

// The answer for an integer atom name: MAKEINTATOM(0) gives 0 and leaves
// the last error as it was, other values no integer atom has fail.
ATOM IntegerAtomResult(LPCSTR text, ATOM atom) {
  if (atom == 0 && text != nullptr) SetLastError(ERROR_INVALID_PARAMETER);
  return atom;
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
  ATOM integer = 0;
  if (IsIntegerAtomName(text, integer)) return IntegerAtomResult(text, integer);
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
  ATOM integer = 0;
  if (IsIntegerAtomName(text, integer)) return IntegerAtomResult(text, integer);
  std::lock_guard lock(gAtomMutex);
  ATOM atom = FindLocked(text);
  if (atom == 0) SetLastError(ERROR_FILE_NOT_FOUND);
  return atom;
}

UINT GlobalGetAtomNameA(ATOM atom, LPSTR buffer, int size) {
  if (buffer == nullptr || size <= 0) return 0;
  if (atom == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string text;
  if (atom < kFirstStringAtom) {
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
  // A name that does not fit is cut, and the call fails.
  const size_t length = std::min(text.size(), static_cast<size_t>(size - 1));
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
  if (length < text.size()) {
    SetLastError(ERROR_MORE_DATA);
    return 0;
  }
  return static_cast<UINT>(length);
}
